// token: splits English text on standard input into word tokens.
//
//   token       inserts a blank at every token boundary
//   token -w    writes every token as <w s='START' e='END'>TEXT</w>
//
// Any arguments other than exactly "-w" select the first form.
#include <cstring>

#include "token/byte_stream.h"
#include "token/scanner.h"

int main(int argc, char** argv) {
  using lorvan::token::TokenScanner;
  bool spans = argc == 2 && std::strcmp(argv[1], "-w") == 0;
  lorvan::token::FdReader in(0);
  lorvan::token::FdWriter out(1);
  lorvan::token::FdWriter err(2);
  TokenScanner scanner(in, out, err, spans ? TokenScanner::Mode::kSpans : TokenScanner::Mode::kBlanks);
  return scanner.run();
}
