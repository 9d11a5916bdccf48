#include "features/att_interpreter_list.h"

#include <cstring>
#include <iostream>

#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/attvec.h"

namespace lorvan {
namespace {

constexpr const char* kTypeName = "AttInterpreterList";

void delete_list(void* object) { delete static_cast<AttInterpreterList*>(object); }

const char* or_empty(const char* s) { return s != nullptr ? s : ""; }

}  // namespace

AttInterpreterList::AttInterpreterList(const char* name, int capacity)
    : name_(or_empty(name)), atts_(capacity) {
  if (name != nullptr) register_named_obj(name, this, kTypeName, delete_list);
}

AttInterpreterList::AttInterpreterList(const char* name, AttInterpreter* const* descriptions)
    : AttInterpreterList(name, 0) {
  if (descriptions == nullptr) return;
  for (; *descriptions != nullptr && (*descriptions)->name()[0] != '\0'; ++descriptions) {
    add(*descriptions);
  }
}

AttInterpreterList::~AttInterpreterList() {
  // Alias vectors refer to the descriptions, so they go first.
  aliases_.clear();
  for (AttInterpreter* att : atts_) delete att;
}

// ---------------------------------------------------------------- attributes

bool AttInterpreterList::add(AttInterpreter* att) {
  if (att == nullptr) return false;
  for (const AttInterpreter* other : atts_) {
    if (std::strcmp(other->name(), att->name()) != 0) continue;
    std::cerr << "Mutiplely defined attribute: " << att->name() << '\n';
    delete att;
    return false;
  }
  const int index = atts_.length();
  att->index(index);
  atts_.add_high(att);
  if (att->owner() == nullptr) att->owner(this);
  att->update_list(this);
  if (att->releases_values()) release_mask_.set(index);
  return true;
}

AttInterpreter* AttInterpreterList::search_att_index(const char* name, int& index) const {
  if (name == nullptr) return nullptr;
  if (name[0] == '+' || name[0] == '-' || name[0] == '~') ++name;
  for (int i = 0; i < atts_.length(); ++i) {
    if (std::strcmp(atts_[i]->name(), name) == 0) {
      index = i;
      return atts_[i];
    }
  }
  return nullptr;
}

AttInterpreterList* AttInterpreterList::get_att_list(const char* name) {
  return static_cast<AttInterpreterList*>(get_named_obj(name, kTypeName, 0));
}

namespace {

// Finds the attribute or reports why not.  `quoted` selects the message
// form of get_att (names in quotes, a colon after the call).
AttInterpreter* find_attribute(const char* type, const char* attribute, bool quoted,
                               int& index) {
  AttInterpreterList* list = AttInterpreterList::get_att_list(type);
  AttInterpreter* att = list != nullptr ? list->search_att_index(attribute, index) : nullptr;
  if (att != nullptr) return att;
  const char* q = quoted ? "\"" : "";
  std::cerr << "AttInterpreterList::get_att(\"" << or_empty(type) << "\", \""
            << or_empty(attribute) << "\")" << (quoted ? ": " : "") << '\n';
  if (list != nullptr) {
    std::cerr << q << or_empty(attribute) << q << " is not an attribute\n";
  } else {
    std::cerr << q << or_empty(type) << q << " is not a type of attribute value vector\n";
  }
  return nullptr;
}

}  // namespace

int AttInterpreterList::get_att(const char* type, const char* attribute) {
  int index = -1;
  return find_attribute(type, attribute, true, index) != nullptr ? index : -1;
}

AttVal AttInterpreterList::get_val(const char* type, const char* attribute, const char* value) {
  int index = -1;
  AttInterpreter* att = find_attribute(type, attribute, false, index);
  return att != nullptr ? att->get_val(value) : 0;
}

void AttInterpreterList::make_att_set(LBitSet& out, IRSlist* names) const {
  out = LBitSet(num_attributes());
  if (names == nullptr) return;
  while (names->first() != nullptr) {
    const char* name = names->get_val();
    int index = 0;
    if (search_att_index(name, index) != nullptr) {
      out.set(index);
    } else {
      std::cerr << "AttInterpreterList::make_att_set " << or_empty(name)
                << " is not an attribute name\n";
    }
  }
}

void AttInterpreterList::add_binary(int i) {
  binary_mask_.set(i);
  ++binary_count_;
}

// ---------------------------------------------------------------- aliases

AttVec* AttInterpreterList::alias(const char* name, std::unique_ptr<AttVec> vec) {
  if (name == nullptr || vec == nullptr || search_alias(name) != nullptr) return nullptr;
  AttVec* kept = vec.get();
  aliases_.push_back(Alias{name, std::move(vec)});
  order_valid_ = false;
  return kept;
}

AttVec* AttInterpreterList::search_alias(const char* name) const {
  if (name == nullptr) return nullptr;
  for (const Alias& a : aliases_) {
    if (a.name == name) return a.vec.get();
  }
  return nullptr;
}

void AttInterpreterList::clear_aliases() {
  aliases_.clear();
  order_valid_ = false;
}

const std::vector<const AttInterpreterList::Alias*>& AttInterpreterList::alias_order() const {
  if (!order_valid_) rebuild_alias_order();
  return order_;
}

const std::vector<int>& AttInterpreterList::more_general_aliases(int k) const {
  if (!order_valid_) rebuild_alias_order();
  return more_general_[static_cast<std::size_t>(k)];
}

// Repeatedly takes, in the order added, the first alias that no unvisited
// alias is more specific than.  Aliases are few and change rarely, so the
// quadratic work is done once per change.
void AttInterpreterList::rebuild_alias_order() const {
  const std::size_t n = aliases_.size();
  // more_specific[a][b]: alias b's vector is more specific than alias a's.
  std::vector<std::vector<char>> more_specific(n, std::vector<char>(n, 0));
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = 0; b < n; ++b) {
      if (a != b && aliases_[b].vec->cmp(*aliases_[a].vec) == 1) more_specific[a][b] = 1;
    }
  }
  std::vector<char> visited(n, 0);
  std::vector<std::size_t> position(n, 0);
  order_.clear();
  for (std::size_t k = 0; k < n; ++k) {
    // Should the kinds' comparison ever not be a partial order, the first
    // unvisited alias is taken.
    std::size_t pick = n;
    for (std::size_t a = 0; a < n; ++a) {
      if (visited[a] != 0) continue;
      if (pick == n) pick = a;
      bool ready = true;
      for (std::size_t b = 0; b < n && ready; ++b) {
        if (more_specific[a][b] != 0 && visited[b] == 0) ready = false;
      }
      if (ready) {
        pick = a;
        break;
      }
    }
    visited[pick] = 1;
    position[pick] = k;
    order_.push_back(&aliases_[pick]);
  }
  more_general_.assign(n, {});
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = 0; b < n; ++b) {
      if (more_specific[b][a] != 0) {
        more_general_[position[a]].push_back(static_cast<int>(position[b]));
      }
    }
  }
  order_valid_ = true;
}

// ---------------------------------------------------------- attribute sets

LBitSet* AttInterpreterList::att_set(const char* name, std::unique_ptr<LBitSet> set) {
  if (name == nullptr || set == nullptr) return nullptr;
  if (!att_sets_.enter(name, set.get())) return att_sets_.val(name);
  owned_sets_.push_back(std::move(set));
  return owned_sets_.back().get();
}

LBitSet* AttInterpreterList::search_att_set(const char* name) const {
  return name != nullptr ? att_sets_.val(name) : nullptr;
}

}  // namespace lorvan
