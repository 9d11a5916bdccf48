// The object factory: a registry of prototypes from which objects are made
// by short names ("Meaning", "LExp", "LPattern", "ValType", ... classes).
//
// An ObjMaker holds the named prototypes of one class and knows how to
// duplicate and delete them; ObjFactory::the_factory maps class names to
// makers.  Modules make their maker on the heap at registration time, enter
// it into the factory under the class name (the_factory.enter(class, maker,
// doc)) and add prototypes with proto().
//
// Ownership: the factory owns its makers; a maker owns its prototypes when it
// was given a deleter (it destroys them when it is destroyed), otherwise they
// stay with whoever made them.  Prototypes added through ObjMaker::enter()
// are "removable": removeNonConstEntries() destroys and forgets them, which
// is how deleting the name spaces forgets what command files defined, while
// prototypes entered straight into the table stay.  the_factory itself is
// never destroyed.
//
// Process-wide and unguarded: the program is single-threaded.
#ifndef LORVAN_COMMAND_OBJ_FACTORY_H_
#define LORVAN_COMMAND_OBJ_FACTORY_H_

#include <iosfwd>
#include <memory>
#include <vector>

#include "symtab.h"

namespace lorvan {

class ObjMaker {
 public:
  // Makes a new object from a prototype.
  using Duplicate = void* (*)(void* prototype);
  // Destroys an object or prototype.
  using Deleter = void (*)(void* object);

  // A maker with a prototype table of `size` buckets; either function may
  // be null.
  ObjMaker(Duplicate duplicate, Deleter deleter, unsigned size);
  // Destroys every prototype with the deleter, when there is one.
  ~ObjMaker();
  ObjMaker(const ObjMaker&) = delete;
  ObjMaker& operator=(const ObjMaker&) = delete;

  // Enters `prototype` and records it as removable.  A duplicate name prints
  // "Duplicate definition of <name>" and keeps the old prototype; the
  // rejected one is destroyed at once when the maker has a deleter (the
  // maker owns what it is given), otherwise it stays with the caller.
  void enter(const char* name, void* prototype, const char* doc);
  // The prototype table itself: entries made here directly are permanent.
  SymTab& table() { return *table_; }
  const SymTab& table() const { return *table_; }

  // The prototype of `name`, or null.
  void* prototype(const char* name) const { return table_->lookup(name); }
  // A new object duplicated from the prototype `name`.  A missing prototype
  // prints "ObjMaker::make: the prototype for <name> is not found" (and the
  // duplicate function then gets null); without a duplicate function prints
  // "ObjMaker::make: don't how to duplicate <name>" and returns null.
  void* make(const char* name) const;

  // With a deleter: destroys every removable prototype and removes its
  // entry.  Without one: nothing.
  void removeNonConstEntries();
  // Makes every current prototype permanent.
  void clearRemovable() { removable_.clear(); }

 private:
  bool removable(const void* prototype) const;

  std::unique_ptr<SymTab> table_;
  Duplicate duplicate_;
  Deleter deleter_;
  std::vector<void*> removable_;
};

class ObjFactory : public TSymTab<ObjMaker*> {
 public:
  // The single factory (1979 buckets).
  static ObjFactory& the_factory;

  explicit ObjFactory(unsigned size) : TSymTab<ObjMaker*>(size) {}
  // Destroys every maker entered.
  ~ObjFactory();

  // ObjMaker::enter on the class's maker, or prints "ObjFactory::proto no
  // maker for '<class>'".
  void proto(const char* class_name, const char* name, void* prototype, const char* doc);
  // The prototype, or null after "Object Factory does not have a maker for
  // <class>" or "No prototype for <name> exists in the Object Factory".
  void* get_proto(const char* class_name, const char* name) const;
  // ObjMaker::make on the class's maker, or null after "ObjFactory::maker no
  // maker for '<class>'".
  void* make(const char* class_name, const char* name) const;

  // For every maker whose class name `class_pattern` matches (every maker
  // when null), lists its prototypes matching `object_pattern` as
  // SymTab::list_entries does.
  void list_objects(std::ostream& out, const char* object_pattern,
                    const char* class_pattern) const;

  void removeNonConstEntries();
  // Makes all current prototypes of every maker permanent.
  void clearObjects();
};

// Registers the commands classes and objects.  Runs once.
void objfact_init();

}  // namespace lorvan

#endif  // LORVAN_COMMAND_OBJ_FACTORY_H_
