// Regular-expression compiler and backtracking matcher.
//
// A compiled program is a byte string: a magic byte, then nodes.  A node is
// an opcode byte and a two-byte big-endian offset to the node that follows
// it (0: none; counted backwards for BACK, forwards otherwise), followed by
// its operand: a NUL-terminated byte string for EXACTLY, ANYOF and ANYBUT,
// the first node of a sub-program for BRANCH, STAR and PLUS.
//
//   BRANCH  try the operand; the next node is another BRANCH (an alternative
//           to try when this one fails) or the node after the alternation
//   STAR, PLUS  repeat a one-byte operand as often as possible, then back off
//   BACK    like NOTHING, but its offset points back (closes a loop)
//   OPEN+n, CLOSE+n  record where group n starts and ends
//
// Repetitions of anything but a single byte class are built from BRANCH and
// BACK: x* is (x BACK-to-start | NOTHING), x+ is x (BACK-to-x | NOTHING), x?
// is (x | NOTHING).  Compilation makes two passes over the pattern: the first
// only measures the program (so an oversized pattern fails before anything is
// linked), the second emits it.
//
// Matching is a depth-first search with an explicit stack of choices
// (alternatives still to try, repetitions that can give back a byte, group
// boundaries to restore), so it never recurses on the machine stack.
#include "regexp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace lorvan {

namespace {

constexpr unsigned char kMagic = 0234;
// Offsets are 16 bits, so a program must stay below this size.
constexpr std::size_t kMaxProgram = 32767;

enum Op : unsigned char {
  kEnd = 0,   // the match succeeds
  kBol,       // start of the text
  kEol,       // end of the text
  kAny,       // any byte
  kAnyOf,     // any byte of the operand
  kAnyBut,    // any byte not in the operand
  kBranch,
  kBack,
  kExactly,   // the operand bytes
  kNothing,   // the empty string
  kStar,
  kPlus,
  kOpen = 20,   // kOpen + n: group n starts here
  kClose = 30,  // kClose + n: group n ends here
};

// What a parsed piece is known to be.
enum Flags : int {
  kWorst = 0,
  kHasWidth = 1,  // never matches the empty string
  kSimple = 2,    // a single-byte class: STAR and PLUS can take it
  kSpStart = 4,   // starts with * or + (worth a must-contain test)
};

constexpr std::size_t kHeader = 3;  // opcode and offset
// Offset 0 is the magic byte, so no node lives there.
constexpr std::size_t kNone = 0;
constexpr const char* kMeta = "^$.[()|?+*\\";

bool is_repeat_op(unsigned char c) { return c == '*' || c == '+' || c == '?'; }

std::size_t operand(std::size_t node) { return node + kHeader; }

std::size_t next_node(const unsigned char* code, std::size_t node) {
  const unsigned offset = (code[node + 1] << 8) | code[node + 2];
  if (offset == 0) return kNone;
  return code[node] == kBack ? node - offset : node + offset;
}

// Parses a pattern and emits its program into `code`, or with a null `code`
// only measures it.  Every syntax error ends the program through regerror().
class Compiler {
 public:
  Compiler(const char* pattern, std::vector<unsigned char>* code)
      : p_(reinterpret_cast<const unsigned char*>(pattern)), code_(code) {}

  // Returns the flags of the whole pattern.
  int compile() {
    emit(kMagic);
    int flags;
    parse_alternation(false, &flags);
    return flags;
  }

  std::size_t size() const { return size_; }

 private:
  std::size_t parse_alternation(bool paren, int* flags);
  std::size_t parse_branch(int* flags);
  std::size_t parse_piece(int* flags);
  std::size_t parse_atom(int* flags);
  std::size_t parse_bracket();
  std::size_t parse_literal_run(int* flags);

