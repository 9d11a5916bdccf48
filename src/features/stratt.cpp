#include "features/stratt.h"

#include <iostream>

#include "byte_reader.h"
#include "features/attvec.h"
#include "strbufs.h"

namespace lorvan {
namespace {

constexpr unsigned kStringBuckets = 1997;

const char* as_string(AttVal x) { return reinterpret_cast<const char*>(x); }

// The copies of the interned strings; never freed, like the table.
StrBufs& string_arena() {
  static StrBufs& arena = *new StrBufs(4096);
  return arena;
}

}  // namespace

StrAtt::StringTable& StrAtt::strings() {
  static StringTable& table = *new StringTable(kStringBuckets, &StringTable::identity_key);
  return table;
}

const char* StrAtt::intern(const char* text) {
  if (text == nullptr) return nullptr;
  StringTable& table = strings();
  StringTable::Place place;
  if (const char** found = table.find(text, place)) return *found;
  return *table.insert_at(place, string_arena().copy(text));
}

const char* StrAtt::type_name() const { return "StrAtt"; }

AttInterpreter* StrAtt::new_interp() const { return new StrAtt; }

AttVal StrAtt::get_val(const char* text) { return reinterpret_cast<AttVal>(intern(text)); }

AttVal StrAtt::make_val(IRSlist* s) { return get_val(get_att_val(s)); }

const char* StrAtt::str_val(AttVal x) { return as_string(x); }

void StrAtt::print(std::ostream& out, const AttVec* v) {
  const char* s = as_string(att_val(v));
  if (s == nullptr) {
    out << '~' << name();
  } else {
    out << '(' << name() << " \"" << s << "\")";
  }
}

void StrAtt::pack(const AttVec* v, StrBufs& out) const {
  const char* s = as_string(att_val(v));
  out.push(s);
  out.push_char('\0');
}

void StrAtt::unpack(AttVec* v, ByteReader& in) {
  if (const char* s = in.get_str()) set_val(v, reinterpret_cast<AttVal>(intern(s)));
}

void stratt_init() { AttInterpreter::attitp_proto_once<StrAtt>(); }

}  // namespace lorvan
