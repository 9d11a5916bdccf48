#include "deptree/trel.h"

#include <ostream>

#include "deptree/val_type.h"

namespace lorvan {

TRel::TRel(const char* name, int value, int capacity)
    : PropList(capacity), name_(ValType::name(ValType::get_id(name))), value_(value) {}

void TRel::print(std::ostream& out) const {
  out << '(' << (name_ != nullptr ? name_ : "");
  PropList::print(out);
  out << ')';
}

}  // namespace lorvan
