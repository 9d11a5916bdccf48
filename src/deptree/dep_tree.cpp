#include "deptree/dep_tree.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <ostream>

#include "command/arg_types.h"
#include "deptree/dep_tree_value.h"
#include "deptree/deps.h"
#include "deptree/deps_printer.h"
#include "deptree/val_type.h"
#include "expr/lexp.h"
#include "lexical/lex_item.h"
#include "lexicon/avmeaning.h"
#include "strfuncs.h"

namespace lorvan {

int ANTECEDENT = 0;
int REFERENT = 0;
unsigned DepTree::idcounter = 0;

namespace {

void give_node_type(const char* name) {
  if (ValType::val_type(ValType::get_id(name)) == nullptr) {
    DepTreeValue& type = DepTreeValue::shared();
    ValType::add_val_type(name, &type, type.pointer_type());
  }
}

int rstree_type() {
  static const int id = arg_type_id("RSTree*");
  return id;
}

// The sentence position by which a dependent is ordered among its
// siblings: its pos, or for a negative pos that of its first descendant
// (pre-order) with a non-negative one, or the negative pos itself.
int position_key(const DepTree* node) {
  if (node->pos() >= 0) return node->pos();
  for (const DepTree* n = next_in_subtree(node, node); n != nullptr;
       n = next_in_subtree(n, node)) {
    if (n->pos() >= 0) return n->pos();
  }
  return node->pos();
}

bool is_lex_mod(const DepTree* child) {
  static const char* const kExcluded[] = {"(", ")", "and", "or"};
  if (child->rel() == nullptr || strcasecmp(child->rel(), "lex-mod") != 0) return false;
  const char* root = child->root();
  if (root == nullptr) return true;
  return std::none_of(std::begin(kExcluded), std::end(kExcluded),
                      [root](const char* w) { return strcasecmp(root, w) == 0; });
}

void widen(int& lo, int& hi, int value) {
  lo = std::min(lo, value);
  hi = std::max(hi, value);
}

}  // namespace

const DepTree* next_in_subtree(const DepTree* n, const DepTree* root, bool skip) {
  if (!skip && n->first() != nullptr) return n->first();
  for (; n != root; n = n->parent()) {
    if (n->next() != nullptr) return n->next();
  }
  return nullptr;
}

void init_prop_names() {
  static bool done = false;
  if (done) return;
  done = true;
  ANTECEDENT = ValType::get_id("ante");
  REFERENT = ValType::get_id("ref");
  give_node_type("ante");
  give_node_type("ref");
}

DepTree::DepTree(Deps* deps) : id_(idcounter++) { info_.deps = deps; }

DepTree::~DepTree() { release_children(); }

void DepTree::init(int pos, const char* rel) {
  info_.low = info_.high = info_.pos = static_cast<std::int16_t>(pos);
  info_.after_head = 0;
  info_.cat = nullptr;
  info_.root = nullptr;
  info_.attvec.reset();
  info_.weight = 0;
  info_.props.reset();
  this->rel(rel);
  info_.word = pos > 0 ? info_.deps->word(pos) : nullptr;
}

void DepTree::init(const LexItem& item, int lo, int hi) {
  const bool empty_item = item.high() < item.low();
  init(empty_item ? -1 : (item.low() == item.high() ? item.low() : item.head()), nullptr);
  low(lo);
  high(hi);
  cat(item.cate());
  if (empty_item) {
    root("~");
  } else if (lo == item.low() && hi == item.high()) {
    root(item.root());
  } else if (const char* text = info_.deps->words(lo, hi); text[0] != '\0') {
    info_.root = text;  // already in the arena
  }
  if (const AVMeaning* m = AVMeaning::castToAVMeaning(item.meaning())) unify(m->vec());
}

void DepTree::parent(DepTree* node) {
  if (node == nullptr) {
    detach();
  } else {
    node->ord_insert(this);
  }
}

void DepTree::rel(const char* text) { info_.rel = info_.deps->dup_str(text); }
void DepTree::cat(const char* text) { info_.cat = info_.deps->dup_str(text); }
void DepTree::word(const char* text) { info_.word = info_.deps->dup_str(text); }
void DepTree::root(const char* text) { info_.root = info_.deps->dup_str(text); }
void DepTree::name(const char* text) { info_.deps->named_node(text, this); }

const char* DepTree::root() const {
  if (info_.root != nullptr) return info_.root;
  return info_.pos > 0 ? info_.deps->word(info_.pos) : nullptr;
}

void DepTree::attvec(const AttVec* vec) {
  info_.attvec = vec != nullptr ? std::make_unique<AttVec>(*vec) : nullptr;
}

void DepTree::unify(const AttVec& vec) {
  if (info_.attvec != nullptr) {
    info_.attvec->complement_with(vec);
  } else {
    attvec(&vec);
  }
}

// ---- Properties ----

PropList* DepTree::props() {
  if (info_.props == nullptr) info_.props = std::make_unique<PropList>();
  return info_.props.get();
}

void* DepTree::get_propval(int id) const {
  return info_.props != nullptr ? info_.props->get_val(id) : nullptr;
}

int DepTree::get_propvals(int id, TSlist<PropVal>& out, bool remove) {
  if (info_.props == nullptr) return 0;
  const int found = info_.props->get_vals(id, out);
  if (remove && found > 0) info_.props->del_prop(id);
  return found;
}

DepTree* DepTree::antecedent() const { return cast(get_propval(ANTECEDENT)); }

void DepTree::antecedent(DepTree* node) {
  if (node == nullptr) return;
  info_.deps->name_node(node);
  props()->add_propval(PropVal(ANTECEDENT, value(node), 1.0f));
  node->props()->add_propval(PropVal(REFERENT, value(this), 1.0f));
}

void DepTree::referent(DepTree* node) {
  if (node == nullptr) return;
  props()->add_propval(PropVal(REFERENT, value(node), 1.0f));
}

void DepTree::getCorefNodes(std::vector<DepTree*>& out) {
  auto listed = [&out](DepTree* n) { return std::find(out.begin(), out.end(), n) != out.end(); };
  if (listed(this)) return;
  // out itself is the work list: every node appended is visited once.
  std::size_t next = out.size();
  out.push_back(this);
  for (; next < out.size(); ++next) {
    const PropList* props = out[next]->prop_list();
    if (props == nullptr) continue;
    for (const PropVal& e : *props) {
      DepTree* n = (e.id == ANTECEDENT || e.id == REFERENT) ? cast(e.value) : nullptr;
      if (n != nullptr && !listed(n)) out.push_back(n);
    }
  }
}

void DepTree::take_node_props(int id, std::vector<DepTree*>& out) {
  TSlist<PropVal> entries;
  if (get_propvals(id, entries, true) == 0) return;
  for (const PropVal& e : entries) {
    if (e.value != nullptr) out.push_back(cast(e.value));
  }
}

void DepTree::removeReferentNodes(std::vector<DepTree*>& out) { take_node_props(REFERENT, out); }

void DepTree::removeAntecedentNodes(std::vector<DepTree*>& out) {
  take_node_props(ANTECEDENT, out);
}

// ---- Queries ----

DepTree* DepTree::getChildByRel(const char* rel) const {
  if (rel == nullptr) return nullptr;
  for (DepTree* c = first(); c != nullptr; c = c->next()) {
    if (c->rel() != nullptr && strcasecmp(c->rel(), rel) == 0) return c;
  }
  return nullptr;
}

const char* DepTree::words() const {
  if (info_.pos <= 0 || empty_span()) return "";
  return info_.deps->words(info_.low, info_.high);
}

const char* DepTree::maxp() const { return info_.deps->words(this); }

void DepTree::getSubTreeSpan(int& lo, int& hi) const {
  for (const DepTree* n = this; n != nullptr; n = next_in_subtree(n, this)) {
    for (int p : {n->pos(), n->low(), n->high()}) {
      if (p > 0) widen(lo, hi, p);
    }
  }
}

void DepTree::getWordSpan(int& left, int& right) const {
  left = right = 0;
  for (const DepTree* c = first(); c != nullptr; c = c->next()) {
    if (!is_lex_mod(c)) continue;
    if (c->low() < pos()) left = std::max(left, pos() - c->low());
    if (c->high() > pos()) right = std::max(right, c->high() - pos());
  }
}

const char* DepTree::deepRoot(bool words) const {
  if (!words) return root();
  const DepTree* found = this;
  std::vector<const DepTree*> seen;
  for (const DepTree* n = this; n != nullptr; n = n->antecedent()) {
    if (n->pos() > 0) {
      found = n;
      break;
    }
    // An antecedent chain that runs in a circle has no word.
    if (std::find(seen.begin(), seen.end(), n) != seen.end()) break;
    seen.push_back(n);
  }
  int left;
  int right;
  found->getWordSpan(left, right);
  return info_.deps->words(found->pos() - left, found->pos() + right);
}

DepTree* DepTree::at_pos(int p) const {
  for (const DepTree* n = this; n != nullptr; n = next_in_subtree(n, this)) {
    if (n->pos() == p) return const_cast<DepTree*>(n);
  }
  return nullptr;
}

const char* DepTree::major_cat(std::string& buffer) const {
  const char* c = info_.cat;
  if (c == nullptr) return "";
  if (c[0] == '_' || std::strcmp(c, "NN") == 0) return "N";
  const char* underscore = std::strchr(c, '_');
  if (underscore == nullptr) return c;
  buffer.assign(c, underscore);
  return buffer.c_str();
}

void DepTree::find_bounds(LExp& cond, int& lo, int& hi) const {
  lo = low();
  hi = high();
  const DepTree* n = next_in_subtree(this, this);
  while (n != nullptr) {
    const bool holds = cond.eval(value(const_cast<DepTree*>(n)), rstree_type()) != nullptr;
    if (holds) {
      lo = std::min(lo, n->low());
      hi = std::max(hi, n->high());
    }
    n = next_in_subtree(n, this, !holds);
  }
}

// ---- Editing ----

bool after_head_flag(const DepTree& head, const DepTree& child) {
  if (!child.empty_span()) {
    if (head.empty_span()) return child.high() >= head.low();
    return head.pos() < child.pos() || child.high() >= head.high();
  }
  if (head.low() < child.low()) return true;
  if (!head.empty_span()) return child.high() >= head.high();
  return child.high() >= head.low() || head.low() == child.low();
}

bool DepTree::ord_insert(DepTree* child) {
  if (child == nullptr || child == this || child->is_ancestor_of(this)) return false;
  child->detach();
  child->after_head(after_head_flag(*this, *child));
  const int key = position_key(child);
  return RSTree::ord_insert(child, [key, child](RSTree*, RSTree* other) {
    const DepTree* c = static_cast<DepTree*>(other);
    const int other_key = position_key(c);
    if (key >= 0 && other_key >= 0) return other_key > key ? -1 : 1;
    return c->low() > child->high() ? -1 : 1;
  });
}

void DepTree::clear() {
  std::vector<DepTree*> pending{this};
  while (!pending.empty()) {
    DepTree* n = pending.back();
    pending.pop_back();
    for (DepTree* c = n->first(); c != nullptr; c = c->next()) pending.push_back(c);
    n->release_children();
  }
}

// ---- Printing ----

void DepTree::print(std::ostream& out, int indent) const {
  struct Frame {
    const DepTree* node;
    int indent;
    bool close;  // the frame closes node's parenthesis
  };
  std::vector<Frame> pending{{this, indent, false}};
  while (!pending.empty()) {
    const Frame f = pending.back();
    pending.pop_back();
    if (f.close) {
      out << ')';
      continue;
    }
    const DepTree* n = f.node;
    const DepTree* p = n->parent();
    if (p != nullptr) {
      if (p->length() < 2) {
        out << ' ';
      } else {
        out << '\n' << std::string(static_cast<std::size_t>(std::max(f.indent, 0)), ' ');
      }
    }
    if (!n->atom()) out << '(';
    if (p != nullptr) out << (n->after_head() ? "+++ " : "--- ");
    out << (n->root() != nullptr ? n->root() : "NIL") << " pos=" << n->pos() << " (" << n->low()
        << ", " << n->high() << ")";
    if (n->atom()) continue;
    pending.push_back({n, 0, true});
    const int inner = n->length() >= 2 ? f.indent + 2 : f.indent;
    for (const DepTree* c = n->last(); c != nullptr; c = c->prev()) {
      pending.push_back({c, inner, false});
    }
  }
}

void DepTree::print_tree(std::ostream& out, int& cursor, const LBitSet* atts) const {
  DepsPrinter(*info_.deps, out, atts).print_tree(*this, cursor);
}

void DepTree::print_node(std::ostream& out, int& cursor, const LBitSet* atts) const {
  DepsPrinter(*info_.deps, out, atts).print_node(*this, cursor);
}

// ---- Helpers ----

DepTree* getParent(const DepTree* node) {
  for (DepTree* p = node != nullptr ? node->parent() : nullptr; p != nullptr; p = p->parent()) {
    if (p->pos() >= 0) return p;
  }
  return nullptr;
}

DepTree* getMinimalCoveringTree(int p, DepTree* node) {
  auto covers = [p](const DepTree* n) {
    int lo = INT_MAX;
    int hi = INT_MIN;
    n->getSubTreeSpan(lo, hi);
    return lo <= p && p <= hi;
  };
  if (node == nullptr || !covers(node)) return nullptr;
  for (;;) {
    DepTree* c = node->first();
    while (c != nullptr && !covers(c)) c = c->next();
    if (c == nullptr) return node;
    node = c;
  }
}

}  // namespace lorvan
