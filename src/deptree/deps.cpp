#include "deptree/deps.h"

#include <algorithm>
#include <climits>
#include <iostream>
#include <string>

#include "byte_reader.h"
#include "command/irslist.h"
#include "deptree/deps_binary.h"
#include "deptree/deps_printer.h"
#include "deptree/deps_reader.h"
#include "strfuncs.h"

namespace lorvan {

Deps* Deps::the_deps = nullptr;

namespace {

constexpr std::size_t kArenaBlock = 512;

// The serial number of the next id tag.
unsigned tag_counter = 0;

// The lowest node that is an ancestor-or-self of both a and b, or null
// when they are in different trees.
DepTree* lowest_common_ancestor(DepTree* a, DepTree* b) {
  int da = a->level();
  int db = b->level();
  for (; da > db; --da) a = a->parent();
  for (; db > da; --db) b = b->parent();
  while (a != b) {
    a = a->parent();
    b = b->parent();
  }
  return a;
}

}  // namespace

Deps::Deps(const AttInterpreterList* type) : arena_(kArenaBlock), att_type_(type) {
  init_prop_names();
  assign_id_tag();
}

Deps::~Deps() = default;

DepTree* Deps::new_node() {
  nodes_.push_back(std::make_unique<DepTree>(this));
  return nodes_.back().get();
}

void Deps::pack(StrBufs& out) const { pack_deps(*this, out); }

bool Deps::unpack(ByteReader& in) {
  clear();
  if (unpack_deps(*this, in)) return true;
  clear();
  return false;
}

bool Deps::unpack(const char*& cursor, const char* end) {
  ByteReader in(cursor, static_cast<std::size_t>(end - cursor));
  const bool ok = unpack(in);
  cursor = in.cursor();
  return ok;
}

void Deps::clear() {
  tree_ = nullptr;
  named_.clear();
  by_name_.clear();
  nodes_.clear();
  assertions_.clear();
  words_.clear();
  spaces_.clear();
  arena_.clear();
  empty_counter_ = 0;
  foci_ = LBitSet();
  overflow_reported_ = false;
  assign_id_tag();
}

void Deps::init(DepTree* node) {
  tree_ = new_node();
  if (node != nullptr) tree_->ord_insert(node);
}

DepTree* Deps::lexitem_node(const LexItem& item, int lo, int hi) {
  DepTree* node = new_node();
  node->init(item, lo, hi);
  return node;
}

// ---- Words ----

void Deps::add_space(const char* text) {
  if (words_.empty()) {
    words_.add_high(nullptr);
    spaces_.add_high(nullptr);
  }
  if (text == nullptr) text = "";
  while (spaces_.length() < words_.length()) spaces_.add_high("");
  if (spaces_.length() > words_.length()) {
    spaces_.high() = arena_.concat(spaces_.high(), text);
  } else {
    spaces_.add_high(arena_.copy(text));
  }
}

int Deps::add_word(const char* text) {
  if (words_.empty()) {
    words_.add_high(nullptr);
    spaces_.add_high(nullptr);
  }
  if (text == nullptr) return 0;
  if (words_.length() > kMaxWordPosition) {
    if (!overflow_reported_) {
      std::cerr << "Deps: a sentence holds at most " << kMaxWordPosition
                << " words; the words after them are left out\n";
      overflow_reported_ = true;
    }
    return 0;
  }
  words_.add_high(arena_.copy(text));
  while (spaces_.length() < words_.length()) spaces_.add_high("");
  return words_.length() - 1;
}

const char* Deps::word(int i) const { return i >= 1 && i < words_.length() ? words_[i] : ""; }

const char* Deps::space(int i) const {
  if (i < 1 || i >= words_.length() || i >= spaces_.length()) return "";
  return spaces_[i] != nullptr ? spaces_[i] : "";
}

const char* Deps::words(int i, int j) {
  i = std::max(i, 1);
  j = std::min(j, sentleng() - 1);
  if (i > j) return "";
  if (i == j) return word(i);
  arena_.push(word(i));
  for (int k = i + 1; k <= j; ++k) {
    if (space(k)[0] != '\0') arena_.push(' ');
    arena_.push(word(k));
  }
  return arena_.finish();
}

const char* Deps::words(const DepTree* node) {
  int lo = INT_MAX;
  int hi = INT_MIN;
  node->getSubTreeSpan(lo, hi);
  return lo <= hi ? words(lo, hi) : "";
}

// ---- Nodes ----

DepTree* Deps::at_pos(int p) const { return tree_ != nullptr ? tree_->at_pos(p) : nullptr; }

void Deps::name_node(DepTree* node) {
  if (node == nullptr || node->name() != nullptr) return;
  if (node->pos() > 0) {
    const std::string name = std::to_string(node->pos());
    if (get_named_node(name.c_str()) == nullptr) {
      named_node(name.c_str(), node);
      return;
    }
    // A text read in may have given the position's name to another node.
  }
  std::string name;
  do {
    name = "E" + std::to_string(empty_counter_++);
  } while (get_named_node(name.c_str()) != nullptr);
  named_node(name.c_str(), node);
}

std::string Deps::name_key(const char* name) {
  // Names compare as strcasecmp does: ASCII letters without case, other
  // bytes exactly.
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

void Deps::named_node(const char* name, DepTree* node) {
  if (name == nullptr || node == nullptr) return;
  if (const char* old = node->info_.name) {
    const std::string key = name_key(old);
    auto it = by_name_.find(key);
    if (it != by_name_.end() && it->second == node) {
      // Another node of the old name, if any, is now the first.
      by_name_.erase(it);
      for (DepTree* n : named_) {
        if (n != node && name_key(n->name()) == key) {
          by_name_.emplace(key, n);
          break;
        }
      }
    }
  } else {
    named_.push_back(node);
  }
  node->info_.name = dup_str(name);
  by_name_.emplace(name_key(name), node);
}

DepTree* Deps::get_named_node(const char* name) const {
  if (name == nullptr) return nullptr;
  auto it = by_name_.find(name_key(name));
  return it != by_name_.end() ? it->second : nullptr;
}

void Deps::attachIsolatedNodes() {
  if (tree_ == nullptr) init(nullptr);
  const int n = sentleng();
  if (n <= 1) return;
  // Attached nodes by position, and for each position the nearest one to
  // its right.
  std::vector<DepTree*> at(static_cast<std::size_t>(n), nullptr);
  for (DepTree* node = tree_; node != nullptr; node = next_in_subtree(node, tree_)) {
    const int p = node->pos();
    if (p > 0 && p < n && at[p] == nullptr && node->parent() != nullptr) at[p] = node;
  }
  std::vector<DepTree*> right(static_cast<std::size_t>(n) + 1, nullptr);
  for (int i = n - 1; i >= 1; --i) right[i] = at[i] != nullptr ? at[i] : right[i + 1];
  DepTree* left = nullptr;
  for (int i = 1; i < n; ++i) {
    if (at[i] != nullptr) {
      left = at[i];
      continue;
    }
    DepTree* point = nullptr;
    if (left != nullptr && right[i] != nullptr) point = lowest_common_ancestor(left, right[i]);
    if (point == nullptr) point = tree_;
    DepTree* node = new_node();
    node->init(i, "punc");
    node->info_.root = words_[i];
    point->ord_insert(node);
  }
}

float Deps::total_weight() const {
  float sum = 0;
  for (const DepTree* n = tree_; n != nullptr; n = next_in_subtree(n, tree_)) sum += n->weight();
  return sum;
}

// ---- Other contents ----

const char* Deps::dup_str(const char* text) {
  return text != nullptr ? arena_.copy(text) : nullptr;
}

void Deps::assign_id_tag() { id_tag_ = arena_.copy(std::to_string(tag_counter++)); }

void Deps::add_rel(std::unique_ptr<TRel> rel) {
  if (rel != nullptr) assertions_.push_back(std::move(rel));
}

// ---- Text form ----

void Deps::print(std::ostream& out, const LBitSet* atts) {
  if (tree_ == nullptr) return;
  for (DepTree* n = tree_; n != nullptr; n = next_in_subtree(n, tree_)) name_node(n);
  DepsPrinter(*this, out, atts).print();
}

void Deps::print_word(std::ostream& out, int pos, const LBitSet* atts) const {
  DepsPrinter(*this, out, atts).print_word(pos);
}

void Deps::read(const char* text) {
  std::unique_ptr<Tokenizer> tokenizer = make_command_tokenizer();
  std::unique_ptr<IRSlist> list = make_irslist(text != nullptr ? text : "", tokenizer.get());
  read(list.get());
}

void Deps::read(IRSlist* list) {
  clear();
  DepsReader(*this).read(list);
}

}  // namespace lorvan
