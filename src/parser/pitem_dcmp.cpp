#include "parser/pitem_dcmp.h"

#include <algorithm>

#include "parser/tnode.h"

namespace lorvan {

bool cmp_PItemDcmp(const PItemDcmp& a, const PItemDcmp& b) { return a.weight() < b.weight(); }

void PItemDcmp::insert(std::unique_ptr<PItemDcmp> d) {
  auto at = std::upper_bound(
      alternatives_.begin(), alternatives_.end(), d,
      [](const std::unique_ptr<PItemDcmp>& x, const std::unique_ptr<PItemDcmp>& y) {
        return cmp_PItemDcmp(*x, *y);
      });
  alternatives_.insert(at, std::move(d));
}

double PItemDcmp::analyses(const TNode* owner) const {
  double n = alternatives_.empty() ? 1.0 : 0.0;
  for (const auto& alt : alternatives_) n += alt->analyses(owner);
  if (node_ != nullptr && node_ != owner) n *= node_->analyses();
  return n;
}

void PItemDcmpIterator::reset(const PItemDcmp& root) {
  path_.clear();
  for (PItemDcmp* d = root.best(); d != nullptr; d = d->best()) path_.push_back(d);
  std::reverse(path_.begin(), path_.end());
}

}  // namespace lorvan
