#include "features/traceatt.h"

#include <algorithm>
#include <iostream>

#include "command/irslist.h"

namespace lorvan {

// ---------------------------------------------------------------- TraceVal

bool TraceVal::contains(const TraceRec& r) const {
  return std::find(list_.begin(), list_.end(), r) != list_.end();
}

// ---------------------------------------------------------------- TraceAtt

TraceAtt::ItemPrinter TraceAtt::item_printer_ = nullptr;

void TraceAtt::set_item_printer(ItemPrinter printer) { item_printer_ = printer; }

const char* TraceAtt::type_name() const { return "TraceAtt"; }

AttInterpreter* TraceAtt::new_interp() const { return new TraceAtt; }

bool TraceAtt::releases_values() const { return true; }

void TraceAtt::set_val(AttVec* v, AttVal x) {
  store_shared(v, storage_position(), as_trace(x));
}

void TraceAtt::del_val(AttVec* v) { store_shared<TraceVal>(v, storage_position(), nullptr); }

int TraceAtt::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (!v->defined(index)) {
    if (doit != 0) v->set_val(index, x);
    return 1;
  }
  const TraceVal* other = as_trace(x);
  TraceVal* mine = stored(v);
  if (other == nullptr) return mine == nullptr ? 1 : 0;
  if (mine == nullptr) return 0;
  if (doit == 0 || mine == other) return 1;
  for (const TraceRec& r : other->list()) {
    if (mine->contains(r)) continue;
    mine = own_stored(v);
    mine->push(r);
  }
  return 1;
}

AttVal TraceAtt::make_val(IRSlist* s) {
  if (s != nullptr && s->first() != nullptr) {
    std::cerr << "TraceAtt::make_val(IRSlist*) fails with argument: ";
    s->print_line(std::cerr);
    std::cerr << '\n';
  }
  return 0;
}

void TraceAtt::print(std::ostream& out, const AttVec* v) {
  const TraceVal* t = stored(v);
  if (t == nullptr) {
    out << '~' << name();
    return;
  }
  if (t->empty()) return;
  out << '(' << name();
  for (const TraceRec& r : t->list()) {
    out << " (" << (r.name != nullptr ? r.name : "unknown");
    if (item_printer_ != nullptr && r.item != nullptr) item_printer_(out, r.item);
    out << ')';
  }
  out << ')';
}

void TraceAtt::pack(const AttVec*, StrBufs&) const {}

void TraceAtt::unpack(AttVec*, ByteReader&) {}

void traceatt_init() { AttInterpreter::attitp_proto_once<TraceAtt>(); }

}  // namespace lorvan
