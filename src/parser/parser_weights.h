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

class DepRel;
class PItem;
class StrBufs;

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

}  // namespace lorvan

#endif  // LORVAN_PARSER_PARSER_WEIGHTS_H_
