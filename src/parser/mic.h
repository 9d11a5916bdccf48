// MIC (minimal interval cover): the dynamic programme that picks the
// cheapest set of non-overlapping roots covering the word slots of a
// sentence.  IvCover is the best cover found for one interval [a, b]:
// either one root node, or the combination of a left and a right cover
// with a seam cost between them.
//
// Every word slot costs its own weight when no root covers it; a cover
// that holds a node is never replaced by a combination.
//
// Ownership: the table owns its covers; covers point to sub-covers of the
// same table and to forest nodes they do not own.  The nodes are only
// stored, never used, so the cover can be computed for any node pointers.
#ifndef LORVAN_PARSER_MIC_H_
#define LORVAN_PARSER_MIC_H_

#include <vector>

namespace lorvan {

class TNode;

class IvCover {
 public:
  IvCover* left() const { return left_; }
  IvCover* right() const { return right_; }
  TNode* node() const { return node_; }
  // -1 while unset.
  float weight() const { return weight_; }
  void weight(float w) {
    weight_ = w;
    set_ = true;
  }
  bool is_set() const { return set_; }

  // Takes `node` at cost `weight` when unset or cheaper.
  void set(TNode* node, float weight);
  // Takes the combination of `left` and `right` with `seam` when the cover
  // holds no node and is unset or dearer; ties keep the earlier choice.
  void set(IvCover* left, IvCover* right, float seam);

 private:
  IvCover* left_ = nullptr;
  IvCover* right_ = nullptr;
  TNode* node_ = nullptr;
  float weight_ = -1.0f;
  bool set_ = false;  // a cost given to a word may be negative
};

class MIC {
 public:
  // Seams between two roots: one next to a single punctuation character
  // is cheap.
  static constexpr float kSeam = 35.0f;
  static constexpr float kPunctuationSeam = 10.0f;

  // A table for the intervals of `n` word slots 0..n-1.
  explicit MIC(int n);

  int slots() const { return n_; }
  // The cover of [a, b], 0 <= a <= b < slots().
  IvCover& cover(int a, int b);

  // Offers a root spanning [low, high] at cost `weight`; ignored when the
  // interval is not one of the table's.
  void offer(TNode* node, int low, int high, float weight);
  // Chooses the roots: every slot i costs word_weights[i] when no root
  // covers it (a one-word root's interval costs that too), punctuation
  // words after the last root end (`last_high`) are left out, and the
  // cheapest cover of slots 1..n-1 is made from the offered roots, the
  // uncovered slots and the seams between them.  words[i] is the word of
  // slot i (null allowed); both vectors hold slots() entries.  Returns the
  // nodes of the cover, left to right.
  std::vector<TNode*> choose(const std::vector<const char*>& words,
                             const std::vector<float>& word_weights, int last_high);

  // The cost of a seam between two roots meeting between words `left`
  // and `right`.
  static float seam(const char* left, const char* right);

 private:
  // Fills every interval of slots 1..n-1 by combining shorter ones.
  void combine(int n, const std::vector<const char*>& words);
  static void collect(const IvCover* c, std::vector<TNode*>& out);

  int n_;
  std::vector<IvCover> covers_;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_MIC_H_
