#include "features/attkinds.h"

#include "features/disj8att.h"
#include "features/disjatt.h"
#include "features/entatt.h"
#include "features/enumatt.h"
#include "features/intatt.h"
#include "features/listatt.h"
#include "features/smintatt.h"
#include "features/stackatt.h"
#include "features/stratt.h"
#include "features/traceatt.h"
#include "features/vecatt.h"

namespace lorvan {

void attkinds_init() {
  disjatt_init();
  disj8att_init();
  entatt_init();
  enumatt_init();
  intatt_init();
  smintatt_init();
  stratt_init();
  vecatt_init();
  listatt_kind_init();
  stackatt_init();
  traceatt_init();
}

}  // namespace lorvan
