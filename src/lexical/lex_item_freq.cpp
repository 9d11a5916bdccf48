#include "lexical/lex_item_freq.h"

#include "lexical/lex_item.h"
#include "lexicon/freq_meaning.h"

namespace lorvan {

void set_freq_count(LexItem* item, float default_count) {
  item->weight(static_cast<float>(freq_weight(item->lex_entry(), item->cate(), default_count)));
}

}  // namespace lorvan
