// Word-frequency weights of lexical items: an item made from a lexicon
// entry that counts the word's uses per category ("freq" meaning) gets the
// count of its own category as its weight.
//
// Nothing is owned here; the item stays its analyzer's.
#ifndef LORVAN_LEXICAL_LEX_ITEM_FREQ_H_
#define LORVAN_LEXICAL_LEX_ITEM_FREQ_H_

namespace lorvan {

class LexItem;

// Sets the weight of `item` to the count its lexicon entry's "freq"
// meaning gives the item's category (compared without case), or to
// `default_count` when the item has no entry, no category, or the entry no
// such count; either way truncated toward zero to a whole number.
void set_freq_count(LexItem* item, float default_count);

}  // namespace lorvan

#endif  // LORVAN_LEXICAL_LEX_ITEM_FREQ_H_
