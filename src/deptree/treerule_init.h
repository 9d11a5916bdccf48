// Registration of tree rules: the commands def-tree-rules and
// clear-tree-rules (tree_modifier.h), the pattern kinds (tree_patterns.h),
// the tree functions (tree_functions.h) and the editing functions
// (tree_edit.h), and the type names "RSTree*" and "TreeMatch*".
#ifndef LORVAN_DEPTREE_TREERULE_INIT_H_
#define LORVAN_DEPTREE_TREERULE_INIT_H_

namespace lorvan {

// Runs once; later calls do nothing.  Registers the commands with
// CmdInterpreter::the_interpreter, creating the interpreter when there is
// none yet.
void treerule_init();

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREERULE_INIT_H_
