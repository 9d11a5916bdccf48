#include "features/disj8att.h"

namespace lorvan {

const char* Disj8Att::type_name() const { return "Disj8Att"; }

AttInterpreter* Disj8Att::new_interp() const { return new Disj8Att; }

void disj8att_init() { AttInterpreter::attitp_proto_once<Disj8Att>(); }

}  // namespace lorvan
