// Removing entries from a SymTab, which itself only ever grows: the table is
// rebuilt without them.  Used for the rare removals (a command deleted, the
// removable prototypes of a maker forgotten), never on a hot path.
#ifndef LORVAN_COMMAND_SYMTAB_FILTER_H_
#define LORVAN_COMMAND_SYMTAB_FILTER_H_

#include <memory>

#include "symtab.h"

namespace lorvan {

// A new table with the bucket count of `table` holding, in their original
// order, the entries for which keep(entry) is true.  The caller owns it.
template <class Keep>
std::unique_ptr<SymTab> copy_entries_if(const SymTab& table, Keep keep) {
  auto copy = std::make_unique<SymTab>(table.bucket_count());
  for (const SymTab::Entry& e : table) {
    if (keep(e)) copy->enter(e.name, e.value, e.doc);
  }
  return copy;
}

}  // namespace lorvan

#endif  // LORVAN_COMMAND_SYMTAB_FILTER_H_