  void emit(unsigned char byte) {
    if (code_) code_->push_back(byte);
    ++size_;
  }
  std::size_t node(unsigned char op) {
    const std::size_t at = size_;
    emit(op);
    emit(0);
    emit(0);
    return at;
  }
  // Puts a node with no operand bytes in front of the node at `at`.
  void insert(unsigned char op, std::size_t at) {
    if (code_) code_->insert(code_->begin() + at, {op, 0, 0});
    size_ += kHeader;
  }
  void tail(std::size_t chain, std::size_t target);
  void operand_tail(std::size_t node, std::size_t target);
  void tail_every_operand(std::size_t chain, std::size_t target);

  const unsigned char* p_;
  std::vector<unsigned char>* code_;
  std::size_t size_ = 0;
  int groups_ = 1;
};

// Links the last node of the chain starting at `chain` to `target`.
void Compiler::tail(std::size_t chain, std::size_t target) {
  if (!code_) return;
  unsigned char* code = code_->data();
  std::size_t last = chain;
  for (std::size_t n; (n = next_node(code, last)) != kNone;) last = n;
  const std::size_t offset =
      code[last] == kBack ? last - target : target - last;
  code[last + 1] = static_cast<unsigned char>(offset >> 8);
  code[last + 2] = static_cast<unsigned char>(offset);
}

// tail() on the operand of a BRANCH; nothing for other nodes.
void Compiler::operand_tail(std::size_t node, std::size_t target) {
  if (!code_ || (*code_)[node] != kBranch) return;
  tail(operand(node), target);
}

void Compiler::tail_every_operand(std::size_t chain, std::size_t target) {
  if (!code_) return;
  for (std::size_t n = chain; n != kNone; n = next_node(code_->data(), n))
    operand_tail(n, target);
}

// alternation: branch ('|' branch)*, the body of a group when `paren`.
std::size_t Compiler::parse_alternation(bool paren, int* flags) {
  *flags = kHasWidth;
  int group = 0;
  std::size_t ret = kNone;
  if (paren) {
    if (groups_ >= NSUBEXP) regerror("too many ()");
    group = groups_++;
    ret = node(static_cast<unsigned char>(kOpen + group));
  }
  for (;;) {
    int branch_flags;
    const std::size_t branch = parse_branch(&branch_flags);
    if (ret == kNone)
      ret = branch;
    else
      tail(ret, branch);
    if (!(branch_flags & kHasWidth)) *flags &= ~kHasWidth;
    *flags |= branch_flags & kSpStart;
    if (*p_ != '|') break;
    ++p_;
  }
  const std::size_t ender =
      node(static_cast<unsigned char>(paren ? kClose + group : kEnd));
  tail(ret, ender);
  tail_every_operand(ret, ender);
  if (paren) {
    if (*p_ != ')') regerror("unmatched ()");
    ++p_;
  } else if (*p_ != '\0') {
    regerror(*p_ == ')' ? "unmatched ()" : "junk on end");
  }
  return ret;
}

// branch: piece*, a BRANCH node whose operand is the pieces in sequence.
std::size_t Compiler::parse_branch(int* flags) {
  *flags = kWorst;
  const std::size_t ret = node(kBranch);
  std::size_t chain = kNone;
  while (*p_ != '\0' && *p_ != '|' && *p_ != ')') {
    int piece_flags;
    const std::size_t latest = parse_piece(&piece_flags);
    *flags |= piece_flags & kHasWidth;
    if (chain == kNone)
      *flags |= piece_flags & kSpStart;
    else
      tail(chain, latest);
    chain = latest;
  }
  if (chain == kNone) node(kNothing);
  return ret;
}

// piece: atom, optionally followed by one of * + ?.
std::size_t Compiler::parse_piece(int* flags) {
  int atom_flags;
  const std::size_t ret = parse_atom(&atom_flags);
  const unsigned char op = *p_;
  if (!is_repeat_op(op)) {
    *flags = atom_flags;
    return ret;
  }
  if (!(atom_flags & kHasWidth) && op != '?')
    regerror("*+ operand could be empty");
  *flags = op != '+' ? (kWorst | kSpStart) : (kWorst | kHasWidth);
  const bool simple = atom_flags & kSimple;
  if (op == '*' && simple) {
    insert(kStar, ret);
  } else if (op == '*') {  // (x BACK-to-here | NOTHING)
    insert(kBranch, ret);
    operand_tail(ret, node(kBack));
    operand_tail(ret, ret);
    tail(ret, node(kBranch));
    tail(ret, node(kNothing));
  } else if (op == '+' && simple) {
    insert(kPlus, ret);
  } else if (op == '+') {  // x (BACK-to-x | NOTHING)
    const std::size_t loop = node(kBranch);
    tail(ret, loop);
    tail(node(kBack), ret);
    tail(loop, node(kBranch));
    tail(ret, node(kNothing));
  } else {  // (x | NOTHING)
    insert(kBranch, ret);
    tail(ret, node(kBranch));
    const std::size_t empty = node(kNothing);
    tail(ret, empty);
    operand_tail(ret, empty);
  }
  ++p_;
  if (is_repeat_op(*p_)) regerror("nested *?+");
  return ret;
}

std::size_t Compiler::parse_atom(int* flags) {
  *flags = kWorst;
  switch (*p_) {
    case '^':
      ++p_;
      return node(kBol);
    case '$':
      ++p_;
      return node(kEol);
    case '.':
      ++p_;
      *flags |= kHasWidth | kSimple;
      return node(kAny);
    case '[':
      ++p_;
      *flags |= kHasWidth | kSimple;
      return parse_bracket();
    case '(': {
      ++p_;
      int group_flags;
      const std::size_t ret = parse_alternation(true, &group_flags);
      *flags |= group_flags & (kHasWidth | kSpStart);
      return ret;
    }
    case '\0':
    case '|':
    case ')':
      regerror("internal urp");  // parse_branch stops before these
    case '?':
    case '+':
    case '*':
      regerror("?+* follows nothing");
    case '\\': {
      ++p_;
      if (*p_ == '\0') regerror("trailing \\");
      const std::size_t ret = node(kExactly);
      emit(*p_++);
      emit('\0');
      *flags |= kHasWidth | kSimple;
      return ret;
    }
    default:
      return parse_literal_run(flags);
  }
}

// The part of a bracket expression after '['.
std::size_t Compiler::parse_bracket() {
  std::size_t ret;
  if (*p_ == '^') {
    ret = node(kAnyBut);
    ++p_;
  } else {
    ret = node(kAnyOf);
  }
  if (*p_ == ']' || *p_ == '-') emit(*p_++);
  while (*p_ != '\0' && *p_ != ']') {
    if (*p_ != '-') {
      emit(*p_++);
      continue;
    }
    ++p_;
    if (*p_ == ']' || *p_ == '\0') {
      emit('-');
      continue;
    }
    // A range runs from the byte before the '-', already emitted.
    int from = p_[-2] + 1;
    const int to = *p_++;
    if (from > to + 1) regerror("invalid [] range");
    for (; from <= to; ++from) emit(static_cast<unsigned char>(from));
  }
  emit('\0');
  if (*p_ != ']') regerror("unmatched []");
  ++p_;
  return ret;
}

// A run of ordinary bytes.  When a repetition operator follows, its last byte
// is left for a node of its own, since the operator applies to it alone.
std::size_t Compiler::parse_literal_run(int* flags) {
  std::size_t length = std::strcspn(reinterpret_cast<const char*>(p_), kMeta);
  if (length == 0) regerror("internal disaster");
  if (length > 1 && is_repeat_op(p_[length])) --length;
  *flags |= kHasWidth;
  if (length == 1) *flags |= kSimple;
  const std::size_t ret = node(kExactly);
  for (; length > 0; --length) emit(*p_++);
  emit('\0');
  return ret;
}

}  // namespace

