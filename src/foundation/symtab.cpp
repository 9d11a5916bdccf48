#include "symtab.h"

#include <algorithm>
#include <iostream>
#include <string>

#include "regexp.h"
#include "strfuncs.h"

namespace lorvan {
namespace {
constexpr unsigned kMinBuckets = 11;
constexpr std::size_t kArenaBlock = 4096;
}  // namespace

SymTab::SymTab(unsigned size)
    : arena_(kArenaBlock), buckets_(std::max(size, kMinBuckets), nullptr) {}

SymTab::Entry** SymTab::slot(const char* name) {
  Entry** link = &buckets_[hashpjw(name) % buckets_.size()];
  while (*link != nullptr && strcasecmp((*link)->name, name) < 0) link = &(*link)->next;
  return link;
}

SymTab::Entry* const* SymTab::slot(const char* name) const {
  return const_cast<SymTab*>(this)->slot(name);
}

bool SymTab::holds(const Entry* e, const char* name) {
  return e != nullptr && strcasecmp(e->name, name) == 0;
}

const char* SymTab::copy_doc(const char* doc) {
  return doc != nullptr ? arena_.copy(doc) : nullptr;
}

void SymTab::add_at(Entry** link, const char* name, void* value, const char* doc) {
  const char* own_doc = copy_doc(doc);
  entries_.push_back(Entry{arena_.copy(name), value, own_doc, *link});
  *link = &entries_.back();
}

bool SymTab::enter(const char* name, void* value, const char* doc) {
  Entry** link = slot(name);
  if (holds(*link, name)) {
    std::cerr << "Duplicate definition of " << name << "\n";
    return false;
  }
  add_at(link, name, value, doc);
  return true;
}

void SymTab::re_enter(const char* name, void* value, const char* doc) {
  Entry** link = slot(name);
  if (!holds(*link, name)) return add_at(link, name, value, doc);
  (*link)->value = value;
  (*link)->doc = copy_doc(doc);
}

const SymTab::Entry* SymTab::find(const char* name) const {
  Entry* const* link = slot(name);
  return holds(*link, name) ? *link : nullptr;
}

void* SymTab::lookup(const char* name) const {
  const Entry* e = find(name);
  return e != nullptr ? e->value : nullptr;
}

namespace {

// Compiles `pattern` anchored at the start of the text (null: no filter).
RegexpPtr compile_anchored(const char* pattern) {
  if (pattern == nullptr) return nullptr;
  if (pattern[0] == '^') return RegexpPtr(regcomp(pattern));
  std::string anchored = "^";
  anchored += pattern;
  return RegexpPtr(regcomp(anchored.c_str()));
}

// Whether the anchored program matches a non-empty prefix of `name`.
bool matches_prefix(regexp* prog, const char* name) {
  return regexec(prog, name) != 0 && prog->endp[0] > prog->startp[0];
}

}  // namespace

void SymTab::list_entries(std::ostream& out, const char* pattern) const {
  RegexpPtr prog = compile_anchored(pattern);
  std::vector<const Entry*> chosen;
  for (const Entry& e : entries_) {
    if (prog == nullptr || matches_prefix(prog.get(), e.name)) chosen.push_back(&e);
  }
  std::sort(chosen.begin(), chosen.end(), [](const Entry* a, const Entry* b) {
    return strcasecmp(a->name, b->name) < 0;
  });
  for (const Entry* e : chosen) {
    out << e->name << "\n" << (e->doc != nullptr ? e->doc : "No documentation provided")
        << "\n\n";
  }
}

}  // namespace lorvan
