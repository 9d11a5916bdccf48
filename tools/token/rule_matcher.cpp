#include "token/rule_matcher.h"

#include <algorithm>
#include <array>
#include <bit>

#include "token/char_class.h"

namespace lorvan::token {
namespace {

constexpr std::uint32_t bit(Rule rule) { return std::uint32_t{1} << rule; }

// True when `rule` can match text that starts with byte `c`.
constexpr bool can_start(Rule rule, int c) {
  switch (rule) {
    case kSegmentMarker:
    case kDoubleCaret:
      return c == '^';
    case kEndMarker:
      return c == '$';
    case kAbbreviationEnd:
    case kFinalStop:
    case kFullStop:
    case kEllipsis:
      return c == '.';
    case kWordElement:
      return c == '<';
    case kOpener:
      return c == '"' || c == '$' || c == '(' || c == '[' || c == kPoundSign ||
             c == '\'' || c == '`';
    case kEntity:
      return c == '&';
    case kClosingQuotes:
      return c == '\'';
    case kClosing:
      return is_close(c) || c == '.';
    case kBeforeEllipsis:
    case kBeforeDashes:
    case kLastByte:
    case kByte:
      return is_non_ws(c);
    case kDashes:
      return c == '-';
    case kBeforeClitic:
      return is_letter(c);
    case kCliticBeforeTag:
    case kClitic:
      return c == '\'' || c == 'n' || c == 'N';
    case kPluralPossessive:
      return c == 's' || c == 'S';
    case kPluralParen:
      return is_letter(c) || c == '(';
    case kSpace:
      return is_ws(c);
    case kCopy:
      return true;
    default:
      return false;
  }
}

// For every byte, the set of rules that can match text starting with it.
constexpr std::array<std::uint32_t, 256> kStartingRules = [] {
  std::array<std::uint32_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    for (int r = kSegmentMarker; r < kRuleCount; ++r) {
      if (can_start(static_cast<Rule>(r), c)) table[c] |= bit(static_cast<Rule>(r));
    }
  }
  return table;
}();

constexpr std::uint32_t kAllRules = ((std::uint32_t{1} << kRuleCount) - 1) & ~bit(kNoRule);

// The rules active in each start condition.
constexpr std::uint32_t rules_in(StartCondition sc) {
  switch (sc) {
    case StartCondition::kOutside:
      return bit(kSegmentMarker) | bit(kDoubleCaret) | bit(kEndMarker) | bit(kCopy);
    case StartCondition::kBetween:
      return kAllRules;
    case StartCondition::kInside:
      return kAllRules & ~bit(kOpener);
  }
  return 0;
}

// Bytes for which only the rules that any word byte can start are
// candidates: no white space, punctuation or marker that a rule of its own
// looks for.  Whether such a byte is plain also depends on its successor
// (see RuleMatcher::plain_run).
constexpr std::uint32_t kWordByteRules =
    bit(kBeforeEllipsis) | bit(kBeforeDashes) | bit(kLastByte) | bit(kByte) |
    bit(kCopy) | bit(kBeforeClitic) | bit(kCliticBeforeTag) | bit(kClitic) |
    bit(kPluralPossessive) | bit(kPluralParen);

constexpr bool is_word_byte(int c) {
  return c >= 0 && (kStartingRules[c] & ~kWordByteRules) == 0;
}

// Byte flags for plain_run().
constexpr std::uint8_t kWordByte = 1;  // is_word_byte()
constexpr std::uint8_t kLetter = 2;    // is_letter()
constexpr std::uint8_t kMaySplit = 4;  // may make the word byte before it
                                       // match a rule other than kByte

constexpr std::array<std::uint8_t, 256> kPlainFlags = [] {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    if (is_word_byte(c)) table[c] |= kWordByte;
    if (is_letter(c)) table[c] |= kLetter;
    if (is_ws(c) || c == '.' || c == '-' || c == '\'' || c == 'n' || c == 'N') {
      table[c] |= kMaySplit;
    }
  }
  return table;
}();

// Runs of letters up to this length are looked at in the buffer directly.
constexpr std::size_t kShortRun = 64;

// True when a rule other than kByte (kPluralParen aside) matches at the
// word byte s[0], given s[1] to s[3].
bool splits_word(const unsigned char* s) {
  int next = s[1];
  if (is_ws(next)) return true;                                        // kLastByte
  if (next == '.') return s[2] == '.' && s[3] == '.';                  // kBeforeEllipsis
  if (next == '-') return s[2] == '-';                                 // kBeforeDashes
  if (!is_letter(s[0])) return false;
  // kBeforeClitic, or kClitic / kPluralPossessive at "n'" or "s'".
  return next == '\'' || ((next == 'n' || next == 'N') && s[2] == '\'');
}

}  // namespace

