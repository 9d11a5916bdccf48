#include "parser/chart_printer.h"

#include <algorithm>
#include <iostream>

#include "lexical/lex_item.h"
#include "parser/dep_rel.h"
#include "parser/gcate.h"
#include "parser/pitem.h"
#include "parser/vantic_parser.h"

namespace lorvan {

namespace {

VanticParser* parser_of(const PItem* item) {
  const GCate* c = item->location();
  return c != nullptr ? c->parser() : VanticParser::the_parser;
}

void print_span(std::ostream& out, const PItem* item) {
  out << "[" << item->low() << "," << item->high() << "] ";
}

void print_root(std::ostream& out, const PItem* item) {
  const LexItem* l = item->lexitem();
  if (l != nullptr && l->root() != nullptr) out << " " << l->root();
}

}  // namespace

void print_pitem(std::ostream& out, const PItem* item) {
  if (item == nullptr) {
    out << "nil";
    return;
  }
  VanticParser* parser = parser_of(item);
  print_span(out, item);
  if (parser != nullptr) {
    const char* w = parser->words(item->low(), item->high());
    if (w != nullptr) out << w;
  }
  const LBitSet* show = parser != nullptr ? parser->show_attributes() : nullptr;
  for (const PItem* p = item; p != nullptr; p = p->eq_pitem()) {
    out << "\n  w=" << p->weight() << " ";
    p->attvec().print(out, show);
    const DepRel* r = p->deprel();
    if (r != nullptr && p->modifier() == nullptr) {
      out << " from " << r->modifier()->name() << " (" << r->type_text() << ")";
    }
    print_root(out, p);
  }
}

void printitem(const PItem* item) {
  if (item == nullptr) {
    std::cerr << "nil\n";
    return;
  }
  print_span(std::cerr, item);
  std::cerr << "w=" << item->weight() << " ";
  item->attvec().print(std::cerr);
  print_root(std::cerr, item);
  std::cerr << "\n";
}

void print_chart(std::ostream& out, const GCate& category) {
  const int first = std::max(category.head(), 0);
  const int n = category.parser()->sentleng();
  for (int h = 0; h < n; ++h) {
    bool started = false;
    for (int p = first; p <= category.num_positions(); ++p) {
      const ItemList* items = category.find_headed_items(p, h);
      if (items == nullptr || items->empty()) continue;
      if (!started) out << "\nBucket " << h << ":\n";
      started = true;
      out << "Position: " << p << "\n";
      for (const PItem* item : *items) {
        print_pitem(out, item);
        out << "\n";
      }
      out << "\n";
    }
  }
}

}  // namespace lorvan
