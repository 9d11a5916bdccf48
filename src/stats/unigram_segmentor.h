// UnigramSegmentor: splits a word sequence into its cheapest known phrases
// under the counts of a WordSeqCounter.
//
// A known sequence seen c times costs ln(N / c), N being the counter's
// total; a word the counter cannot place costs ln(N / 0.5).  The whole
// input taken as one phrase is never a candidate: its cost is the baseline
// the score is measured against.  An optional expression (input type
// "char*", the segment's words joined by single spaces) must accept every
// known multi-word candidate.  Among equally cheap candidates the first
// found is kept.
//
// The segmentor borrows the counter and the expression; both must outlive
// it.  Looking words up may load entries of the counter from its file.
#ifndef LORVAN_STATS_UNIGRAM_SEGMENTOR_H_
#define LORVAN_STATS_UNIGRAM_SEGMENTOR_H_

#include <span>
#include <string>
#include <vector>

namespace lorvan {

class LExp;
class WordSeqCounter;

class UnigramSegmentor {
 public:
  using Words = std::span<const char* const>;

  UnigramSegmentor(WordSeqCounter& counter, LExp* valid_segment)
      : counter_(counter), valid_segment_(valid_segment) {}

  // The segments of `words`, first to last, each its words joined by single
  // spaces.  `score`, when given, receives the cost of the segmentation
  // minus the cost of the whole input as one phrase (or as one unknown
  // word when it is not a known phrase).
  std::vector<std::string> segment(Words words, double* score = nullptr);

 private:
  // The best way found so far to end a segment at a position.
  struct Best {
    int start = -1;  // first word of the last segment; -1: none yet
    double cost = 0;
  };

  static void offer(Best& best, int start, double cost);
  bool accepts(Words words, int first, int last) const;

  WordSeqCounter& counter_;
  LExp* valid_segment_;
};

}  // namespace lorvan

#endif  // LORVAN_STATS_UNIGRAM_SEGMENTOR_H_
