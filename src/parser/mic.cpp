#include "parser/mic.h"

#include <cctype>

#include "tarray.h"

namespace lorvan {

namespace {

bool single_punctuation(const char* word) {
  return word != nullptr && word[0] != '\0' && word[1] == '\0' &&
         std::ispunct(static_cast<unsigned char>(word[0]));
}

bool starts_with_punctuation(const char* word) {
  return word != nullptr && std::ispunct(static_cast<unsigned char>(word[0]));
}

}  // namespace

void IvCover::set(TNode* node, float weight) {
  if (is_set() && weight >= weight_) return;
  node_ = node;
  this->weight(weight);
}

void IvCover::set(IvCover* left, IvCover* right, float seam) {
  if (node_ != nullptr) return;
  const float total = left->weight() + right->weight() + seam;
  if (is_set() && total >= weight_) return;
  left_ = left;
  right_ = right;
  weight(total);
}

MIC::MIC(int n) : n_(n > 0 ? n : 0), covers_(static_cast<std::size_t>(n_) * (n_ + 3) / 2) {}

IvCover& MIC::cover(int a, int b) {
  if (a < 0 || a > b || b >= n_) tarray_index_fault(b, n_);
  return covers_[static_cast<std::size_t>(b * (b + 3) / 2 - a)];
}

void MIC::offer(TNode* node, int low, int high, float weight) {
  if (low < 0 || high < low || high >= n_) return;
  cover(low, high).set(node, weight);
}

float MIC::seam(const char* left, const char* right) {
  return single_punctuation(left) || single_punctuation(right) ? kPunctuationSeam : kSeam;
}

std::vector<TNode*> MIC::choose(const std::vector<const char*>& words,
                                const std::vector<float>& word_weights, int last_high) {
  for (int i = 0; i < n_; ++i) cover(i, i).weight(word_weights[static_cast<std::size_t>(i)]);
  int n = n_;
  while (n > last_high + 1 && n > 0 && starts_with_punctuation(words[static_cast<std::size_t>(n - 1)])) {
    --n;
  }
  combine(n, words);
  std::vector<TNode*> out;
  if (n > 1) collect(&cover(1, n - 1), out);
  return out;
}

void MIC::combine(int n, const std::vector<const char*>& words) {
  for (int len = 2; len < n; ++len) {
    for (int a = 1; a + len - 1 < n; ++a) {
      const int end = a + len - 1;
      IvCover& c = cover(a, end);
      for (int j = a; j < end; ++j) {
        c.set(&cover(a, j), &cover(j + 1, end),
              seam(words[static_cast<std::size_t>(j)], words[static_cast<std::size_t>(j + 1)]));
      }
    }
  }
}

void MIC::collect(const IvCover* c, std::vector<TNode*>& out) {
  if (c == nullptr) return;
  collect(c->left(), out);
  collect(c->right(), out);
  if (c->node() != nullptr) out.push_back(c->node());
}

}  // namespace lorvan
