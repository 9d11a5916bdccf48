#include "stats/unigram_segmentor.h"

#include <algorithm>
#include <cmath>

#include "command/arg_types.h"
#include "expr/lexp.h"
#include "stats/word_seq_counter.h"

namespace lorvan {
namespace {

std::string join(UnigramSegmentor::Words words, int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) {
    if (i > first) text += ' ';
    text += words[static_cast<std::size_t>(i)];
  }
  return text;
}

}  // namespace

void UnigramSegmentor::offer(Best& best, int start, double cost) {
  if (best.start < 0 || best.cost > cost) best = Best{start, cost};
}

bool UnigramSegmentor::accepts(Words words, int first, int last) const {
  if (valid_segment_ == nullptr) return true;
  std::string text = join(words, first, last);
  return valid_segment_->eval(text.data(), arg_type_id("char*")) != nullptr;
}

std::vector<std::string> UnigramSegmentor::segment(Words words, double* score) {
  const int n = static_cast<int>(words.size());
  if (n == 0) {
    if (score != nullptr) *score = 0;
    return {};
  }
  const double total = counter_.total_count();
  const double unknown = std::log(total / WordSeqCounter::kUnknownCount);
  double result = -unknown;
  std::vector<Best> best(static_cast<std::size_t>(n));
  for (int s = 0; s < n; ++s) {
    const double base = s > 0 ? best[s - 1].cost : 0;
    const WordSeqCounterEntry* entry = counter_.find_entry(words[s]);
    WordSeqTrie::NodeId node = WordSeqTrie::kRoot;
    for (int p = s; entry != nullptr;) {
      const WordSeqNode& here = entry->trie.node(node);
      if (!here.end || here.value <= 0) {
        offer(best[s], s, base + unknown);
      } else if (s == 0 && p == n - 1) {
        result = -std::log(total / here.value);  // the whole input: the baseline
      } else if (accepts(words, s, p)) {
        offer(best[p], s, base + std::log(total / here.value));
      }
      if (p + 1 >= n) break;
      int id = counter_.getId(words[p + 1]);
      node = id != 0 ? entry->trie.child(node, id) : WordSeqTrie::kNone;
      if (node == WordSeqTrie::kNone) break;
      ++p;
    }
    // A word no candidate covers stands alone as an unknown word.
    if (entry == nullptr || best[s].start < 0) offer(best[s], s, base + unknown);
  }
  std::vector<std::string> segments;
  for (int p = n - 1; p >= 0;) {
    int s = best[p].start;
    result += best[p].cost - (s > 0 ? best[s - 1].cost : 0);
    segments.push_back(join(words, s, p));
    p = s - 1;
  }
  std::reverse(segments.begin(), segments.end());
  if (score != nullptr) *score = result;
  return segments;
}

}  // namespace lorvan