RuleMatch RuleMatcher::longest(std::uint64_t offset, StartCondition sc) {
  int c = in_.at(offset);
  if (c >= 0 && sc != StartCondition::kOutside) {
    // The commonest cases, which search() would decide the same way: white
    // space has no other candidate, and before white space no rule that a
    // word byte starts can match but kLastByte.
    if (is_ws(c)) return {kSpace, 1, 1};
    if (is_word_byte(c) && is_ws(in_.at(offset + 1))) return {kLastByte, 1, 2};
  }
  return search(offset, sc);
}

RuleMatch RuleMatcher::search(std::uint64_t offset, StartCondition sc) {
  RuleMatch best;
  int c = in_.at(offset);
  if (c < 0) return best;
  std::uint32_t candidates = kStartingRules[c] & rules_in(sc);
  while (candidates != 0) {
    Rule rule = static_cast<Rule>(std::countr_zero(candidates));
    candidates &= candidates - 1;
    Extent e = match(rule, offset);
    if (e.length > best.length) best = {rule, e.consumed, e.length};
  }
  return best;
}

std::size_t RuleMatcher::plain_run(std::uint64_t offset, std::size_t limit) {
  // Works on the buffered bytes, so it never waits for input but to see
  // the end of a run of letters; a byte whose verdict depends on bytes not
  // yet read ends the run.  A word byte's verdict depends on the next three
  // bytes and, for a letter, on whether its run of letters is followed by
  // "(s)".
  std::string_view view = in_.buffered(offset);
  std::size_t letters_checked = 0;  // letters before it lack "(s)"
  std::size_t n = 0;
  for (; n < limit && n + 3 < view.size(); ++n) {
    const auto* s = reinterpret_cast<const unsigned char*>(view.data()) + n;
    std::uint8_t flags = kPlainFlags[s[0]];
    if ((flags & kWordByte) == 0) break;
    if ((kPlainFlags[s[1]] & kMaySplit) != 0 && splits_word(s)) break;
    if ((flags & kLetter) != 0 && n >= letters_checked) {
      // kPluralParen: a short run is looked at here; a long one, which may
      // reach beyond the buffer, through the remembered run of letters.
      std::size_t stop = n + 1;
      std::size_t short_end = std::min(view.size(), n + kShortRun);
      while (stop < short_end && is_letter(static_cast<unsigned char>(view[stop]))) ++stop;
      if (stop < short_end && stop + 3 <= view.size()) {
        if (view.substr(stop, 3) == "(s)") break;
        letters_checked = stop;
      } else {
        if (plural_paren(offset + n).length > 0) break;
        letters_checked = static_cast<std::size_t>(letters_stop(offset + n) - offset);
        view = in_.buffered(offset);  // the look at the run may have read
      }
    }
  }
  return n;
}

std::size_t RuleMatcher::plain_word(std::uint64_t offset, std::size_t limit) {
  std::size_t n = plain_run(offset, limit - 1);
  std::string_view view = in_.buffered(offset);
  if (n + 1 >= view.size()) return 0;
  auto byte = [&view](std::size_t i) { return static_cast<unsigned char>(view[i]); };
  return is_word_byte(byte(n)) && is_ws(byte(n + 1)) ? n + 1 : 0;
}

RuleMatcher::Extent RuleMatcher::match(Rule rule, std::uint64_t p) {
  switch (rule) {
    case kSegmentMarker: return segment_marker(p);
    case kDoubleCaret: return double_caret(p);
    case kEndMarker: return end_marker(p);
    case kAbbreviationEnd: return abbreviation_end(p);
    case kFinalStop: return final_stop(p);
    case kFullStop: return full_stop(p);
    case kWordElement: return word_element(p);
    case kOpener: return opener(p);
    case kEntity: return entity(p);
    case kClosingQuotes: return closing_quotes(p);
    case kClosing: return closing(p);
    case kBeforeEllipsis: return before_ellipsis(p);
    case kEllipsis: return ellipsis(p);
    case kBeforeDashes: return before_dashes(p);
    case kDashes: return dashes(p);
    case kBeforeClitic: return before_clitic(p);
    case kCliticBeforeTag: return clitic_before_tag(p);
    case kClitic: return clitic(p);
    case kPluralPossessive: return plural_possessive(p);
    case kPluralParen: return plural_paren(p);
    case kLastByte: return last_byte(p);
    case kByte: return single_byte(p);
    case kSpace: return space(p);
    case kCopy: return copy(p);
    default: return {};
  }
}

