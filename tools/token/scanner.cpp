#include "token/scanner.h"

#include <algorithm>
#include <array>
#include <optional>

#include "token/char_class.h"

namespace lorvan::token {
namespace {

// What a token rule does around its tok(): the separators of the etok()
// calls before and after it, if any.
struct TokenAction {
  std::optional<std::string_view> etok_before;
  std::optional<std::string_view> etok_after;
};

constexpr std::string_view kNoBlank = "";
constexpr std::string_view kBlank = " ";

constexpr std::array<TokenAction, kRuleCount> kTokenActions = [] {
  std::array<TokenAction, kRuleCount> a{};
  a[kAbbreviationEnd] = {{}, kNoBlank};
  a[kFinalStop] = {kBlank, kNoBlank};
  a[kFullStop] = {};
  a[kWordElement] = {kBlank, kBlank};
  a[kOpener] = {{}, kBlank};
  a[kEntity] = {};
  a[kClosingQuotes] = {kBlank, kNoBlank};
  a[kClosing] = {kBlank, kNoBlank};
  a[kBeforeEllipsis] = {{}, kBlank};
  a[kEllipsis] = {{}, kBlank};
  a[kBeforeDashes] = {{}, kBlank};
  a[kDashes] = {{}, kBlank};
  a[kBeforeClitic] = {{}, kBlank};
  a[kCliticBeforeTag] = {{}, kNoBlank};
  a[kClitic] = {{}, kBlank};
  a[kPluralPossessive] = {{}, kBlank};
  a[kPluralParen] = {{}, kBlank};
  a[kLastByte] = {{}, kNoBlank};
  a[kByte] = {};
  return a;
}();

}  // namespace

long TokenScanner::FlushingReader::read(char* dst, std::size_t capacity) {
  out_.flush();
  return in_.read(dst, capacity);
}

TokenScanner::TokenScanner(ByteReader& in, ByteWriter& out, ByteWriter& err, Mode mode)
    : err_(err),
      out_(out),
      reader_(in, out_),
      in_(reader_),
      matcher_(in_),
      spans_(mode == Mode::kSpans) {
  token_.reserve(kMaxToken);
}

int TokenScanner::run() {
  std::uint64_t p = 0;
  while (!out_.failed()) {
    // Stretches that single-byte rules would take one byte at a time are
    // taken whole: text outside segments, white space (each byte ends the
    // token and is copied), and the inner bytes of a word.
    in_.set_mark(p);
    if (sc_ == StartCondition::kOutside) {
      if (std::size_t n = outside_run(p)) {
        out_.put({in_.data(p), n});
        p += n;
        continue;
      }
    } else if (std::size_t n = space_run(p)) {
      take_spaces({in_.data(p), n});
      p += n;
      continue;
    } else if (std::size_t n = matcher_.plain_word(p, kRunLimit)) {
      // A word up to white space: kByte matches, then kLastByte.
      if (!tok_bytes({in_.data(p), n})) return fail(kTokenOverflow, "");
      etok("");
      p += n;
      if ((n = space_run(p)) > 0) {
        take_spaces({in_.data(p), n});
        p += n;
      }
      continue;
    } else if (std::size_t n = matcher_.plain_run(p, kRunLimit)) {
      if (!tok_bytes({in_.data(p), n})) return fail(kTokenOverflow, "");
      p += n;
      in_.set_mark(p);
    }
    RuleMatch m = matcher_.longest(p, sc_);
    if (m.rule == kNoRule || m.rule == kEndMarker) break;
    if (m.length > kInputBufferSize) {
      return fail(kScannerError,
                  "token: input buffer overflow: a single match is longer than 16384 bytes\n");
    }
    std::string_view text(in_.data(p), m.consumed);
    p += m.consumed;
    if (!act(m.rule, text)) return fail(kTokenOverflow, "");
  }
  if (in_.failed()) return fail(kScannerError, "token: input error: " + in_.error() + "\n");
  etok("");
  if (!out_.flush()) return fail(kScannerError, "token: output error\n");
  return kSuccess;
}

bool TokenScanner::act(Rule rule, std::string_view text) {
  switch (rule) {
    case kSegmentMarker:
      etok("");
      out_.put(text);
      nchars_ = 2;
      return true;
    case kDoubleCaret:
      // A token running into "^^" belongs to the segment that ends here.
      etok("");
      out_.put(text);
      sc_ = StartCondition::kOutside;
      return true;
    case kSpace:
      take_spaces(text);
      return true;
    case kCopy:
      out_.put(text);
      return true;
    default:
      break;
  }
  const TokenAction& action = kTokenActions[rule];
  if (action.etok_before) etok(*action.etok_before);
  if (!tok(text)) return false;
  if (action.etok_after) etok(*action.etok_after);
  return true;
}

bool TokenScanner::tok(std::string_view text) {
  if (sc_ == StartCondition::kBetween && spans_) start_ = nchars_;
  if (spans_) {
    if (nchars_ + text.size() - start_ > kMaxToken) {
      std::string message = "Token buffer overflow at '" + token_ + "'\n";
      err_.write(message.data(), message.size());
      return false;
    }
    token_.append(text);
  } else {
    out_.put(text);
  }
  nchars_ += text.size();
  sc_ = StartCondition::kInside;
  return true;
}

bool TokenScanner::tok_bytes(std::string_view text) {
  if (spans_) {
    // Single bytes fill the token exactly to its limit before it overflows.
    std::uint64_t used = sc_ == StartCondition::kBetween ? 0 : nchars_ - start_;
    std::size_t room = static_cast<std::size_t>(kMaxToken - used);
    if (text.size() > room) return tok(text.substr(0, room)) && tok(text.substr(room));
  }
  return tok(text);
}

void TokenScanner::etok(std::string_view sep) {
  if (sc_ == StartCondition::kInside && spans_) {
    out_.put("<w s='");
    out_.put_number(start_);
    out_.put("' e='");
    out_.put_number(nchars_ - 1);
    out_.put("'>");
    out_.put(token_);
    out_.put("</w>");
    token_.clear();
  }
  if (!sep.empty()) out_.put(sep);
  sc_ = StartCondition::kBetween;
}

std::size_t TokenScanner::outside_run(std::uint64_t p) {
  std::string_view view = in_.buffered(p).substr(0, kRunLimit);
  return std::min(view.find('^'), std::min(view.find('$'), view.size()));
}

void TokenScanner::take_spaces(std::string_view spaces) {
  etok("");
  out_.put(spaces);
  nchars_ += spaces.size();
}

std::size_t TokenScanner::space_run(std::uint64_t p) {
  std::string_view view = in_.buffered(p).substr(0, kRunLimit);
  std::size_t n = 0;
  while (n < view.size() && is_ws(static_cast<unsigned char>(view[n]))) ++n;
  return n;
}

int TokenScanner::fail(int status, std::string_view message) {
  if (!message.empty()) err_.write(message.data(), message.size());
  out_.flush();
  return status;
}

}  // namespace lorvan::token