// One entry of the backtracking stack.
struct regexp::Choice {
  enum Kind : unsigned char {
    kAlternative,  // resume with the BRANCH `node` at `text`
    kRepeat,       // STAR/PLUS `node` took `count` bytes from `text`
    kRestoreStart, // put startp[group] back to `text`
    kRestoreEnd,   // put endp[group] back to `text`
  };
  Kind kind;
  unsigned char group;
  std::size_t node;
  const char* text;
  std::size_t count;
};

struct RegexpInternals {
  class Matcher;

  static regexp* compile(const char* pattern);
  static int exec(regexp* prog, const char* text);
  template <typename Sink>
  static void expand(const regexp* prog, const char* source, Sink sink);

 private:
  static void find_shortcuts(regexp& prog, int flags);
  // Whether the program starts with the magic byte regcomp() writes.
  static bool intact(const regexp& prog) {
    return !prog.program_.empty() && prog.program_[0] == kMagic;
  }
};

// Runs the program of one regexp against one text.
class RegexpInternals::Matcher {
 public:
  Matcher(regexp& prog, const char* text)
      : prog_(prog), code_(prog.program_.data()), bol_(text),
        choices_(prog.choices_) {}

  // Whether a match starts exactly at `at`; fills startp/endp when it does.
  bool match_at(const char* at);

