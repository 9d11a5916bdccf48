// Named objects: the long-lived objects that command files create (a
// lexicon, a tokenizer, an attribute-vector type, a parser), kept under
// case-insensitive names so that later commands can find them.
//
// Names live in name spaces.  "STD" is made by namedobj_init() and is the
// current one; set-current-name-space switches.  A name written "X::name"
// means `name` in the name space X.  Each entry holds the object (an
// untyped pointer), a type string naming its class followed by its base
// classes separated by "/" (e.g. "Tokenizer/TokenizerBase"), and optionally
// a deleter.  A look-up matches when the expected type occurs anywhere in
// the stored type string.
//
// Ownership: a name space copies names and type strings.  It owns an object
// only when it was registered with a deleter, and even then calls the
// deleter only when the name space is deleted while SKIP_DELETING_NAME_SPACE
// is 0 (by default objects simply live until the process ends).  A name
// space also owns the macros of its macro table, destroyed under the same
// rule.  The name spaces themselves are owned by the process-wide list
// NameSpace::NameSpaces and freed by delete_all_name_spaces().
//
// Process-wide and unguarded: the program is single-threaded.
#ifndef LORVAN_COMMAND_NAMED_OBJ_H_
#define LORVAN_COMMAND_NAMED_OBJ_H_

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "strbufs.h"
#include "symtab.h"

namespace lorvan {

class IRSlist;

// Destroys an object registered with it.
using ObjDeleter = void (*)(void* object);

struct NamedObjEntry {
  const char* name;  // owned by the name space
  void* object;      // owned only through the deletion list
  const char* type;  // owned by the name space
};

// A textual macro held in a name space's macro table.  The expression
// language defines the concrete kind; a name space only stores, expands and
// (when deleted with SKIP_DELETING_NAME_SPACE == 0) destroys it.
class Macro {
 public:
  virtual ~Macro() = default;
  const std::string& name() const { return name_; }
  void name(const char* text) { name_ = text; }
  // The command text of this macro applied to `args`; valid until the next
  // instantiation of the same macro.
  virtual const char* instantiate(const char* name, IRSlist* args) = 0;

 private:
  std::string name_;
};

// While non-zero (the default, 1), deleting a name space frees only its
// tables: deleters are not called and macros are not destroyed.
extern int SKIP_DELETING_NAME_SPACE;

class NameSpace {
 public:
  // All name spaces, the most recently created first.  The list is never
  // destroyed, so what it holds stays reachable until the process ends.
  static std::vector<NameSpace*>& NameSpaces;
  // The current name space; null only after all were deleted.
  static NameSpace* theCurrentNameSpace;

  // A name space of `size` buckets (at least 11) holding the comparison
  // functions "strcmp", "strcasecmp" and "str_to_upper_cmp" (type
  // "function", no deleter).  It is not put into NameSpaces.
  NameSpace(const char* name, unsigned size);
  // Frees the tables; first, when SKIP_DELETING_NAME_SPACE is 0, calls the
  // deleters from the last registered to the first and destroys the macros.
  ~NameSpace();
  NameSpace(const NameSpace&) = delete;
  NameSpace& operator=(const NameSpace&) = delete;

  const char* name() const { return name_; }

  // Resolves a possibly prefixed name: for "X::local" the name space named
  // X (case-insensitive; when there is none, prints "The NameSpace <name>
  // is not defined." and returns null); otherwise the current name space
  // (or the first of NameSpaces).  Sets `local` to the name inside it
  // (null for a null name, which gives null).
  static NameSpace* getNameSpace(const char* name, const char*& local);
  // The name space called `name` (case-insensitive), or null.
  static NameSpace* find(const char* name);

  // Adds an entry.  An existing name (in any letter case) prints
  // "Duplicate definition of <name>" and changes nothing.  With a deleter
  // the object joins the deletion list.  Returns the entry either way.
  NamedObjEntry* enter(const char* name, void* object, const char* type, ObjDeleter deleter);
  // Like enter() for a new name.  For an existing one the old object is
  // destroyed with its deleter when it has one, the new object takes its
  // place in the deletion order (or leaves it, without a deleter), and the
  // entry's object and type become the new ones.
  NamedObjEntry* re_enter(const char* name, void* object, const char* type, ObjDeleter deleter);
  // The entry of `name` (case-insensitive), or null.
  NamedObjEntry* lookup(const char* name) const;
  // The first entry holding `object`, in registration order, or null.
  const NamedObjEntry* entry_of(const void* object) const;

  // Macro name -> Macro*, owned as described above.
  SymTab& macros() { return macros_; }

 private:
  struct Owned {
    void* object;
    ObjDeleter deleter;
  };
  NamedObjEntry* add(const char* name, void* object, const char* type, ObjDeleter deleter);
  void destroy_owned();

  StrBufs arena_;
  SymTab table_;  // name -> NamedObjEntry*
  std::deque<NamedObjEntry> entries_;
  const char* name_;
  std::vector<Owned> deletion_list_;
  SymTab macros_;
};

// Registers `object` under `name` (which may carry an "X::" prefix) in the
// name space it resolves to.  Null when the prefix names no name space.
NamedObjEntry* register_named_obj(const char* name, void* object, const char* type,
                                  ObjDeleter deleter = nullptr);

// The object registered under `name` when `type` occurs in its type string.
// A type mismatch prints "The named object '<name>' is of the type
// '<stored>', not the expected type '<type>'." and returns null; with
// `report` set a missing object prints "The named object '<name>'
// (type=<type>) is not found".  Without an expected type nothing is found.
void* get_named_obj(const char* name, const char* type, int report);

// get_named_obj(text, type, 1) on the text after the keyword `key` in
// `args`, or null when the keyword is absent.
void* get_object_by_name_func(IRSlist* args, const char* key, const char* type);

// The name under which `object` was registered (the first match, searching
// the name spaces in list order), or null.
const char* get_name(const void* object);

// Enters `macro` (taking ownership) under `name` in the current name space's
// macro table, naming it with a copy of `name`.  A duplicate name prints
// "Duplicate definition of <name>", keeps the old macro and destroys the
// new one.  Without a current name space the macro is destroyed.
void defmacro(const char* name, Macro* macro);

// The instantiation of the macro `name` of the current name space with
// `args`, or null when there is no such macro.
const char* getmacro(const char* name, IRSlist* args);

// Makes the name space called `name` (case-insensitive) current; when there
// is none, first creates it with 101 buckets at the front of NameSpaces.
// Returns it.
NameSpace* set_current_name_space(const char* name);

// Removes the removable prototypes of the object factory, then deletes every
// name space (see ~NameSpace), empties NameSpaces and leaves no current name
// space.  What delete-name-space and exit do.
void delete_all_name_spaces();

// Makes "STD" (101 buckets) current and registers delete-name-space,
// set-current-name-space and skip-deleting-name-space with
// CmdInterpreter::the_interpreter, which must exist.  Runs once.
void namedobj_init();

}  // namespace lorvan

#endif  // LORVAN_COMMAND_NAMED_OBJ_H_
