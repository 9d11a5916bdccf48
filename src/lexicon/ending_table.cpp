#include "lexicon/ending_table.h"

#include <cstring>
#include <iostream>

#include "command/irslist.h"

namespace lorvan {
namespace {

constexpr std::size_t kBufferBlock = 128;
constexpr std::size_t kDone = static_cast<std::size_t>(-1);

std::unique_ptr<Ending> make_ending(char type, EndingTable* table) {
  switch (type) {
    case 'p': return std::make_unique<Ending>(table);
    case 'd': return std::make_unique<EndingDouble>(table);
    case 'e': return std::make_unique<EndingES>(table);
    default: return nullptr;
  }
}

}  // namespace

EndingTable::EndingTable(int capacity) : buffer_(kBufferBlock), position_(kDone) {
  endings_.reserve(capacity > 0 ? static_cast<std::size_t>(capacity) : 0);
}

EndingTable::~EndingTable() = default;

void EndingTable::init(IRSlist* defs) {
  if (defs == nullptr) return;
  if (std::unique_ptr<IRSlist> conditions = defs->remove_arg(":conditions", true)) {
    read_conditions(conditions.get());
  }
  for (IRSlist* def = defs->first(); def != nullptr; def = def->next()) add(def);
}

void EndingTable::read_conditions(IRSlist* conditions) {
  for (IRSlist* def = conditions->first(); def != nullptr; def = def->next()) {
    IRSlist* names = def->first();
    if (names == nullptr || names->next() == nullptr) continue;
    std::unique_ptr<LExp> e = LExp::get_exp(names->next());
    if (e == nullptr) continue;
    if (names->is_list()) {
      for (IRSlist* n = names->first(); n != nullptr; n = n->next()) {
        if (n->val() != nullptr) conditions_.emplace_back(n->val(), e.get());
      }
    } else if (names->val() != nullptr) {
      conditions_.emplace_back(names->val(), e.get());
    }
    expressions_.push_back(std::move(e));
  }
}

void EndingTable::add(IRSlist* def) {
  if (def == nullptr) return;
  const char* type = def->get_val();
  std::unique_ptr<Ending> ending = make_ending(type != nullptr ? type[0] : '\0', this);
  if (ending == nullptr) {
    std::cerr << "Ending type '" << (type != nullptr ? type : "") << "' is not defined."
              << std::endl;
    return;
  }
  ending->init(def);
  endings_.push_back(std::move(ending));
}

LExp* EndingTable::getCond(const char* name) const {
  if (name == nullptr) return nullptr;
  for (const auto& [n, e] : conditions_) {
    if (n == name) return e;
  }
  return nullptr;
}

Ending* EndingTable::reset(const char* word) {
  buffer_.clear();
  word_ = nullptr;
  length_ = 0;
  position_ = kDone;
  if (word == nullptr || *word == '\0') return nullptr;
  word_ = buffer_.copy(word);
  length_ = std::strlen(word_);
  return seek(0);
}

Ending* EndingTable::current() const {
  return finished() ? nullptr : endings_[position_].get();
}

Ending* EndingTable::next() { return finished() ? nullptr : seek(position_ + 1); }

Ending* EndingTable::seek(std::size_t from) {
  for (std::size_t i = from; i < endings_.size(); ++i) {
    if (endings_[i]->match(word_, length_)) {
      position_ = i;
      return endings_[i].get();
    }
  }
  position_ = kDone;
  return nullptr;
}

void EndingTable::print() const {
  for (const auto& e : endings_) {
    std::cout << (e->name() != nullptr ? e->name() : "") << ' ' << e->suffix() << ' '
              << e->suffix_length() << '\n';
  }
}

void delEndingTable(void* table) { delete static_cast<EndingTable*>(table); }

}  // namespace lorvan
