// The three value types every build has, the prototypes "IntValue",
// "StrValue" and "StrListValue" of the object factory's "ValType" class:
//
//   IntValue      "int"                   an integer held as the value itself
//   StrValue      "char*"                 an interned string
//   StrListValue  "TSlist<const char*>*"  an owned list of interned strings
//
// Interned strings live in StrValue::strs(), a process-wide case-insensitive
// table: texts that differ only in letter case share the first spelling, and
// equal string values are the same pointer, so values compare by pointer.
// Interned strings live until the process ends.
//
// A StrListValue value is a list owned by whoever holds it: make_val() and
// copy_val() each return a new list, and del() destroys one.
#ifndef LORVAN_DEPTREE_BUILTIN_VAL_TYPES_H_
#define LORVAN_DEPTREE_BUILTIN_VAL_TYPES_H_

#include "deptree/val_type.h"
#include "slist.h"
#include "str2id.h"

namespace lorvan {

class IntValue : public ValType {
 public:
  const char* pointer_type() const override { return "int"; }
  // The first argument read with IRSlist::get_long_val().
  void* make_val(IRSlist* args) override;
  void* copy_val(void* v) override { return v; }
  // The value in decimal, in a buffer shared by all IntValues.
  const char* toString(void* v) override;
};

class StrValue : public ValType {
 public:
  const char* pointer_type() const override { return "char*"; }
  // The interned copy of the first argument's text (null without one).
  void* make_val(IRSlist* args) override;
  void* copy_val(void* v) override;
  // The text through StrBufs::quote_white.
  const char* toString(void* v) override;

  // The table of interned strings.
  static Str2Id& strs();
  // The interned copy of `text`, registered on first use; null for null.
  static const char* get_str(const char* text);
};

class StrListValue : public ValType {
 public:
  using List = TSlist<const char*>;

  const char* pointer_type() const override { return "TSlist<const char*>*"; }
  // A new list of the interned texts of all arguments, in order; arguments
  // without text (lists, empty nodes) are left out.
  void* make_val(IRSlist* args) override;
  // A new list with the same strings (null for null).
  void* copy_val(void* v) override;
  // "(" the texts through quote_white, separated by single blanks ")".
  const char* toString(void* v) override;
  // Destroys the list.
  void del(void* v) override;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_BUILTIN_VAL_TYPES_H_
