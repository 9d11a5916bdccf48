// The process-wide registry of argument-type names.
#include "command/arg_types.h"

#include <iostream>

namespace lorvan {

Str2Id& arg_types() {
  static Str2Id registry(101);
  return registry;
}

int arg_type_id(const char* name) {
  if (name == nullptr) return -1;
  return arg_types().get_id(name, true);
}

const char* arg_type_name(int id) {
  if (id == -1) return "void*";
  if (id <= 0) {
    std::cerr << "Unknown type id: " << id << '\n';
    return "";
  }
  return arg_types().get_str(id);
}

const char* arg_type_label(int id) {
  const char* name = arg_type_name(id);
  return name != nullptr ? name : "";
}

}  // namespace lorvan
