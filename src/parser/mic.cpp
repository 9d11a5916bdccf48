#include "parser/mic.h"

#include "tarray.h"

namespace lorvan {

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

void MIC::slot_weight(int i, float weight) { cover(i, i).weight(weight); }

void MIC::combine(int n, const std::vector<float>& seam) {
  if (n > n_) n = n_;
  for (int len = 2; len < n; ++len) {
    for (int a = 1; a + len - 1 < n; ++a) {
      const int end = a + len - 1;
      IvCover& c = cover(a, end);
      for (int j = a; j < end; ++j) c.set(&cover(a, j), &cover(j + 1, end), seam[j]);
    }
  }
}

void MIC::collect(int n, std::vector<TNode*>& out) {
  if (n > n_) n = n_;
  if (n > 1) collect(&cover(1, n - 1), out);
}

void MIC::collect(const IvCover* c, std::vector<TNode*>& out) {
  if (c == nullptr) return;
  collect(c->left(), out);
  collect(c->right(), out);
  if (c->node() != nullptr) out.push_back(c->node());
}

}  // namespace lorvan
