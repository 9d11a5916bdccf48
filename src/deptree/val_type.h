// ValType: the kind of value a property holds, and the process-wide registry
// of property names.
//
// Every property (a named value attached to a dependency node or a relation
// record) has a name; the name table gives each name a small id (1, 2, ... in
// order of first use, case-insensitively, 0 for no name).  A name may be
// given a value type with add_val_type(): an object that reads a value from
// command-language text, copies a value for storage, prints it and frees it.
// A name without a value type is known but its values cannot be read or
// printed.
//
// Ownership: the registry does not own the value types it holds; they are
// the prototypes of the object factory's "ValType" class.  A value type that
// is destroyed takes itself out of the registry, so the registry never hands
// out a destroyed one.  What make_val() and copy_val() return belongs to the
// caller, who frees it with del() of the same value type.
//
// Process-wide and unguarded: the program is single-threaded.
#ifndef LORVAN_DEPTREE_VAL_TYPE_H_
#define LORVAN_DEPTREE_VAL_TYPE_H_

#include "str2id.h"
#include "strbufs.h"
#include "tarray.h"

namespace lorvan {

class IRSlist;

class ValType {
 public:
  ValType();
  // Removes this value type from every registry slot that holds it.
  virtual ~ValType();
  ValType(const ValType&) = delete;
  ValType& operator=(const ValType&) = delete;

  // The name of the values' type in the argument-type registry ("int").
  virtual const char* pointer_type() const = 0;
  // A value read from argument text; `args` is a list whose elements are
  // the text (elements may be consumed).
  virtual void* make_val(IRSlist* args) = 0;
  // The value to store for v.
  virtual void* copy_val(void* v) = 0;
  // Printable text for v, valid until the next call on this value type.
  virtual const char* toString(void* v) = 0;
  // Frees a value made by make_val() or copy_val().  Does nothing here.
  virtual void del(void* v);

  // make_val() of a list holding only an atom with the text `text` (null:
  // an empty node), the way single values written in text are read.
  void* make_atom_val(const char* text);

  // ---- The registry ----

  // Property names: case-insensitive, id 0 for no name.
  static Str2Id& table();
  // Id -> value type; null where a name has none.
  static TArray<ValType*>& types();
  // Id -> argument-type id of the property's values; 0 where none was set.
  static TArray<int>& type_ids();

  // The id of `name`, registered on first use; 0 for null.
  static int get_id(const char* name);
  // The id of `name`, or 0 when it was never registered.
  static int get_existing_id(const char* name);
  // The name of id, or null for 0 or an unknown id.
  static const char* name(int id);
  // The value type of id, or null (also for ids beyond the arrays).
  static ValType* val_type(int id);
  // The argument-type id of id's values, or 0 when none was set.
  static int type_id(int id);

  // Makes `type` the value type of the property `name` (replacing an earlier
  // one) with the argument type `pointer_type_name`.  The values already
  // stored for the property keep their form, so a property cannot change
  // the argument type of its values: that prints "The attribute <name>
  // already holds values of the type <old>, not <new>" and changes nothing.
  // Returns whether the value type was set.
  static bool add_val_type(const char* name, ValType* type, const char* pointer_type_name);

 protected:
  // Scratch space for toString(); first block 128 bytes.
  StrBufs& arena() { return arena_; }

 private:
  StrBufs arena_;
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_VAL_TYPE_H_
