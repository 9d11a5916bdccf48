// Editing functions: the actions of tree rules that move nodes.  Each takes
// the match handed to the action (input type "TreeMatch*") and node
// arguments -- expressions evaluated on the match, normally pattern
// variables or (match ...) -- of type "RSTree*".
//
//   (inherit-children NODE)     the siblings of NODE become its children:
//                               those before it, its own children, those
//                               after it; gives NODE
//   (adopt-following NODE)      the siblings after NODE become its last
//                               children, in order; gives NODE
//   (insert-before NODE ANCHOR) NODE moves just before (after) ANCHOR;
//   (insert-after NODE ANCHOR)  gives ANCHOR's parent, 0 when it has none
//   (insert-node NODE PARENT)   NODE becomes the first (last) child of
//   (append-node NODE PARENT)   PARENT; gives null
//   (detach-node NODE)          NODE leaves its parent, with its subtree;
//                               gives NODE
//
// The node of the match's root record -- for up and down rules the node
// at which the rule's walk stands -- cannot inherit children and, while it
// has a parent, cannot be inserted or appended elsewhere ("The root node of
// a tree match cannot inherit children", "Cannot insert the root node of a
// tree match", "Cannot append the root node of a tree match"); detaching it
// goes through TreeRule::the_iterator so that the walk goes on with the
// node that followed it.  A move that would put a node below itself is
// refused and changes nothing.  Nodes are never destroyed: a detached
// subtree stays with whoever owns its nodes (the Deps of a dependency
// tree).
#ifndef LORVAN_DEPTREE_TREE_EDIT_H_
#define LORVAN_DEPTREE_TREE_EDIT_H_

namespace lorvan {

void* inherit_children(void* match, void* node);
void* adopt_following(void* match, void* node);
void* detach_node(void* match, void* node);
void* ins_before(void* match, void* node, void* anchor);
void* insert_after(void* match, void* node, void* anchor);
void* insert_node(void* match, void* node, void* parent);
void* append_node(void* match, void* node, void* parent);

// Registers the seven functions as expression kinds with their help texts.
void register_tree_edit_functions();

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREE_EDIT_H_
