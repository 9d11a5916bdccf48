// Byte classes of the word tokenizer's rules.  Every predicate takes a byte
// as InputWindow::at() returns it, so -1 (no byte) belongs to no class.
#ifndef LORVAN_TOOLS_TOKEN_CHAR_CLASS_H_
#define LORVAN_TOOLS_TOKEN_CHAR_CLASS_H_

namespace lorvan::token {

// Blank, tab, newline, vertical tab, form feed, carriage return.
constexpr bool is_ws(int c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Any byte that is not white space.
constexpr bool is_non_ws(int c) { return c >= 0 && !is_ws(c); }

// ASCII letters only: bytes of 128 and above are never letters.
constexpr bool is_letter(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr bool is_alnum(int c) {
  return is_letter(c) || (c >= '0' && c <= '9');
}

// Closing punctuation: ! " % ) , / : ; ? ] |
constexpr bool is_close(int c) {
  switch (c) {
    case '!': case '"': case '%': case ')': case ',': case '/':
    case ':': case ';': case '?': case ']': case '|':
      return true;
    default:
      return false;
  }
}

// The pound sign in Latin-1.
constexpr int kPoundSign = 163;

}  // namespace lorvan::token

#endif  // LORVAN_TOOLS_TOKEN_CHAR_CLASS_H_