RuleMatcher::Extent RuleMatcher::segment_marker(std::uint64_t p) {
  return looking_at(p, "^ ") ? Extent{2, 2} : Extent{};
}

RuleMatcher::Extent RuleMatcher::double_caret(std::uint64_t p) {
  return looking_at(p, "^^") ? Extent{2, 2} : Extent{};
}

RuleMatcher::Extent RuleMatcher::end_marker(std::uint64_t p) {
  return looking_at(p, "$$EOF$$") ? Extent{7, 7} : Extent{};
}

RuleMatcher::Extent RuleMatcher::abbreviation_end(std::uint64_t p) {
  if (in_.at(p) != '.' || !is_letter(in_.at(p + 1)) || in_.at(p + 2) != '.') return {};
  std::size_t end = end_context(p + 3);
  return end > 0 ? Extent{3, 3 + end} : Extent{};
}

RuleMatcher::Extent RuleMatcher::final_stop(std::uint64_t p) {
  if (in_.at(p) != '.') return {};
  std::size_t end = end_context(p + 1);
  return end > 0 ? Extent{1, 1 + end} : Extent{};
}

RuleMatcher::Extent RuleMatcher::full_stop(std::uint64_t p) {
  return in_.at(p) == '.' ? Extent{1, 1} : Extent{};
}

RuleMatcher::Extent RuleMatcher::word_element(std::uint64_t p) {
  if (!looking_at(p, "<w")) return {};
  std::uint64_t q = skip_untagged(p + 2);
  if (in_.at(q) != '>') return {};
  q = skip_untagged(q + 1);
  if (!looking_at(q, "</w")) return {};
  q += 3;
  while (is_ws(in_.at(q))) ++q;
  if (in_.at(q) != '>') return {};
  std::size_t length = static_cast<std::size_t>(q + 1 - p);
  return {length, length};
}

RuleMatcher::Extent RuleMatcher::opener(std::uint64_t p) {
  int c = in_.at(p);
  if (c == '"' || c == '$' || c == '(' || c == '[' || c == kPoundSign) return {1, 1};
  if (looking_at(p, "''") || looking_at(p, "``")) return {2, 2};
  return {};
}

RuleMatcher::Extent RuleMatcher::entity(std::uint64_t p) {
  if (in_.at(p) != '&') return {};
  std::uint64_t q = p + 1;
  if (in_.at(q) == '#') ++q;
  std::uint64_t name = q;
  while (is_alnum(in_.at(q))) ++q;
  if (q == name || in_.at(q) != ';') return {};
  std::size_t length = static_cast<std::size_t>(q + 1 - p);
  return {length, length};
}

RuleMatcher::Extent RuleMatcher::closing_quotes(std::uint64_t p) {
  if (!looking_at(p, "''")) return {};
  std::size_t t = t_context(p + 2);
  return t > 0 ? Extent{2, 2 + t} : Extent{};
}

RuleMatcher::Extent RuleMatcher::closing(std::uint64_t p) {
  std::size_t head = is_close(in_.at(p)) ? 1 : looking_at(p, "...") ? 3 : 0;
  if (head == 0) return {};
  std::size_t t = t_context(p + head);
  return t > 0 ? Extent{head, head + t} : Extent{};
}

RuleMatcher::Extent RuleMatcher::before_ellipsis(std::uint64_t p) {
  return is_non_ws(in_.at(p)) && looking_at(p + 1, "...") ? Extent{1, 4} : Extent{};
}

RuleMatcher::Extent RuleMatcher::ellipsis(std::uint64_t p) {
  return looking_at(p, "...") && in_.at(p + 3) >= 0 ? Extent{3, 4} : Extent{};
}

RuleMatcher::Extent RuleMatcher::before_dashes(std::uint64_t p) {
  return is_non_ws(in_.at(p)) && looking_at(p + 1, "--") ? Extent{1, 3} : Extent{};
}

RuleMatcher::Extent RuleMatcher::dashes(std::uint64_t p) {
  return looking_at(p, "--") && in_.at(p + 2) >= 0 ? Extent{2, 3} : Extent{};
}

RuleMatcher::Extent RuleMatcher::before_clitic(std::uint64_t p) {
  if (!is_letter(in_.at(p))) return {};
  std::size_t k = clitic_length(p + 1);
  if (k == 0) return {};
  std::size_t t = t_context(p + 1 + k);
  return t > 0 ? Extent{1, 1 + k + t} : Extent{};
}

