#include "features/smintatt.h"

#include <cstdio>

#include "features/attvec.h"
#include "features/intatt.h"

namespace lorvan {

const char* SmIntAtt::type_name() const { return "SmIntAtt"; }

AttInterpreter* SmIntAtt::new_interp() const { return new SmIntAtt; }

AttVal SmIntAtt::make_val(IRSlist* s) { return att_number(get_att_val(s)) & 0xff; }

int SmIntAtt::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (doit != 0 && !v->defined(index)) v->set_val(index, x);
  return 1;
}

const char* SmIntAtt::str_val(AttVal x) {
  static char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(x & 0xff));
  return text;
}

void smintatt_init() { AttInterpreter::attitp_proto_once<SmIntAtt>(); }

}  // namespace lorvan
