// RuleMatcher: the longest-match rule selection of the word tokenizer.
//
// The scanner has 24 rules in priority order, three start conditions and
// right contexts.  At each offset the rule with the longest match wins,
// where a right context (text the rule requires to follow) counts towards
// the length without being consumed; a tie goes to the earlier rule.  The
// matcher only chooses; the scanner (token/scanner.h) performs the actions.
//
// Right contexts used by the rules:
//   T    any number of closing punctuation bytes (see is_close) and full
//        stops, then one white-space byte or "<";
//   END  any number of white-space bytes, double quotes, ")", "]" and pairs
//        of apostrophes, then "^" or "$$EOF$$".
// A clitic is one of 's 'S 'd 'D 'm 'M 'll 'LL 're 'RE 've 'VE n't N'T.
//
// The matcher reads through an InputWindow it does not own, never before
// the window's mark.  A match that would need more than the window's
// look-ahead counts as no match.  It remembers the extent of the last run
// of letters and of the last run of closing punctuation it scanned, so a
// long run costs linear time however often it is looked into.
#ifndef LORVAN_TOOLS_TOKEN_RULE_MATCHER_H_
#define LORVAN_TOOLS_TOKEN_RULE_MATCHER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "token/input_window.h"

namespace lorvan::token {

enum class StartCondition {
  kOutside,  // outside a segment: text is copied
  kBetween,  // in a segment, the last action ended a token
  kInside,   // in a segment, a token is being collected
};

// The rules in priority order.
enum Rule : int {
  kNoRule = 0,        // the input has ended
  kSegmentMarker,     // "^ "                                  all conditions
  kDoubleCaret,       // "^^"                                  all
  kEndMarker,         // "$$EOF$$"                             all
  kAbbreviationEnd,   // full stop, letter, full stop, END     BETWEEN, INSIDE
  kFinalStop,         // full stop before END                  ..
  kFullStop,          // full stop                             ..
  kWordElement,       // "<w" [^<>]* ">" [^<>]* "</w" WS* ">"  ..
  kOpener,            // " $ ( [ pound '' ``                   BETWEEN only
  kEntity,            // "&" "#"? alphanumerics ";"            BETWEEN, INSIDE
  kClosingQuotes,     // two apostrophes before T              ..
  kClosing,           // a closing byte or "..." before T      ..
  kBeforeEllipsis,    // a non-WS byte before "..."            ..
  kEllipsis,          // "..." and any byte                    ..
  kBeforeDashes,      // a non-WS byte before "--"             ..
  kDashes,            // "--" and any byte                     ..
  kBeforeClitic,      // a letter before a clitic and T        ..
  kCliticBeforeTag,   // a clitic before "<"                   ..
  kClitic,            // a clitic before T                     ..
  kPluralPossessive,  // "s" or "S" before an apostrophe and T ..
  kPluralParen,       // letters followed by "(s)"             ..
  kLastByte,          // a non-WS byte before a WS byte        ..
  kByte,              // a non-WS byte                         ..
  kSpace,             // a WS byte                             ..
  kCopy,              // any byte                              all
  kRuleCount
};

struct RuleMatch {
  Rule rule = kNoRule;
  std::size_t consumed = 0;  // bytes the action takes
  std::size_t length = 0;    // bytes matched, right context included
};

class RuleMatcher {
 public:
  explicit RuleMatcher(InputWindow& in) : in_(in) {}

  RuleMatcher(const RuleMatcher&) = delete;
  RuleMatcher& operator=(const RuleMatcher&) = delete;

  // The winning match at `offset` in start condition `sc`.
  RuleMatch longest(std::uint64_t offset, StartCondition sc);
  // The same match found by trying every candidate rule; longest() takes
  // short cuts for common bytes.
  RuleMatch search(std::uint64_t offset, StartCondition sc);

  // The number of bytes from `offset` on, at most `limit`, each of which
  // is won by kByte with length 1 in BETWEEN and in INSIDE: bytes inside a
  // word that neither start, end nor split anything.  Lets the scanner take
  // such stretches in one step.  Looks only at bytes already read (but to
  // find where a run of letters ends), so it may stop early, even at 0,
  // where more input would decide.
  std::size_t plain_run(std::uint64_t offset, std::size_t limit);
  // The length of the plain run from `offset` (at most `limit` - 1 bytes)
  // plus the byte after it, when that byte is won by kLastByte: a whole
  // token that ends at white space.  0 when the run is not followed so.
  std::size_t plain_word(std::uint64_t offset, std::size_t limit);

 private:
  struct Extent {
    std::size_t consumed = 0;
    std::size_t length = 0;  // 0: no match
  };
  // The offsets [from, stop) of the last run scanned; stop is the first
  // offset outside the run.  Empty when from >= stop.
  struct RunMemo {
    std::uint64_t from = 1;
    std::uint64_t stop = 0;
  };

  Extent match(Rule rule, std::uint64_t p);

  Extent segment_marker(std::uint64_t p);
  Extent double_caret(std::uint64_t p);
  Extent end_marker(std::uint64_t p);
  Extent abbreviation_end(std::uint64_t p);
  Extent final_stop(std::uint64_t p);
  Extent full_stop(std::uint64_t p);
  Extent word_element(std::uint64_t p);
  Extent opener(std::uint64_t p);
  Extent entity(std::uint64_t p);
  Extent closing_quotes(std::uint64_t p);
  Extent closing(std::uint64_t p);
  Extent before_ellipsis(std::uint64_t p);
  Extent ellipsis(std::uint64_t p);
  Extent before_dashes(std::uint64_t p);
  Extent dashes(std::uint64_t p);
  Extent before_clitic(std::uint64_t p);
  Extent clitic_before_tag(std::uint64_t p);
  Extent clitic(std::uint64_t p);
  Extent plural_possessive(std::uint64_t p);
  Extent plural_paren(std::uint64_t p);
  Extent last_byte(std::uint64_t p);
  Extent single_byte(std::uint64_t p);
  Extent space(std::uint64_t p);
  Extent copy(std::uint64_t p);

  // Lengths of the right contexts T and END at `p`, 0 when absent.
  std::size_t t_context(std::uint64_t p);
  std::size_t end_context(std::uint64_t p);
  // Length of the clitic at `p`, 0 when there is none.
  std::size_t clitic_length(std::uint64_t p);
  // True when the input at `p` starts with `text`.
  bool looking_at(std::uint64_t p, std::string_view text);
  // Offset of the first byte at or after `p` that is not a letter.
  std::uint64_t letters_stop(std::uint64_t p);
  // Offset of the first byte at or after `p` that is neither a closing
  // byte nor a full stop.
  std::uint64_t closing_stop(std::uint64_t p);
  // Offset of the first byte at or after `p` that is "<" or ">" or lies
  // past the end of the input.
  std::uint64_t skip_untagged(std::uint64_t p);

  InputWindow& in_;
  RunMemo letters_;
  RunMemo closings_;
};

}  // namespace lorvan::token

#endif  // LORVAN_TOOLS_TOKEN_RULE_MATCHER_H_