 private:
  using Choice = regexp::Choice;

  bool step(std::size_t* scan, const char** in);
  bool backtrack(std::size_t* scan, const char** in);
  bool take_repeat(std::size_t node, const char* from, std::size_t count,
                   const char** in);
  std::size_t repeat(std::size_t node, const char* in) const;
  void record(const char** slot, Choice::Kind undo, int group, const char* in) {
    choices_.push_back({undo, static_cast<unsigned char>(group), 0, *slot, 0});
    *slot = in;
  }
  void push_alternative(std::size_t branch, const char* in) {
    choices_.push_back({Choice::kAlternative, 0, branch, in, 0});
  }
  std::size_t min_repeats(std::size_t node) const {
    return code_[node] == kStar ? 0 : 1;
  }
  const char* text_operand(std::size_t node) const {
    return reinterpret_cast<const char*>(code_ + operand(node));
  }

  regexp& prog_;
  const unsigned char* code_;
  const char* bol_;
  std::vector<Choice>& choices_;
};

bool RegexpInternals::Matcher::match_at(const char* at) {
  choices_.clear();
  const char* in = at;
  std::size_t scan = 1;
  while (code_[scan] != kEnd) {
    if (!step(&scan, &in) && !backtrack(&scan, &in)) return false;
  }
  prog_.startp[0] = at;
  prog_.endp[0] = in;
  return true;
}

// Executes the node at *scan.  On success moves *scan to the node to run
// next and *in past what the node consumed; returns false when it fails.
bool RegexpInternals::Matcher::step(std::size_t* scan, const char** in) {
  const std::size_t node = *scan;
  std::size_t next = next_node(code_, node);
  const char* s = *in;
  switch (const unsigned char op = code_[node]) {
    case kBol:
      if (s != bol_) return false;
      break;
    case kEol:
      if (*s != '\0') return false;
      break;
    case kAny:
      if (*s == '\0') return false;
      ++s;
      break;
    case kExactly: {
      const char* bytes = text_operand(node);
      const std::size_t length = std::strlen(bytes);
      if (std::strncmp(bytes, s, length) != 0) return false;
      s += length;
      break;
    }
    case kAnyOf:
    case kAnyBut:
      if (*s == '\0' ||
          (std::strchr(text_operand(node), *s) != nullptr) != (op == kAnyOf))
        return false;
      ++s;
      break;
    case kNothing:
    case kBack:
      break;
    case kBranch:
      if (code_[next] == kBranch) push_alternative(next, s);
      next = operand(node);
      break;
    case kStar:
    case kPlus:
      if (!take_repeat(node, s, repeat(operand(node), s), &s)) return false;
      break;
    default:
      if (op > kOpen && op < kOpen + NSUBEXP) {
        record(&prog_.startp[op - kOpen], Choice::kRestoreStart, op - kOpen, s);
      } else if (op > kClose && op < kClose + NSUBEXP) {
        record(&prog_.endp[op - kClose], Choice::kRestoreEnd, op - kClose, s);
      } else {
        regerror("memory corruption");
      }
  }
  if (next == kNone) regerror("corrupted pointers");
  *scan = next;
  *in = s;
  return true;
}

