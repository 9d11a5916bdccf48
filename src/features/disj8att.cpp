#include "features/disj8att.h"

namespace lorvan {

const char* Disj8Att::type_name() const { return "Disj8Att"; }

AttInterpreter* Disj8Att::new_interp() const { return new Disj8Att; }

void disj8att_init() {
  static bool done = false;
  if (done) return;
  done = true;
  static const Disj8Att prototype;
  AttInterpreter::attitp_proto(&prototype);
}

}  // namespace lorvan
