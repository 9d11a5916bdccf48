#include "deptree/deps_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "command/irslist.h"
#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "deptree/trel.h"
#include "deptree/val_type.h"
#include "strfuncs.h"

namespace lorvan {

namespace {

bool is(const char* text, const char* keyword) {
  return text != nullptr && strcasecmp(text, keyword) == 0;
}

// The text of an atom element; null for lists, empty nodes and null.
const char* atom_text(const IRSlist* e) { return e != nullptr && !e->is_list() ? e->val() : nullptr; }

bool ends_words(const char* text) { return is(text, "assertions:") || is(text, "translation:"); }

// Whether `text` is a direction: a non-empty run of '<' and '>'.
bool is_direction(const char* text) {
  return text[0] != '\0' && text[std::strspn(text, "<>")] == '\0';
}

const char* word_or_empty(const DepTree& node) {
  return node.word() != nullptr ? node.word() : "()";
}

}  // namespace

DepsReader::DepsReader(Deps& deps) : deps_(deps), previous_(Deps::the_deps) {
  Deps::the_deps = &deps;
}

DepsReader::~DepsReader() { Deps::the_deps = previous_; }

void DepsReader::read(IRSlist* list) {
  IRSlist* end = list != nullptr ? read_words(list) : nullptr;
  for (const Entry& entry : entries_) read_structure(entry);
  deps_.init(nullptr);
  attach_to_top();
  for (IRSlist* e = end; e != nullptr; e = e->next()) {
    if (is(atom_text(e), "assertions:")) {
      read_assertions(e->next());
      break;
    }
  }
}

IRSlist* DepsReader::read_words(IRSlist* list) {
  const char* name = nullptr;
  bool nogap = false;
  word_nodes_.assign(1, nullptr);
  for (IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    if (!e->is_list()) {
      const char* text = e->val();
      if (text == nullptr) continue;
      if (ends_words(text)) return e;
      if (is(text, ":nogap")) {
        nogap = true;
      } else if (is(text, ":id") && atom_text(e->next()) != nullptr) {
        e = e->next();
        deps_.id_tag(e->val());
      } else {
        name = text;
      }
      continue;
    }
    DepTree* node = nullptr;
    if (const char* word = atom_text(e->first())) {
      deps_.add_space(nogap ? "" : " ");
      nogap = false;
      const int pos = deps_.add_word(word);
      if (pos > 0) {
        node = deps_.new_node();
        node->init(pos, nullptr);
        give_name(*node, name);
        word_nodes_.push_back(node);
      }
    } else if (name != nullptr) {
      // An empty node stands just before the next word.
      const int next = std::max(deps_.sentleng(), 1);
      if (next <= Deps::kMaxWordPosition) {
        node = deps_.new_node();
        node->low(next);
        node->high(next - 1);
        give_name(*node, name);
      }
    }
    if (node != nullptr) entry_index_[node] = static_cast<int>(entries_.size());
    entries_.push_back({e, node});
    name = nullptr;
  }
  return nullptr;
}

void DepsReader::read_structure(const Entry& entry) {
  if (entry.node == nullptr) return;
  DepTree& node = *entry.node;
  IRSlist* root = entry.list->first()->next();
  IRSlist* cat = root != nullptr ? root->next() : nullptr;
  if (cat == nullptr) return;  // a word outside the tree
  IRSlist* cursor = cat->next();
  read_governor(node, cursor);
  if (const char* rel = atom_text(cursor)) {
    node.rel(rel);
    cursor = cursor->next();
  }
  if (const char* text = atom_text(root)) {
    if (text[0] == '~') {
      const char* words = node.words();
      node.root(words[0] != '\0' ? words : "~");
    } else {
      node.root(text);
    }
  }
  node.cat(atom_text(cat));
  for (; cursor != nullptr; cursor = cursor->next()) {
    if (cursor->is_list()) read_field(node, cursor);
  }
  structured_.push_back(&node);
}

void DepsReader::give_name(DepTree& node, const char* name) {
  if (name == nullptr) return;
  if (deps_.get_named_node(name) != nullptr) {
    std::cerr << "Deps::read: the name " << name
              << " is given twice; the second node is named anew\n";
    return;
  }
  node.name(name);
}

void DepsReader::read_governor(DepTree& node, IRSlist*& cursor) {
  const char* gov_ref = atom_text(cursor);
  if (gov_ref == nullptr) return;
  cursor = cursor->next();
  if (std::strcmp(gov_ref, "*") == 0) return;
  // Forms with a second atom: a direction and a word, or "-" and a name.
  const bool directed = is_direction(gov_ref);
  const char* w = nullptr;
  if (directed || std::strcmp(gov_ref, "-") == 0) {
    w = atom_text(cursor);
    if (w != nullptr) cursor = cursor->next();
  }
  DepTree* gov = nullptr;
  if (directed) {
    const char dir = gov_ref[0];
    if (std::strspn(gov_ref, dir == '<' ? "<" : ">") != std::strlen(gov_ref)) {
      std::cerr << gov_ref << " is not a valid direction\n";
      return;
    }
    gov = w != nullptr ? search_word(node, dir, static_cast<int>(std::strlen(gov_ref)), w) : nullptr;
    if (gov == nullptr) {
      std::cerr << "the parent of `" << word_or_empty(node) << "' is not found, specified as: "
                << gov_ref << ' ' << (w != nullptr ? w : "") << '\n';
      return;
    }
  } else {
    gov = deps_.get_named_node(w != nullptr ? w : gov_ref);
    if (gov == nullptr) return;
  }
  attach(node, *gov, gov_ref, w);
}

DepTree* DepsReader::search_word(const DepTree& node, char dir, int count,
                                 const char* w) const {
  const int n = static_cast<int>(word_nodes_.size());
  const int from = node.pos() > 0 ? node.pos() : node.low();
  if (dir == '<') {
    // For a node without word the word at its own position is to its right.
    for (int k = std::max(node.pos() > 0 ? from + 1 : from, 1); k < n; ++k) {
      if (strcasecmp(word_nodes_[k]->word(), w) == 0 && --count == 0) return word_nodes_[k];
    }
  } else {
    for (int k = std::min(from - 1, n - 1); k >= 1; --k) {
      if (strcasecmp(word_nodes_[k]->word(), w) == 0 && --count == 0) return word_nodes_[k];
    }
  }
  return nullptr;
}

void DepsReader::attach(DepTree& node, DepTree& gov, const char* gov_ref, const char* w) {
  if (&gov == &node || node.is_ancestor_of(&gov)) {
    std::cerr << "the parent of `" << word_or_empty(node) << "' is already its descendent: "
              << gov_ref;
    if (w != nullptr) std::cerr << ' ' << w;
    std::cerr << '\n';
    return;
  }
  insert_under(gov, node);
}

void DepsReader::insert_under(DepTree& gov, DepTree& node) {
  if (!gov.ord_insert(&node) || !node.empty_span()) return;
  // ord_insert puts an empty node before the empty nodes at the same place;
  // those written before it in the text stay before it.
  const int index = entry_index_[&node];
  for (DepTree* s = node.next(); s != nullptr && s->empty_span() && s->low() == node.low();
       s = node.next()) {
    auto it = entry_index_.find(s);
    if (it == entry_index_.end() || it->second > index) break;
    s->insert_after(&node);
  }
}

void DepsReader::read_field(DepTree& node, IRSlist* field) {
  const char* name = atom_text(field->first());
  if (name == nullptr || is(name, "gov")) return;
  if (is(name, "w")) {
    if (const char* number = field->get_val(1)) {
      node.weight(static_cast<float>(std::strtod(number, nullptr)));
    }
    return;
  }
  if (is(name, "atts")) {
    read_atts(node, field->first()->next());
    return;
  }
  const int id = ValType::get_existing_id(name);
  ValType* type = ValType::val_type(id);
  if (type == nullptr) return;
  std::unique_ptr<IRSlist> head(field->remove_first());
  // A value printed as a list, such as a list of strings, is that list.
  IRSlist* args = field->length() == 1 && field->first()->is_list() ? field->first() : field;
  void* value = type->make_val(args);
  node.props()->add_propval(PropVal(id, value, 1.0f));
  type->del(value);  // the list stores its own copy
}

void DepsReader::read_atts(DepTree& node, IRSlist* text) {
  const AttInterpreterList* type = deps_.att_type();
  if (type == nullptr || text == nullptr) return;
  AttVec vec(type);
  if (text->is_list()) vec.initialize(text);
  node.attvec(&vec);
}

void DepsReader::attach_to_top() {
  DepTree* top = deps_.tree();
  // Nodes known to be under the top node by now; each climb stops at one,
  // so long chains cost one climb in all.
  std::unordered_set<const DepTree*> under_top{top};
  std::vector<DepTree*> path;
  for (DepTree* node : structured_) {
    path.clear();
    DepTree* r = node;
    for (; !under_top.contains(r) && r->parent() != nullptr; r = r->parent()) path.push_back(r);
    if (!under_top.contains(r)) {
      insert_under(*top, *r);
      path.push_back(r);
    }
    under_top.insert(path.begin(), path.end());
  }
}

void DepsReader::read_assertions(IRSlist* list) {
  if (list == nullptr || !list->is_list()) return;
  for (IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    const char* name = e->is_list() ? atom_text(e->first()) : nullptr;
    if (name == nullptr) continue;
    auto rel = std::make_unique<TRel>(name, 0, e->length() - 1);
    std::unique_ptr<IRSlist> head(e->remove_first());
    rel->init(e);
    deps_.add_rel(std::move(rel));
  }
}

}  // namespace lorvan
