#include "features/enumatt.h"

#include <iostream>

#include "byte_reader.h"
#include "features/attvec.h"

namespace lorvan {

const char* EnumAtt::type_name() const { return "EnumAtt"; }

AttInterpreter* EnumAtt::new_interp() const { return new EnumAtt; }

void EnumAtt::init(IRSlist* facets) { values_.read(facets, name(), kMaxValues); }

AttVal EnumAtt::get_val(const char* text) {
  if (text == nullptr) return 0;
  const int pos = values_.position(text);
  if (pos < 0) {
    if (text[0] != '~') {
      std::cerr << "EnumAtt::get_val: " << text << " is not an allowable value of " << name()
                << '\n';
    }
    return 0;
  }
  return pos <= kMaxValues ? static_cast<AttVal>(pos) : 0;
}

AttVal EnumAtt::make_val(IRSlist* s) { return get_val(get_att_val(s)); }

const char* EnumAtt::str_val(AttVal x) {
  return x == 0 ? "~" : values_.entry(static_cast<int>(x));
}

void EnumAtt::unpack(AttVec* v, ByteReader& in) {
  const unsigned char c = static_cast<unsigned char>(in.get_char());
  if (!in.ok()) return;
  if (c == 0 || c < values_.size()) {
    set_val(v, c);
    return;
  }
  std::cerr << "EnumAtt::unpack: " << static_cast<int>(c) << " is not a value position of "
            << name() << '\n';
  in.skip(in.remaining() + 1);  // fails the reader
}

void enumatt_init() { AttInterpreter::attitp_proto_once<EnumAtt>(); }

}  // namespace lorvan
