#include "features/binatt.h"

#include <iostream>

#include "features/att_interpreter_list.h"
#include "features/attvec.h"

namespace lorvan {

const char* BinAtt::type_name() const { return "BinAtt"; }

AttInterpreter* BinAtt::new_interp() const { return new BinAtt; }

void BinAtt::update_list(AttInterpreterList* list) {
  list->add_binary(index());
  storage_position(index());
}

AttVal BinAtt::att_val(const AttVec* v) const { return v->binary_bit(storage_position()) ? 1 : 0; }

void BinAtt::set_val(AttVec* v, AttVal x) { v->set_binary_bit(storage_position(), x != 0); }

AttVal BinAtt::make_val(IRSlist* s) { return get_val(get_att_val(s)); }

AttVal BinAtt::get_val(const char* text) {
  if (text != nullptr && text[0] == '+') return 1;
  if (text != nullptr && text[0] == '-') return 0;
  std::cerr << "BinAtt::get_val " << (text != nullptr ? text : "")
            << " is not a valid value for binary attribute\n";
  return 0;
}

const char* BinAtt::str_val(AttVal x) { return x != 0 ? "+" : "-"; }

void BinAtt::pack(const AttVec*, StrBufs&) const {
  std::cerr << "BinAtt::pack(const AttVec*, StrBufs&) should never be called\n";
}

void BinAtt::unpack(AttVec*, ByteReader&) {
  std::cerr << "BinAtt::unpack(AttVec*, const char*&) should never be called\n";
}

bool BinAtt::releases_values() const { return false; }

void binatt_init() { AttInterpreter::attitp_proto_once<BinAtt>(); }

}  // namespace lorvan
