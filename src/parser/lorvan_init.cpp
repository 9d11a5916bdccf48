#include "parser/lorvan_init.h"

#include <ostream>

#include "command/arg_types.h"
#include "deptree/trel_init.h"
#include "features/attpred_init.h"
#include "features/traceatt.h"
#include "lexical/lex_item.h"
#include "lexical/lexitem_init.h"
#include "lexicon/lexicon_init.h"
#include "parser/definition_commands.h"
#include "parser/forest_commands.h"
#include "parser/gcate.h"
#include "parser/pitem.h"
#include "parser/weight_commands.h"

namespace lorvan {

namespace {

// Trace entries show the root and category of the item a movement left.
void print_trace_item(std::ostream& out, const PItem* item) {
  const LexItem* l = item != nullptr ? item->lexitem() : nullptr;
  if (l == nullptr) return;
  const GCate* c = item->location();
  out << " " << (l->root() != nullptr ? l->root() : "") << " "
      << (l->cate() != nullptr ? l->cate() : (c != nullptr ? c->name() : ""));
}

}  // namespace

void lorvan_init() {
  static bool done = false;
  if (done) return;
  done = true;
  attpred_init();
  lexicon_init();
  lexitem_init();
  trel_init();
  arg_type_id("PItem*");
  arg_type_id("DepRel*");
  TraceAtt::set_item_printer(print_trace_item);
  weight_commands_init();
  forest_commands_init();
  definition_commands_init();
}

}  // namespace lorvan
