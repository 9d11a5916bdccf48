#include "command/obj_factory.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <unordered_set>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/symtab_filter.h"
#include "regexp.h"
#include "strfuncs.h"

namespace lorvan {

ObjFactory& ObjFactory::the_factory = *new ObjFactory(1979);

// ---- ObjMaker ----

ObjMaker::ObjMaker(Duplicate duplicate, Deleter deleter, unsigned size)
    : table_(std::make_unique<SymTab>(size)), duplicate_(duplicate), deleter_(deleter) {}

ObjMaker::~ObjMaker() {
  if (deleter_ == nullptr) return;
  // A prototype entered under two names is destroyed once.
  std::unordered_set<void*> destroyed;
  for (const SymTab::Entry& e : *table_) {
    if (e.value != nullptr && destroyed.insert(e.value).second) deleter_(e.value);
  }
}

void ObjMaker::enter(const char* name, void* prototype, const char* doc) {
  if (table_->enter(name, prototype, doc)) {
    removable_.push_back(prototype);
  } else if (deleter_ != nullptr && prototype != nullptr) {
    deleter_(prototype);
  }
}

void* ObjMaker::make(const char* name) const {
  void* proto = prototype(name);
  if (proto == nullptr) {
    std::cerr << "ObjMaker::make: the prototype for " << name << " is not found\n";
  }
  if (duplicate_ == nullptr) {
    std::cerr << "ObjMaker::make: don't how to duplicate " << name << "\n";
    return nullptr;
  }
  return duplicate_(proto);
}

bool ObjMaker::removable(const void* prototype) const {
  return std::find(removable_.begin(), removable_.end(), prototype) != removable_.end();
}

void ObjMaker::removeNonConstEntries() {
  if (deleter_ == nullptr) return;
  table_ = copy_entries_if(*table_, [this](const SymTab::Entry& e) { return !removable(e.value); });
  for (void* prototype : removable_) deleter_(prototype);
  removable_.clear();
}

// ---- ObjFactory ----

namespace {

// Whether `pattern` (anchored at the start) matches a non-empty prefix of
// `name`; a null program matches everything.
bool matches_name(regexp* program, const char* name) {
  return program == nullptr ||
         (regexec(program, name) != 0 && program->endp[0] > program->startp[0]);
}

RegexpPtr compile_anchored(const char* pattern) {
  if (pattern == nullptr) return nullptr;
  std::string anchored = pattern[0] == '^' ? pattern : std::string("^") + pattern;
  return RegexpPtr(regcomp(anchored.c_str()));
}

}  // namespace

ObjFactory::~ObjFactory() {
  for (const Entry& e : *this) delete value_of(e);
}

void ObjFactory::proto(const char* class_name, const char* name, void* prototype,
                       const char* doc) {
  if (ObjMaker* maker = val(class_name)) {
    maker->enter(name, prototype, doc);
  } else {
    std::cerr << "ObjFactory::proto no maker for '" << class_name << "'\n";
  }
}

void* ObjFactory::get_proto(const char* class_name, const char* name) const {
  ObjMaker* maker = val(class_name);
  if (maker == nullptr) {
    std::cerr << "Object Factory does not have a maker for " << class_name << "\n";
    return nullptr;
  }
  void* prototype = maker->prototype(name);
  if (prototype == nullptr) {
    std::cerr << "No prototype for " << name << " exists in the Object Factory\n";
  }
  return prototype;
}

void* ObjFactory::make(const char* class_name, const char* name) const {
  ObjMaker* maker = val(class_name);
  if (maker == nullptr) {
    std::cerr << "ObjFactory::maker no maker for '" << class_name << "'\n";
    return nullptr;
  }
  return maker->make(name);
}

void ObjFactory::list_objects(std::ostream& out, const char* object_pattern,
                              const char* class_pattern) const {
  RegexpPtr classes = compile_anchored(class_pattern);
  std::vector<const Entry*> makers;
  for (const Entry& e : *this) {
    if (matches_name(classes.get(), e.name)) makers.push_back(&e);
  }
  std::sort(makers.begin(), makers.end(), [](const Entry* a, const Entry* b) {
    return strcasecmp(a->name, b->name) < 0;
  });
  for (const Entry* e : makers) value_of(*e)->table().list_entries(out, object_pattern);
}

void ObjFactory::removeNonConstEntries() {
  for (const Entry& e : *this) value_of(e)->removeNonConstEntries();
}

void ObjFactory::clearObjects() {
  for (const Entry& e : *this) value_of(e)->clearRemovable();
}

// ---- Commands ----

namespace {

void* classes_cmd(IRSlist* args) {
  ObjFactory::the_factory.list_entries(std::cout, args->get_val());
  return nullptr;
}

void* objects_cmd(IRSlist* args) {
  const char* object_pattern = args->get_val();
  const char* class_pattern = args->get_val();
  ObjFactory::the_factory.list_objects(std::cout, object_pattern, class_pattern);
  return nullptr;
}

}  // namespace

void objfact_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  interp->enter("classes", classes_cmd, "(classes cl) list the classes in the Object Factory");
  interp->enter("objects", objects_cmd,
                "(objects obj cl) list the objects belonging to cl in the Object Factory");
}

}  // namespace lorvan