// Undoes the search up to the latest choice that offers another way on and
// takes that way; returns false when there is none left.
bool RegexpInternals::Matcher::backtrack(std::size_t* scan, const char** in) {
  while (!choices_.empty()) {
    const Choice choice = choices_.back();
    choices_.pop_back();
    switch (choice.kind) {
      case Choice::kRestoreStart:
        prog_.startp[choice.group] = choice.text;
        break;
      case Choice::kRestoreEnd:
        prog_.endp[choice.group] = choice.text;
        break;
      case Choice::kAlternative: {
        const std::size_t after = next_node(code_, choice.node);
        if (code_[after] == kBranch) push_alternative(after, choice.text);
        *scan = operand(choice.node);
        *in = choice.text;
        return true;
      }
      case Choice::kRepeat:
        if (choice.count > min_repeats(choice.node) &&
            take_repeat(choice.node, choice.text, choice.count - 1, in)) {
          *scan = next_node(code_, choice.node);
          return true;
        }
        break;
    }
  }
  return false;
}

// Lets STAR/PLUS `node`, whose operand matched up to `count` bytes at `from`,
// take the largest number of them (not below its minimum) after which the
// rest can start, remembers that choice and moves *in behind them.  When the
// next node is a literal, only counts followed by its first byte qualify.
bool RegexpInternals::Matcher::take_repeat(std::size_t node, const char* from,
                                           std::size_t count,
                                           const char** in) {
  const std::size_t next = next_node(code_, node);
  const int next_byte = code_[next] == kExactly ? code_[operand(next)] : -1;
  const std::size_t min = min_repeats(node);
  for (std::size_t n = count + 1; n-- > min;) {
    if (next_byte < 0 || static_cast<unsigned char>(from[n]) == next_byte) {
      choices_.push_back({Choice::kRepeat, 0, node, from, n});
      *in = from + n;
      return true;
    }
  }
  return false;
}

// How many bytes from `in` on the single-byte node `node` matches in a row.
std::size_t RegexpInternals::Matcher::repeat(std::size_t node,
                                             const char* in) const {
  const char* s = in;
  switch (code_[node]) {
    case kAny:
      return std::strlen(in);
    case kExactly:
      while (*s != '\0' && *s == *text_operand(node)) ++s;
      break;
    case kAnyOf:
      while (*s != '\0' && std::strchr(text_operand(node), *s) != nullptr) ++s;
      break;
    case kAnyBut:
      while (*s != '\0' && std::strchr(text_operand(node), *s) == nullptr) ++s;
      break;
    default:
      regerror("internal foulup");
  }
  return static_cast<std::size_t>(s - in);
}

regexp* RegexpInternals::compile(const char* pattern) {
  if (pattern == nullptr) regerror("NULL argument");
  Compiler sizing(pattern, nullptr);
  sizing.compile();
  if (sizing.size() >= kMaxProgram) regerror("regexp too big");
  try {
    std::unique_ptr<regexp> prog(new regexp());
    prog->program_.reserve(sizing.size());
    const int flags = Compiler(pattern, &prog->program_).compile();
    find_shortcuts(*prog, flags);
    return prog.release();
  } catch (const std::bad_alloc&) {
    regerror("out of space");
  }
}

