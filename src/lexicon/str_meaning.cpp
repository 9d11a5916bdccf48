#include "lexicon/str_meaning.h"

#include <cstring>
#include <iostream>
#include <sstream>

#include "command/irslist.h"
#include "command/obj_factory.h"
#include "strbufs.h"

namespace lorvan {

void StrMeaning::print_contents(std::ostream& out) const {
  if (has_text_) out << text_;
}

int StrMeaning::cmp(const Meaning& other) const {
  if (std::strcmp(type_name(), other.type_name()) != 0) return -2;
  const auto* o = dynamic_cast<const StrMeaning*>(&other);
  if (o == nullptr) return 2;
  if (has_text_ && o->has_text_) return text_ == o->text_ ? 0 : 2;
  return has_text_ == o->has_text_ ? 0 : 2;
}

void StrMeaning::initialize(IRSlist* s) {
  if (s == nullptr) return;
  std::ostringstream line;
  s->print_line(line);
  text_ = line.str();
  has_text_ = true;
}

StrMeaning* make_str_meaning_proto(const char* type) {
  // Type names outlive prototypes removed with the name spaces, since the
  // meanings made from them still name their type.
  static StrBufs& names = *new StrBufs(256);
  ObjMaker* maker = Meaning::maker();
  if (maker == nullptr || type == nullptr) return nullptr;
  auto* prototype = new StrMeaning(names.copy(type));
  maker->enter(prototype->type_name(), prototype, nullptr);
  return static_cast<StrMeaning*>(maker->prototype(type));
}

}  // namespace lorvan
