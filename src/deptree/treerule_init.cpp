#include "deptree/treerule_init.h"

#include <memory>

#include "command/cmd_interpreter.h"
#include "deptree/tree_edit.h"
#include "deptree/tree_functions.h"
#include "deptree/tree_modifier.h"
#include "deptree/tree_patterns.h"

namespace lorvan {

namespace {

// Registers a kind under its own name with the default help text.
template <class Kind>
void kind() {
  LExp::exp_proto(std::make_unique<Kind>(), nullptr, nullptr);
}

void register_patterns() {
  kind<NodeCond>();
  kind<LeafCond>();
  kind<OptRTPat>();
  kind<PlusRTPat>();
  kind<StarRTPat>();
  kind<BranchCond>();
  kind<BranchUCond>();
  kind<BranchQCond>();
  kind<PathCond>();
  kind<AttachmentPoints>();
}

void register_tree_functions() {
  kind<ExistChild>();
  kind<ExistMatch>();
  kind<ExistDecendent>();
  kind<ExistCCmd>();
  kind<ExistCCmdOrAncestor>();
  kind<AllChildren>();
  kind<SelfOrExistAncestor>();
  kind<NumChildren>();
  kind<FirstChild>();
  kind<LastChild>();
  kind<RSTreeGetNode>();
  kind<RSTreeParent>();
  kind<TreeRoot>();
  kind<MatchNode>();
  kind<ForAllMatches>();
  kind<AncestorOf>();
}

}  // namespace

void treerule_init() {
  static bool done = false;
  if (done) return;
  done = true;
  rstree_type();
  tree_match_type();
  register_patterns();
  register_tree_functions();
  register_tree_edit_functions();
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->enter("def-tree-rules", def_tree_rules,
                                         "(def-tree-rules <name> <rule> ... <rule>)");
  CmdInterpreter::the_interpreter->enter("clear-tree-rules", clear_tree_rules,
                                         "(clear-tree-rules <name>)");
}

}  // namespace lorvan