// With a single top-level alternative, notes what every match must start
// with (a byte, or the start of the text) and, when the pattern starts with
// a repetition (where trying every start is costly), the longest literal on
// its main path, which every match must contain.
void RegexpInternals::find_shortcuts(regexp& prog, int flags) {
  const unsigned char* code = prog.program_.data();
  const std::size_t first_branch = 1;
  if (code[next_node(code, first_branch)] != kEnd) return;
  std::size_t scan = operand(first_branch);
  if (code[scan] == kExactly)
    prog.first_byte_ = code[operand(scan)];
  else if (code[scan] == kBol)
    prog.anchored_ = true;
  if (!(flags & kSpStart)) return;
  for (; scan != kNone; scan = next_node(code, scan)) {
    if (code[scan] != kExactly) continue;
    const std::size_t length =
        std::strlen(reinterpret_cast<const char*>(code + operand(scan)));
    if (length >= prog.must_length_) {
      prog.must_ = operand(scan);
      prog.must_length_ = length;
    }
  }
}

int RegexpInternals::exec(regexp* prog, const char* text) {
  if (prog == nullptr || text == nullptr) regerror("NULL parameter");
  if (!intact(*prog)) regerror("corrupted program");
  for (int i = 0; i < NSUBEXP; ++i) prog->startp[i] = prog->endp[i] = nullptr;
  if (prog->must_length_ > 0 &&
      std::strstr(text, reinterpret_cast<const char*>(prog->program_.data() +
                                                      prog->must_)) == nullptr)
    return 0;
  Matcher matcher(*prog, text);
  if (prog->anchored_) return matcher.match_at(text);
  if (prog->first_byte_ != 0) {
    for (const char* s = std::strchr(text, prog->first_byte_); s != nullptr;
         s = std::strchr(s + 1, prog->first_byte_)) {
      if (matcher.match_at(s)) return 1;
    }
    return 0;
  }
  for (const char* s = text;; ++s) {
    if (matcher.match_at(s)) return 1;
    if (*s == '\0') return 0;
  }
}

// Calls sink(bytes, length) for every piece of the expansion of `source`.
template <typename Sink>
void RegexpInternals::expand(const regexp* prog, const char* source,
                             Sink sink) {
  if (prog == nullptr || source == nullptr) regerror("NULL parm to regsub");
  if (!intact(*prog)) regerror("damaged regexp fed to regsub");
  for (const char* s = source; *s != '\0';) {
    char c = *s++;
    int group = -1;
    if (c == '&') {
      group = 0;
    } else if (c == '\\' && *s >= '0' && *s <= '9') {
      group = *s++ - '0';
    }
    if (group < 0) {
      if (c == '\\' && (*s == '\\' || *s == '&')) c = *s++;
      sink(&c, 1);
      continue;
    }
    const char* start = prog->startp[group];
    const char* end = prog->endp[group];
    if (start == nullptr || end == nullptr) continue;
    // The text must still hold the match: no NUL may have been written into
    // it since regexec().
    const std::size_t length = end >= start ? end - start : 0;
    if (end < start || strnlen(start, length) < length)
      regerror("damaged match string");
    sink(start, length);
  }
}

regexp::regexp() = default;
regexp::~regexp() = default;

regexp* regcomp(const char* pattern) {
  return RegexpInternals::compile(pattern);
}

int regexec(regexp* prog, const char* text) {
  return RegexpInternals::exec(prog, text);
}

void regsub(const regexp* prog, const char* source, char* dest) {
  if (dest == nullptr) regerror("NULL parm to regsub");
  RegexpInternals::expand(prog, source, [&dest](const char* s, std::size_t n) {
    std::memcpy(dest, s, n);
    dest += n;
  });
  *dest = '\0';
}

std::size_t regsub_size(const regexp* prog, const char* source) {
  std::size_t size = 1;
  RegexpInternals::expand(prog, source,
                          [&size](const char*, std::size_t n) { size += n; });
  return size;
}

void regsub(const regexp* prog, const char* source, std::string& dest) {
  RegexpInternals::expand(prog, source, [&dest](const char* s, std::size_t n) {
    dest.append(s, n);
  });
}

void regfree(regexp* prog) { delete prog; }

void regerror(const char* message) {
  std::fprintf(stderr, "regexp(3): %s\n", message);
  std::exit(1);
}

}  // namespace lorvan
