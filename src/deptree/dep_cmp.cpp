#include "deptree/dep_cmp.h"

#include <utility>

#include "command/arg_types.h"
#include "deptree/dep_tree.h"

namespace lorvan {

DepCounts& DepCounts::operator+=(const DepCounts& other) {
  kc += other.kc;
  ac += other.ac;
  m += other.m;
  s += other.s;
  e += other.e;
  w += other.w;
  return *this;
}

DepCmp::DepCmp(std::unique_ptr<LExp> reversible, std::unique_ptr<LExp> key_cond,
               std::unique_ptr<LExp> answer_cond)
    : reversible_(std::move(reversible)),
      key_cond_(std::move(key_cond)),
      answer_cond_(std::move(answer_cond)) {}

bool DepCmp::reversible(DepTree* node) const {
  static const int rstree = arg_type_id("RSTree*");
  return reversible_ != nullptr && node != nullptr &&
         reversible_->eval(DepTree::value(node), rstree) != nullptr;
}

}  // namespace lorvan
