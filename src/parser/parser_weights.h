// Free helpers of the statistical weights: the relation name of a
// dependency, the part-of-speech key of an item and the bottom of an item's
// head chain.  VanticParser's weight operations (get_weight, get_weight_aux,
// get_head_word, weight_of_word) are defined in parser_weights.cpp too.
//
// Nothing here owns anything: results point into the items, the relations,
// their attribute values or the arena given.
#ifndef LORVAN_PARSER_PARSER_WEIGHTS_H_
#define LORVAN_PARSER_PARSER_WEIGHTS_H_

namespace lorvan {

class AttVec;
class AVList;
class DepRel;
class LexItem;
class PItem;
class StrBufs;
class TraceVal;

// The relation name under which the dependency of `modifier` on `head`
// through `rel` is weighed: the modifier's "pform" for a prepositional
// modifier; for a complement relation the role of the head's matching
// "args" element; for a head with pending movements the role of the first
// trace of the movement the modifier fills; otherwise the relation's type
// (possibly null).
const char* get_dep_type(DepRel* rel, PItem* head, PItem* modifier);

// The part-of-speech key of the item's category name: "NN" gives "N", "I"
// gives "V", any other name its prefix before the first '_'.  The result
// may live in `arena`.
const char* get_pos(PItem* item, StrBufs& arena);

// The item at the bottom of the chain of head() links starting at `item`.
PItem* init_item(PItem* item);

// Readers of the built-in attributes of a vector: the list held by the
// list attribute `att` ("args", "move"), the "trace" value and the
// "lexitem"; null when undefined (or when the attribute is unknown).
const AVList* avlist_val(const AttVec& vec, int att);
const TraceVal* trace_val(const AttVec& vec);
const LexItem* lexitem_val(const AttVec& vec);
// The "role" of element k of the item's "args" list; null when there is no
// such element or it has no role.
const char* arg_role(const PItem* item, int k);

}  // namespace lorvan

#endif  // LORVAN_PARSER_PARSER_WEIGHTS_H_
