// RootCate: one entry of the parser's root list -- a category whose complete
// items may stand as the root of an analysis, with an optional condition
// and an optional weight expression, both evaluated on a PItem (input type
// "PItem*").  The parse forest collects the roots from these entries.
//
// Ownership: an entry owns its expressions; the category belongs to the
// parser's category table.
#ifndef LORVAN_PARSER_ROOT_CATE_H_
#define LORVAN_PARSER_ROOT_CATE_H_

#include <memory>

#include "expr/lexp.h"

namespace lorvan {

class GCate;
class ParseForest;
class VanticParser;

class RootCate {
 public:
  RootCate() = default;

  GCate* category() const { return category_; }
  void category(GCate* c) { category_ = c; }
  LExp* cond() const { return cond_.get(); }
  void cond(std::unique_ptr<LExp> e) { cond_ = std::move(e); }
  LExp* weight() const { return weight_.get(); }
  void weight(std::unique_ptr<LExp> e) { weight_ = std::move(e); }

  // Adds the forest nodes of this entry's root items to the forest's roots
  // (defined with the parse forest).
  void get_roots(VanticParser* parser, ParseForest& forest) const;

 private:
  GCate* category_ = nullptr;
  SubExp cond_;
  SubExp weight_;
};

}  // namespace lorvan

#endif  // LORVAN_PARSER_ROOT_CATE_H_
