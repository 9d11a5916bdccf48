// Regular expressions: compile a pattern once, then search texts with it and
// build substitution texts from the last match.
//
// Syntax (bytes, case-sensitive; bytes of 128 and above are ordinary):
//   x|y     alternation            (x)   grouping, numbered 1-9 left to right
//   x* x+ x?  zero-or-more, one-or-more, optional (greedy)
//   .       any byte               [abc] [a-z] [^a-z]  bracket expressions
//   ^ $     start / end of text    \c    the byte c taken literally
// Inside brackets ']' or '-' right after '[' or '[^' is literal, as is a '-'
// just before the closing ']'; backslash has no special meaning there.  A
// range starts at the byte written before its '-' ([a-c-e] is [a-e]); one
// that runs backwards ([b-a]) is an error.  Brackets never match the end of
// the text.
//
// regexec() returns the leftmost match; among matches starting there it
// takes the first one a depth-first search finds (alternatives left to
// right, repetitions longest first), not the longest one.  Matching can take
// exponential time on pathological patterns, but it never recurses on the
// machine stack, so long texts cannot overflow it.
//
// Errors are not returned: a malformed pattern or a misuse of the functions
// below calls regerror(), which prints "regexp(3): <message>" and a line end
// on stderr and exits the process with status 1.
//
// Ownership: regcomp() returns a program owned by the caller, who releases
// it with regfree() (or holds it in a RegexpPtr).  startp/endp point into
// the text given to the last regexec(); they are valid while that text is.
// A program is not thread-safe: regexec() writes into it.
#ifndef LORVAN_INCLUDE_REGEXP_H_
#define LORVAN_INCLUDE_REGEXP_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace lorvan {

// Number of sub-match slots: 0 is the whole match, 1-9 the groups.
inline constexpr int NSUBEXP = 10;

// A compiled pattern and the sub-matches of its last successful regexec().
// A slot whose group took no part in the match holds null pointers; after a
// failed regexec() every slot is null.
struct regexp {
  const char* startp[NSUBEXP] = {};
  const char* endp[NSUBEXP] = {};

  regexp(const regexp&) = delete;
  regexp& operator=(const regexp&) = delete;
  ~regexp();

 private:
  friend struct RegexpInternals;  // the compiler and matcher in regexp.cpp
  struct Choice;                  // one entry of the backtracking stack

  regexp();

  std::vector<unsigned char> program_;  // magic byte, then the nodes
  unsigned char first_byte_ = 0;        // every match starts with it (0: any)
  bool anchored_ = false;               // every match starts at the text start
  std::size_t must_ = 0;                // program_ offset of a literal every
  std::size_t must_length_ = 0;         //   match contains (length 0: none)
  std::vector<Choice> choices_;         // reused by every regexec()
};

// Compiles `pattern` (NUL-terminated).  Never returns null: errors end the
// program through regerror().
regexp* regcomp(const char* pattern);

// Searches `text` for the leftmost match; returns 1 and fills startp/endp
// when there is one, 0 otherwise.
int regexec(regexp* prog, const char* text);

// Copies `source` into `dest`, replacing '&' and "\0" by the whole last
// match, "\1".."\9" by the groups (nothing for a group that did not take
// part), and "\&" and "\\" by '&' and '\'; every other byte, a backslash
// before any other byte included, is copied as it is.  `dest` must have room
// for regsub_size(prog, source) bytes; the result is NUL-terminated.
void regsub(const regexp* prog, const char* source, char* dest);

// The number of bytes regsub() writes for `source`, the terminating NUL
// included.
std::size_t regsub_size(const regexp* prog, const char* source);

// Like regsub(), but appends the expansion (without a NUL) to `dest`.
void regsub(const regexp* prog, const char* source, std::string& dest);

// Releases a program from regcomp(); null is allowed.
void regfree(regexp* prog);

// Prints "regexp(3): <message>" and a line end on stderr and exits with
// status 1.
[[noreturn]] void regerror(const char* message);

struct RegexpDeleter {
  void operator()(regexp* prog) const { regfree(prog); }
};
using RegexpPtr = std::unique_ptr<regexp, RegexpDeleter>;

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_REGEXP_H_
