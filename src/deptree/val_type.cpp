#include "deptree/val_type.h"

#include <iostream>

#include "command/arg_types.h"
#include "command/irslist.h"

namespace lorvan {

namespace {

constexpr std::size_t kArenaBlock = 128;
constexpr unsigned kNameTableSize = 101;

}  // namespace

ValType::ValType() : arena_(kArenaBlock) {}

ValType::~ValType() {
  for (ValType*& slot : types()) {
    if (slot == this) slot = nullptr;
  }
}

void ValType::del(void*) {}

void* ValType::make_atom_val(const char* text) {
  IRSlist args;
  args.append(new IRSlist(text));
  return make_val(&args);
}

// The registry is never destroyed: value types and the names that records
// hold may outlive any static object.
Str2Id& ValType::table() {
  static Str2Id& names = *new Str2Id(kNameTableSize);
  return names;
}

TArray<ValType*>& ValType::types() {
  static TArray<ValType*>& by_id = *new TArray<ValType*>;
  return by_id;
}

TArray<int>& ValType::type_ids() {
  static TArray<int>& by_id = *new TArray<int>;
  return by_id;
}

int ValType::get_id(const char* name) { return table().get_id(name, true); }

int ValType::get_existing_id(const char* name) { return table().get_id(name, false); }

const char* ValType::name(int id) { return table().get_str(id); }

ValType* ValType::val_type(int id) {
  return id > 0 && id < types().length() ? types()[id] : nullptr;
}

int ValType::type_id(int id) {
  return id > 0 && id < type_ids().length() ? type_ids()[id] : 0;
}

bool ValType::add_val_type(const char* name, ValType* type, const char* pointer_type_name) {
  const int id = get_id(name);
  if (id == 0) return false;
  const int new_type = arg_type_id(pointer_type_name);
  const int old_type = type_id(id);
  if (old_type != 0 && old_type != new_type) {
    std::cerr << "The attribute " << ValType::name(id) << " already holds values of the type "
              << arg_type_name(old_type) << ", not " << arg_type_name(new_type) << "\n";
    return false;
  }
  if (types().length() <= id) types().set_length(id + 1);
  if (type_ids().length() <= id) type_ids().set_length(id + 1);
  types()[id] = type;
  type_ids()[id] = new_type;
  return true;
}

}  // namespace lorvan
