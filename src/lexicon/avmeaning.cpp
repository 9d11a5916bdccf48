#include "lexicon/avmeaning.h"

#include <cstring>
#include <iostream>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "lexicon/lexicon_exps.h"

namespace lorvan {

void AVMeaning::print_contents(std::ostream& out) const { vec_.print(out); }

int AVMeaning::cmp(const Meaning& other) const {
  const AVMeaning* o = castToAVMeaning(&other);
  return o != nullptr ? vec_.cmp(o->vec_) : -2;
}

int AVMeaning::consistent(const Meaning& other) const {
  const AVMeaning* o = castToAVMeaning(&other);
  return o != nullptr ? vec_.unifiable(o->vec_) : 0;
}

void AVMeaning::initialize(IRSlist* s) {
  if (s == nullptr) return;
  IRSlist* entries = s->first();
  if (entries != nullptr && entries->is_list()) vec_.initialize(entries);
}

AVMeaning* AVMeaning::castToAVMeaning(Meaning* m) {
  // The type name decides; the dynamic check keeps a text meaning that a
  // command file happened to call "avm" from being taken for a vector.
  if (m == nullptr || std::strcmp(m->type_name(), kTypeName) != 0) return nullptr;
  return dynamic_cast<AVMeaning*>(m);
}

const AVMeaning* AVMeaning::castToAVMeaning(const Meaning* m) {
  return castToAVMeaning(const_cast<Meaning*>(m));
}

namespace {

// (make-avmeaning-proto <att-type> <name>)
void* make_avmeaning_proto(IRSlist* args) {
  const bool two = args != nullptr && args->length() == 2;
  const char* type_name = two ? args->get_val(0) : nullptr;
  const char* name = two ? args->get_val(1) : nullptr;
  if (type_name == nullptr || name == nullptr) {
    std::cerr << "make-avmeaning-proto: expecting (make-avmeaning-proto att-type name)\n";
    return nullptr;
  }
  auto* type = static_cast<AttInterpreterList*>(get_named_obj(type_name, "AttInterpreterList", 1));
  if (type == nullptr) return nullptr;
  if (Meaning::maker() == nullptr) {
    std::cerr << "lexicon: needs maker for Meaning\n";
    return nullptr;
  }
  auto* prototype = new AVMeaning(type);
  Meaning::maker()->enter(name, prototype, nullptr);
  return Meaning::maker()->prototype(name);
}

}  // namespace

void avmeaning_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter::the_interpreter->enter("make-avmeaning-proto", make_avmeaning_proto, nullptr);
  avmconst_init();
}

}  // namespace lorvan
