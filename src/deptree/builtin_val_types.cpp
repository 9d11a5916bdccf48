#include "deptree/builtin_val_types.h"

#include <cstdio>

#include "command/irslist.h"
#include "expr/lexp.h"

namespace lorvan {

namespace {

constexpr unsigned kInternTableSize = 1009;

}  // namespace

// ---- IntValue ----

void* IntValue::make_val(IRSlist* args) { return int_to_value(args->get_long_val()); }

const char* IntValue::toString(void* v) {
  static char text[24];  // any 64-bit value with its sign
  std::snprintf(text, sizeof text, "%ld", value_to_int(v));
  return text;
}

// ---- StrValue ----

// Never destroyed: interned strings live until the process ends.
Str2Id& StrValue::strs() {
  static Str2Id& interned = *new Str2Id(kInternTableSize);
  return interned;
}

const char* StrValue::get_str(const char* text) {
  if (text == nullptr) return nullptr;
  return strs().get_str(strs().get_id(text, true));
}

void* StrValue::make_val(IRSlist* args) {
  return const_cast<char*>(get_str(args->top_val()));
}

void* StrValue::copy_val(void* v) {
  return const_cast<char*>(get_str(static_cast<const char*>(v)));
}

const char* StrValue::toString(void* v) {
  arena().clear();
  return arena().copy(StrBufs::quote_white(static_cast<const char*>(v)));
}

// ---- StrListValue ----

void* StrListValue::make_val(IRSlist* args) {
  auto* list = new List;
  for (const IRSlist* a = args->first(); a != nullptr; a = a->next()) {
    if (a->val() != nullptr) list->append(StrValue::get_str(a->val()));
  }
  return list;
}

void* StrListValue::copy_val(void* v) {
  return v != nullptr ? new List(*static_cast<const List*>(v)) : nullptr;
}

const char* StrListValue::toString(void* v) {
  StrBufs& out = arena();
  out.clear();
  out.push('(');
  if (v != nullptr) {
    const char* separator = "";
    for (const char* s : *static_cast<const List*>(v)) {
      out.push(separator, StrBufs::quote_white(s));
      separator = " ";
    }
  }
  out.push(')');
  return out.finish();
}

void StrListValue::del(void* v) { delete static_cast<List*>(v); }

}  // namespace lorvan
