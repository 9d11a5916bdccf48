#include "features/entatt.h"

#include <iostream>
#include <sstream>
#include <string_view>

#include "command/irslist.h"
#include "features/attvec.h"
#include "strbufs.h"

namespace lorvan {
namespace {

// A facet as written: "(" its elements ")" for a list, an atom's text.
void print_facet(std::ostream& out, const IRSlist& facet) {
  StrBufs buffer(256);
  facet.print(buffer);
  out << buffer.finish();
}

}  // namespace

const char* EntAtt::type_name() const { return "EntAtt"; }

AttInterpreter* EntAtt::new_interp() const {
  auto* copy = new EntAtt;
  copy->unify_ = unify_;
  copy->print_ = print_;
  return copy;
}

void EntAtt::init(IRSlist* facets) {
  if (facets == nullptr) return;
  for (IRSlist* facet = facets->first(); facet != nullptr; facet = facet->next()) {
    const char* head = facet->is_list() ? facet->get_val(0) : nullptr;
    if (head != nullptr && std::string_view(head) == "default") {
      default_value(AttInterpreter::make_val(facet->nth(1)));
    } else {
      std::cerr << "EntAtt::EntAtt unknown facet ";
      print_facet(std::cerr, *facet);
      std::cerr << '\n';
    }
  }
}

int EntAtt::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (!v->defined(index)) {
    if (doit != 0) v->set_val(index, x);
    return 1;
  }
  const AttVal stored = att_val(v);
  if (unify_ == nullptr) return stored == x ? 1 : 0;
  const AttVal r = unify_(stored, x);
  if (r == 0) return 0;
  if (doit != 0) set_val(v, r);
  return 1;
}

const char* EntAtt::str_val(AttVal x) {
  std::ostringstream out;
  if (print_ != nullptr) {
    print_(x, out);
  } else {
    out << "0x" << std::hex << x;
  }
  text_ = out.str();
  return text_.c_str();
}

void EntAtt::pack(const AttVec*, StrBufs&) const {}

void EntAtt::unpack(AttVec*, ByteReader&) {}

void entatt_init() { AttInterpreter::attitp_proto_once<EntAtt>(); }

}  // namespace lorvan
