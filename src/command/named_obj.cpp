#include "command/named_obj.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/obj_factory.h"
#include "strfuncs.h"

namespace lorvan {

int SKIP_DELETING_NAME_SPACE = 1;

std::vector<NameSpace*>& NameSpace::NameSpaces = *new std::vector<NameSpace*>;
NameSpace* NameSpace::theCurrentNameSpace = nullptr;

namespace {

constexpr std::size_t kNameSpaceArenaBlock = 4096;
constexpr unsigned kMacroTableSize = 1979;
constexpr unsigned kNewNameSpaceSize = 101;

// The comparison functions every name space offers by name, so that commands
// that sort can take one as an argument.
int strcmp_function(const char* a, const char* b) { return std::strcmp(a, b); }
int strcasecmp_function(const char* a, const char* b) { return strcasecmp(a, b); }
int str_to_upper_cmp_function(const char* a, const char* b) { return str_to_upper_cmp(a, b); }

void* as_object(int (*function)(const char*, const char*)) {
  return reinterpret_cast<void*>(function);
}

const char* or_nil(const char* s) { return s != nullptr ? s : "nil"; }

// What deleting a name space does not destroy lives on until the process
// ends.  It is kept here, in a list that is never destroyed, so that it stays
// reachable (and leak checkers see it that way).
std::vector<const void*>& survivors() {
  static auto* kept = new std::vector<const void*>;
  return *kept;
}

}  // namespace

// ---- NameSpace ----

NameSpace::NameSpace(const char* name, unsigned size)
    : arena_(kNameSpaceArenaBlock), table_(size), name_(arena_.copy(name)),
      macros_(kMacroTableSize) {
  enter("strcmp", as_object(strcmp_function), "function", nullptr);
  enter("strcasecmp", as_object(strcasecmp_function), "function", nullptr);
  enter("str_to_upper_cmp", as_object(str_to_upper_cmp_function), "function", nullptr);
}

NameSpace::~NameSpace() {
  if (SKIP_DELETING_NAME_SPACE != 0) {
    for (const NamedObjEntry& e : entries_) survivors().push_back(e.object);
    for (const SymTab::Entry& e : macros_) survivors().push_back(e.value);
    return;
  }
  destroy_owned();
  for (const SymTab::Entry& e : macros_) delete static_cast<Macro*>(e.value);
}

void NameSpace::destroy_owned() {
  for (auto owned = deletion_list_.rbegin(); owned != deletion_list_.rend(); ++owned) {
    owned->deleter(owned->object);
  }
  deletion_list_.clear();
}

NameSpace* NameSpace::find(const char* name) {
  if (name == nullptr) return nullptr;
  for (NameSpace* ns : NameSpaces) {
    if (strcasecmp(ns->name(), name) == 0) return ns;
  }
  return nullptr;
}

NameSpace* NameSpace::getNameSpace(const char* name, const char*& local) {
  local = nullptr;
  if (name == nullptr) return nullptr;
  if (const char* colons = std::strstr(name, "::")) {
    local = colons + 2;
    NameSpace* ns = find(std::string(name, colons).c_str());
    if (ns == nullptr) std::cerr << "The NameSpace " << name << " is not defined.\n";
    return ns;
  }
  local = name;
  if (theCurrentNameSpace != nullptr) return theCurrentNameSpace;
  return NameSpaces.empty() ? nullptr : NameSpaces.front();
}

NamedObjEntry* NameSpace::lookup(const char* name) const {
  return name != nullptr ? static_cast<NamedObjEntry*>(table_.lookup(name)) : nullptr;
}

const NamedObjEntry* NameSpace::entry_of(const void* object) const {
  for (const NamedObjEntry& e : entries_) {
    if (e.object == object) return &e;
  }
  return nullptr;
}

NamedObjEntry* NameSpace::add(const char* name, void* object, const char* type,
                              ObjDeleter deleter) {
  NamedObjEntry& e = entries_.emplace_back();
  table_.enter(name, &e);
  e.name = table_.find(name)->name;
  e.object = object;
  e.type = type != nullptr ? arena_.copy(type) : nullptr;
  if (deleter != nullptr) deletion_list_.push_back({object, deleter});
  return &e;
}

NamedObjEntry* NameSpace::enter(const char* name, void* object, const char* type,
                                ObjDeleter deleter) {
  if (NamedObjEntry* old = lookup(name)) {
    std::cerr << "Duplicate definition of " << name << "\n";
    return old;
  }
  return add(name, object, type, deleter);
}

NamedObjEntry* NameSpace::re_enter(const char* name, void* object, const char* type,
                                   ObjDeleter deleter) {
  NamedObjEntry* e = lookup(name);
  if (e == nullptr) return add(name, object, type, deleter);
  auto owned = std::find_if(deletion_list_.begin(), deletion_list_.end(),
                            [e](const Owned& o) { return o.object == e->object; });
  if (owned != deletion_list_.end()) {
    // Re-registering the very same object must not destroy it.
    if (owned->object != object) owned->deleter(owned->object);
    if (deleter != nullptr) {
      *owned = {object, deleter};
    } else {
      deletion_list_.erase(owned);
    }
  } else if (deleter != nullptr) {
    deletion_list_.push_back({object, deleter});
  }
  e->object = object;
  e->type = type != nullptr ? arena_.copy(type) : nullptr;
  return e;
}

// ---- Free functions ----

NamedObjEntry* register_named_obj(const char* name, void* object, const char* type,
                                  ObjDeleter deleter) {
  const char* local = nullptr;
  NameSpace* ns = NameSpace::getNameSpace(name, local);
  return ns != nullptr ? ns->enter(local, object, type, deleter) : nullptr;
}

void* get_named_obj(const char* name, const char* type, int report) {
  const char* local = nullptr;
  NameSpace* ns = NameSpace::getNameSpace(name, local);
  const NamedObjEntry* e = ns != nullptr ? ns->lookup(local) : nullptr;
  void* result = nullptr;
  if (e != nullptr && type != nullptr && e->type != nullptr) {
    if (std::strstr(e->type, type) == nullptr) {
      std::cerr << "The named object '" << name << "' is of the type '" << e->type
                << "', not the expected type '" << type << "'.\n";
      return nullptr;
    }
    result = e->object;
  }
  if (report != 0 && result == nullptr) {
    std::cerr << "The named object '" << or_nil(name) << "' (type=" << (type ? type : "")
              << ") is not found\n";
  }
  return result;
}

void* get_object_by_name_func(IRSlist* args, const char* key, const char* type) {
  const char* text = nullptr;
  if (args == nullptr || !args->get_arg_val(key, text, true)) return nullptr;
  return get_named_obj(text, type, 1);
}

const char* get_name(const void* object) {
  for (const NameSpace* ns : NameSpace::NameSpaces) {
    if (const NamedObjEntry* e = ns->entry_of(object)) return e->name;
  }
  return nullptr;
}

void defmacro(const char* name, Macro* macro) {
  NameSpace* ns = NameSpace::theCurrentNameSpace;
  if (ns == nullptr || name == nullptr) {
    delete macro;
    return;
  }
  macro->name(name);
  if (!ns->macros().enter(name, macro)) delete macro;
}

const char* getmacro(const char* name, IRSlist* args) {
  NameSpace* ns = NameSpace::theCurrentNameSpace;
  if (ns == nullptr || name == nullptr) return nullptr;
  auto* macro = static_cast<Macro*>(ns->macros().lookup(name));
  return macro != nullptr ? macro->instantiate(name, args) : nullptr;
}

NameSpace* set_current_name_space(const char* name) {
  NameSpace* ns = NameSpace::find(name);
  if (ns == nullptr) {
    ns = new NameSpace(name, kNewNameSpaceSize);
    NameSpace::NameSpaces.insert(NameSpace::NameSpaces.begin(), ns);
  }
  NameSpace::theCurrentNameSpace = ns;
  return ns;
}

void delete_all_name_spaces() {
  ObjFactory::the_factory.removeNonConstEntries();
  for (NameSpace* ns : NameSpace::NameSpaces) delete ns;
  NameSpace::NameSpaces.clear();
  NameSpace::theCurrentNameSpace = nullptr;
}

// ---- Commands ----

namespace {

void* delete_name_space_cmd(IRSlist* /*args*/) {
  delete_all_name_spaces();
  return nullptr;
}

void* set_current_name_space_cmd(IRSlist* args) {
  const char* name = args->get_val();
  set_current_name_space(name != nullptr ? name : "STD");
  return nullptr;
}

void* skip_deleting_name_space_cmd(IRSlist* args) {
  SKIP_DELETING_NAME_SPACE = static_cast<int>(args->get_long_val());
  return nullptr;
}

}  // namespace

void namedobj_init() {
  static bool done = false;
  if (done) return;
  done = true;
  set_current_name_space("STD");
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  interp->enter("delete-name-space", delete_name_space_cmd, "(delete-name-space <NAME>)");
  interp->enter("set-current-name-space", set_current_name_space_cmd,
                "(set-current-name-space <NAME>)");
  interp->enter("skip-deleting-name-space", skip_deleting_name_space_cmd,
                "(skip-deleting-name-space [0|1])");
}

}  // namespace lorvan
