// DepCmp: one evaluation run that compares dependency structures (the
// parser's answers) with reference structures (the keys), sentence by
// sentence.  It holds the run's counters and three optional conditions on
// dependency nodes (expressions with input type "RSTree*"):
//   - the key condition and the answer condition select the nodes of each
//     side that are within the scope of the evaluation;
//   - the reversible condition marks dependencies under which governor and
//     dependent may swap roles without counting as an error.
//
// Ownership: the run owns its conditions.  Not thread-safe; the program is
// single-threaded.
#ifndef LORVAN_DEPTREE_DEP_CMP_H_
#define LORVAN_DEPTREE_DEP_CMP_H_

#include <memory>

#include "expr/lexp.h"

namespace lorvan {

class DepTree;

// The counters of a sentence or of a whole run.
struct DepCounts {
  int kc = 0;  // key dependencies counted
  int ac = 0;  // answer dependencies counted
  int m = 0;   // missing: in the key, not in the answer
  int s = 0;   // spurious: in the answer, not in the key
  int e = 0;   // wrong governor
  int w = 0;   // words

  // Adds every counter of `other`.
  DepCounts& operator+=(const DepCounts& other);
};

class DepCmp {
 public:
  // A run with all counters 0 and the given conditions (null: none).
  DepCmp(std::unique_ptr<LExp> reversible, std::unique_ptr<LExp> key_cond,
         std::unique_ptr<LExp> answer_cond);
  DepCmp(const DepCmp&) = delete;
  DepCmp& operator=(const DepCmp&) = delete;

  // Sets every counter to 0; the conditions stay.
  void clear() { counts_ = DepCounts(); }

  // The run's counters.
  DepCounts& counts() { return counts_; }
  const DepCounts& counts() const { return counts_; }

  // The conditions, or null when not given.
  LExp* reversible_cond() const { return reversible_.get(); }
  LExp* key_cond() const { return key_cond_.get(); }
  LExp* answer_cond() const { return answer_cond_.get(); }

  // Whether the reversible condition exists and holds for `node` (a
  // non-null result).
  bool reversible(DepTree* node) const;

 private:
  std::unique_ptr<LExp> reversible_;
  std::unique_ptr<LExp> key_cond_;
  std::unique_ptr<LExp> answer_cond_;
  DepCounts counts_;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEP_CMP_H_
