#include "lexicon/meaning.h"

#include <ostream>
#include <string_view>

#include "command/irslist.h"
#include "command/obj_factory.h"

namespace lorvan {

namespace {

constexpr const char* kMakerName = "Meaning";
constexpr unsigned kMakerSize = 23;

void* duplicate_meaning(void* prototype) {
  return prototype != nullptr ? static_cast<Meaning*>(prototype)->duplicate() : nullptr;
}

void delete_meaning(void* meaning) { delete static_cast<Meaning*>(meaning); }

}  // namespace

void Meaning::print_contents(std::ostream& /*out*/) const {}

int Meaning::cmp(const Meaning& other) const {
  if (std::string_view(type_name()) != std::string_view(other.type_name())) return -2;
  return this == &other ? 0 : 1;
}

int Meaning::consistent(const Meaning& other) const { return cmp(other) == 0; }

void Meaning::initialize(IRSlist* /*s*/) {}

void Meaning::print(std::ostream& out) const {
  out << '(' << type_name() << ' ';
  print_contents(out);
  out << ')';
}

ObjMaker* Meaning::maker() { return ObjFactory::the_factory.val(kMakerName); }

Meaning* Meaning::make_meaning(IRSlist* s) {
  ObjMaker* m = maker();
  if (m == nullptr || s == nullptr) return nullptr;
  const char* type = s->get_val(0);
  if (type == nullptr) return nullptr;
  auto* prototype = static_cast<Meaning*>(m->prototype(type));
  if (prototype == nullptr) return nullptr;
  delete s->remove_first();
  return prototype->duplicate();
}

void meaning_maker_init() {
  static bool done = false;
  if (done) return;
  done = true;
  if (ObjFactory::the_factory.val(kMakerName) != nullptr) return;
  auto* maker = new ObjMaker(duplicate_meaning, delete_meaning, kMakerSize);
  if (!ObjFactory::the_factory.enter(kMakerName, maker,
                                     "Maker for different kinds of meanings in lexicons")) {
    delete maker;
  }
}

}  // namespace lorvan