RuleMatcher::Extent RuleMatcher::clitic_before_tag(std::uint64_t p) {
  std::size_t k = clitic_length(p);
  return k > 0 && in_.at(p + k) == '<' ? Extent{k, k + 1} : Extent{};
}

RuleMatcher::Extent RuleMatcher::clitic(std::uint64_t p) {
  std::size_t k = clitic_length(p);
  if (k == 0) return {};
  std::size_t t = t_context(p + k);
  return t > 0 ? Extent{k, k + t} : Extent{};
}

RuleMatcher::Extent RuleMatcher::plural_possessive(std::uint64_t p) {
  int c = in_.at(p);
  if ((c != 's' && c != 'S') || in_.at(p + 1) != '\'') return {};
  std::size_t t = t_context(p + 2);
  return t > 0 ? Extent{1, 2 + t} : Extent{};
}

RuleMatcher::Extent RuleMatcher::plural_paren(std::uint64_t p) {
  std::uint64_t stop = letters_stop(p);
  if (!looking_at(stop, "(s)")) return {};
  std::size_t length = static_cast<std::size_t>(stop + 3 - p);
  return {length, length};
}

RuleMatcher::Extent RuleMatcher::last_byte(std::uint64_t p) {
  return is_non_ws(in_.at(p)) && is_ws(in_.at(p + 1)) ? Extent{1, 2} : Extent{};
}

RuleMatcher::Extent RuleMatcher::single_byte(std::uint64_t p) {
  return is_non_ws(in_.at(p)) ? Extent{1, 1} : Extent{};
}

RuleMatcher::Extent RuleMatcher::space(std::uint64_t p) {
  return is_ws(in_.at(p)) ? Extent{1, 1} : Extent{};
}

RuleMatcher::Extent RuleMatcher::copy(std::uint64_t p) {
  return in_.at(p) >= 0 ? Extent{1, 1} : Extent{};
}

std::size_t RuleMatcher::t_context(std::uint64_t p) {
  std::uint64_t stop = closing_stop(p);
  int c = in_.at(stop);
  return is_ws(c) || c == '<' ? static_cast<std::size_t>(stop + 1 - p) : 0;
}

std::size_t RuleMatcher::end_context(std::uint64_t p) {
  std::uint64_t q = p;
  for (;;) {
    int c = in_.at(q);
    if (is_ws(c) || c == '"' || c == ')' || c == ']') {
      ++q;
    } else if (c == '\'' && in_.at(q + 1) == '\'') {
      q += 2;
    } else {
      break;
    }
  }
  if (in_.at(q) == '^') return static_cast<std::size_t>(q + 1 - p);
  if (looking_at(q, "$$EOF$$")) return static_cast<std::size_t>(q + 7 - p);
  return 0;
}

std::size_t RuleMatcher::clitic_length(std::uint64_t p) {
  static constexpr std::string_view kClitics[] = {
      "'s", "'S", "'d", "'D", "'m", "'M", "'ll", "'LL",
      "'re", "'RE", "'ve", "'VE", "n't", "N'T"};
  int c = in_.at(p);
  if (c != '\'' && c != 'n' && c != 'N') return 0;
  int second = in_.at(p + 1);
  for (std::string_view clitic : kClitics) {
    if (clitic[0] == c && clitic[1] == second && looking_at(p + 2, clitic.substr(2))) {
      return clitic.size();
    }
  }
  return 0;
}

bool RuleMatcher::looking_at(std::uint64_t p, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (in_.at(p + i) != static_cast<unsigned char>(text[i])) return false;
  }
  return true;
}

namespace {

// The end of the run of bytes satisfying `in_run` that contains `p`,
// reusing `memo` when `p` lies in the run it describes.
template <typename Memo, typename InRun>
std::uint64_t run_stop(InputWindow& in, Memo& memo, std::uint64_t p, InRun in_run) {
  if (memo.from <= p && p < memo.stop) return memo.stop;
  std::uint64_t q = p;
  while (in_run(in.at(q))) ++q;
  memo.from = p;
  memo.stop = q;
  return q;
}

}  // namespace

std::uint64_t RuleMatcher::letters_stop(std::uint64_t p) {
  return run_stop(in_, letters_, p, is_letter);
}

std::uint64_t RuleMatcher::closing_stop(std::uint64_t p) {
  return run_stop(in_, closings_, p, [](int c) { return is_close(c) || c == '.'; });
}

std::uint64_t RuleMatcher::skip_untagged(std::uint64_t p) {
  while (true) {
    int c = in_.at(p);
    if (c < 0 || c == '<' || c == '>') return p;
    ++p;
  }
}

}  // namespace lorvan::token
