#include "features/intatt.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace lorvan {

AttVal att_number(const char* text) {
  if (text == nullptr) return 0;
  return static_cast<std::uint32_t>(std::strtol(text, nullptr, 10));
}

const char* IntAtt::type_name() const { return "IntAtt"; }

AttInterpreter* IntAtt::new_interp() const { return new IntAtt; }

AttVal IntAtt::make_val(IRSlist* s) { return att_number(get_att_val(s)); }

AttVal IntAtt::get_val(const char* text) { return att_number(text); }

int IntAtt::cmp_vals(AttVal a, AttVal b) const {
  const auto x = static_cast<std::uint32_t>(a);
  const auto y = static_cast<std::uint32_t>(b);
  if (x < y) return -1;
  return x > y ? 1 : 0;
}

const char* IntAtt::str_val(AttVal x) {
  std::snprintf(text_, sizeof text_, "%d", static_cast<int>(static_cast<std::uint32_t>(x)));
  return text_;
}

void IntAtt::print(std::ostream& out, const AttVec* v) {
  out << '(' << name() << ' ' << str_val(att_val(v)) << ')';
}

void intatt_init() { AttInterpreter::attitp_proto_once<IntAtt>(); }

}  // namespace lorvan
