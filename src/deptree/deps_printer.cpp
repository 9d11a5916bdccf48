#include "deptree/deps_printer.h"

#include <algorithm>
#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "deptree/val_type.h"
#include "strbufs.h"
#include "strfuncs.h"

namespace lorvan {

int PRINT_GOV = 1;
int USE_ALIAS = 1;
int PRINT_DEPTREE_WEIGHT = 1;

namespace {

const char* quoted(const char* text) { return StrBufs::quote_white(text); }

bool has_line(const DepTree& node) { return node.root() != nullptr; }

// "~" for a root that is none or the word itself (ignoring case), else the
// root.
const char* root_text(const char* root, const char* word) {
  const bool same = root == nullptr || (word != nullptr && strcasecmp(root, word) == 0);
  return same ? "~" : quoted(root);
}

// The nodes of `top`'s subtree that have a line, in the order the tree
// gives: a node's dependents in order, the node itself just before its
// first dependent that follows it, or after all of them.
std::vector<const DepTree*> tree_order(const DepTree& top) {
  struct Frame {
    const DepTree* node;
    const DepTree* child;  // the next dependent to visit
    bool placed;           // the node's line has its place
  };
  std::vector<const DepTree*> order;
  std::vector<Frame> pending{{&top, top.first(), false}};
  while (!pending.empty()) {
    Frame& f = pending.back();
    if (f.child == nullptr) {
      if (!f.placed && has_line(*f.node)) order.push_back(f.node);
      pending.pop_back();
      continue;
    }
    const DepTree* c = f.child;
    f.child = c->next();
    if (!f.placed && c->after_head()) {
      f.placed = true;
      if (has_line(*f.node)) order.push_back(f.node);
    }
    pending.push_back({c, c->first(), false});
  }
  return order;
}

// Word lines must come in sentence order, since reading numbers the words
// by their lines.  A tree whose dependents cross their governors gives
// word nodes out of order; they are put back in order (stable), each
// taking the empty nodes that stood just before it along.  In-order trees
// keep the order the tree gives.
void sort_by_position(std::vector<const DepTree*>& order) {
  auto is_word = [](const DepTree* n) { return n->pos() > 0; };
  std::vector<int> key(order.size());
  int next_word_pos = 0;
  for (std::size_t i = order.size(); i-- > 0;) {
    if (is_word(order[i])) next_word_pos = order[i]->pos();
    key[i] = is_word(order[i]) || next_word_pos > 0 ? next_word_pos : INT_MAX;
  }
  if (std::is_sorted(key.begin(), key.end())) return;
  std::vector<std::size_t> index(order.size());
  for (std::size_t i = 0; i < index.size(); ++i) index[i] = i;
  std::stable_sort(index.begin(), index.end(),
                   [&key](std::size_t a, std::size_t b) { return key[a] < key[b]; });
  std::vector<const DepTree*> sorted;
  sorted.reserve(order.size());
  for (std::size_t i : index) sorted.push_back(order[i]);
  order.swap(sorted);
}

}  // namespace

void DepsPrinter::print() {
  const DepTree* top = deps_.tree();
  if (top == nullptr) return;
  out_ << '(';
  if (deps_.id_tag() != nullptr) out_ << ":id " << quoted(deps_.id_tag());
  if (PRINT_DEPTREE_WEIGHT != 0) out_ << " ;;total-weight " << deps_.total_weight();
  out_ << '\n';
  int cursor = 1;
  print_tree(*top, cursor);
  print_outside_words(cursor, deps_.sentleng());
  if (!deps_.assertions().empty()) {
    out_ << "assertions: (\n";
    for (const auto& rel : deps_.assertions()) {
      out_ << ' ';
      rel->print(out_);
      out_ << '\n';
    }
    out_ << " )\n";
  }
  out_ << ")\n";
}

void DepsPrinter::print_tree(const DepTree& node, int& cursor) {
  std::vector<const DepTree*> order = tree_order(node);
  sort_by_position(order);
  for (const DepTree* n : order) print_node(*n, cursor);
}

void DepsPrinter::print_node(const DepTree& node, int& cursor) {
  print_outside_words(cursor, node.pos());
  // The node's own word is printed now (a node whose word was printed
  // already, or that has none, leaves the cursor alone).
  if (!node.empty_span() && node.pos() == cursor) ++cursor;
  if (node.name() != nullptr) out_ << quoted(node.name());
  out_ << "\t(" << (node.word() != nullptr ? quoted(node.word()) : "()") << '\t';
  out_ << root_text(node.root(), node.word()) << '\t' << quoted(node.cat()) << '\t';
  print_governor(node);
  print_extras(node);
  out_ << ')';
  print_nogap(node.pos());
  out_ << '\n';
}

void DepsPrinter::print_word(int pos) {
  out_ << " (" << quoted(deps_.word(pos)) << '\t';
  const DepTree* node = deps_.at_pos(pos);
  if (node != nullptr) {
    out_ << root_text(node->root(), deps_.word(pos)) << ' ';
    if (atts_ == nullptr) {
      out_ << quoted(node->cat());
    } else if (node->attvec() != nullptr) {
      node->attvec()->print(out_, atts_, USE_ALIAS);
    } else {
      out_ << "()";
    }
    out_ << '\t';
    // A governor without word that has a name stands for the relation of
    // its own governor to the node.
    const DepTree* p = node->parent();
    const bool through_empty = p != nullptr && p->pos() < 0 && p->name() != nullptr;
    const DepTree* gov = through_empty && p->pos() == -1 ? p->parent() : p;
    if (gov != nullptr && gov->pos() > 0) {
      print_relative(*node, *gov);
      const char* rel = through_empty ? p->rel() : node->rel();
      if (rel != nullptr) out_ << '\t' << quoted(rel);
    } else {
      out_ << '*';
    }
  }
  out_ << ')';
}

void DepsPrinter::print_outside_word(int pos) {
  out_ << pos << "\t(" << quoted(deps_.word(pos)) << ')';
  print_nogap(pos);
  out_ << '\n';
}

void DepsPrinter::print_outside_words(int& cursor, int end) {
  end = std::min(end, deps_.sentleng());
  for (; cursor < end; ++cursor) print_outside_word(cursor);
}

void DepsPrinter::print_nogap(int pos) {
  if (pos >= 1 && pos < deps_.sentleng() - 1 && deps_.space(pos + 1)[0] == '\0') {
    out_ << " :nogap";
  }
}

void DepsPrinter::print_governor(const DepTree& node) {
  const DepTree* p = node.parent();
  if (p == nullptr || (p->low() < 0 && p->high() < 0)) {
    out_ << '*';
  } else if (p->name() != nullptr) {
    out_ << quoted(p->name());
  } else {
    print_relative(node, *p);
  }
}

void DepsPrinter::print_relative(const DepTree& node, const DepTree& gov) {
  const int target = gov.pos();
  const char* w = deps_.word(target);
  // Reading counts to the right from just after the node's word (from its
  // low for a node without word), to the left from just before that.
  const bool has_word = node.pos() > 0;
  const int right_start = has_word ? node.pos() + 1 : node.low();
  const int left_start = (has_word ? node.pos() : node.low()) - 1;
  bool right = has_word ? target > node.pos() : gov.low() >= node.low();
  // A governor the chosen direction cannot reach lies the other way.
  if (right && target < right_start) right = false;
  if (!right && target > left_start) right = true;
  int count = 0;
  if (right) {
    for (int k = right_start; k <= target; ++k) count += strcasecmp(deps_.word(k), w) == 0;
  } else {
    for (int k = left_start; k >= target; --k) count += strcasecmp(deps_.word(k), w) == 0;
  }
  // No word to count (a governor without word, or one at the node's own
  // position) cannot be referred to by words.
  if (target <= 0 || count == 0) {
    out_ << '*';
    return;
  }
  out_ << std::string(static_cast<std::size_t>(count), right ? '<' : '>') << ' ' << quoted(w);
}

void DepsPrinter::print_extras(const DepTree& node) {
  if (node.rel() != nullptr) out_ << '\t' << quoted(node.rel());
  const DepTree* p = node.parent();
  if (PRINT_GOV != 0 && p != nullptr && p->root() != nullptr) {
    out_ << "\t(gov " << quoted(p->root()) << ')';
  }
  if (const PropList* props = node.prop_list()) {
    for (const PropVal& e : *props) {
      ValType* type = ValType::val_type(e.id);
      if (type == nullptr) continue;
      const char* text = type->toString(e.value);
      out_ << " (" << ValType::name(e.id) << ' ' << (text != nullptr ? text : "()") << ')';
    }
  }
  if (atts_ != nullptr && node.attvec() != nullptr) {
    out_ << "\t(atts ";
    node.attvec()->print(out_, atts_, USE_ALIAS);
    out_ << ')';
  }
  if (PRINT_DEPTREE_WEIGHT != 0) out_ << " (w " << node.weight() << ')';
}

}  // namespace lorvan
