#include "features/vecatt.h"

#include <iostream>
#include <memory>
#include <sstream>

#include "byte_reader.h"
#include "command/irslist.h"
#include "strbufs.h"

namespace lorvan {

// -------------------------------------------------------- NestedValueDepth

int NestedValueDepth::depth_ = 0;

bool NestedValueDepth::too_deep(const AttInterpreter& att) const {
  if (depth_ <= kMaxDepth) return false;
  std::cerr << att.name() << ": values nested more than " << kMaxDepth
            << " levels deep are not read\n";
  return true;
}

// ------------------------------------------------------------------ VecAtt

const char* VecAtt::type_name() const { return "VecAtt"; }

AttInterpreter* VecAtt::new_interp() const { return new VecAtt; }

void VecAtt::set_val(AttVec* v, AttVal x) { store_shared(v, storage_position(), as_vec(x)); }

void VecAtt::del_val(AttVec* v) { store_shared<AttVec>(v, storage_position(), nullptr); }

int VecAtt::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (!v->defined(index)) {
    if (doit != 0) v->set_val(index, x);
    return 1;
  }
  const AttVec* other = as_vec(x);
  AttVec* mine = stored(v);
  if (other == nullptr) return mine == nullptr ? 1 : 0;
  if (mine == nullptr) return 0;
  if (mine == other) return 1;
  if (doit != 0) mine = own_stored(v);
  return mine->unify(*other, nullptr, doit);
}

void VecAtt::modify_val(AttVec* v, int index, AttVal x) {
  const AttVec* other = as_vec(x);
  AttVec* mine = stored(v);
  if (v->defined(index) && other != nullptr && mine != nullptr) {
    if (mine != other) own_stored(v)->modify_with(*other);
    return;
  }
  v->set_val(index, x);
}

void VecAtt::minus(AttVec* v, const AttVec* w) {
  const int i = index();
  if (!v->defined(i) || !w->defined(i)) return;
  const AttVec* other = stored(w);
  const AttVec* mine = stored(v);
  if (other == nullptr || mine == nullptr) return;
  if (mine->cmp(*other) == 0) {
    v->undefine(i);
  } else {
    own_stored(v)->minus(*other);
  }
}

void VecAtt::intersect(AttVec* v, const AttVec* w) {
  const int i = index();
  const AttVec* other = stored(w);
  const AttVec* mine = stored(v);
  if (v->defined(i) && w->defined(i) && other != nullptr && mine != nullptr) {
    if (mine != other) own_stored(v)->intersect(*other);
    return;
  }
  AttInterpreter::intersect(v, w);
}

int VecAtt::cmp_vals(AttVal a, AttVal b) const {
  const AttVec* x = as_vec(a);
  const AttVec* y = as_vec(b);
  if (x == y) return 0;
  if (x == nullptr || y == nullptr) return 2;
  return x->cmp(*y);
}

AttVal VecAtt::make_val(IRSlist* s) {
  AttInterpreterList* type = nested_type();
  if (s == nullptr || s->first() == nullptr || type == nullptr) return 0;
  NestedValueDepth depth;
  if (depth.too_deep(*this)) return 0;
  return reinterpret_cast<AttVal>(new AttVec(s->first(), type));
}

void VecAtt::discard_val(AttVal x) {
  AttVec* p = as_vec(x);
  if (p != nullptr && p->ref_cnt() == 0) delete p;
}

void VecAtt::print(std::ostream& out, const AttVec* v) {
  const AttVec* p = stored(v);
  if (p == nullptr) {
    out << '~' << name();
    return;
  }
  if (p->defined_set().empty()) return;
  out << '(' << name() << ' ';
  p->print(out);
  out << ')';
}

const char* VecAtt::str_val(AttVal x) {
  const AttVec* p = as_vec(x);
  if (p == nullptr) return nullptr;
  std::ostringstream out;
  p->print(out);
  return keep_text(out.str());
}

void VecAtt::pack(const AttVec* v, StrBufs& out) const {
  if (const AttVec* p = stored(v)) p->pack(out);
}

void VecAtt::unpack(AttVec* v, ByteReader& in) {
  AttInterpreterList* type = nested_type();
  NestedValueDepth depth;
  if (type == nullptr || depth.too_deep(*this)) {
    in.skip(in.remaining() + 1);  // fails the reader
    return;
  }
  auto p = std::make_unique<AttVec>(type);
  if (!p->unpack(in)) {
    in.skip(in.remaining() + 1);
    return;
  }
  set_val(v, reinterpret_cast<AttVal>(p.release()));
}

void vecatt_init() { AttInterpreter::attitp_proto_once<VecAtt>(); }

}  // namespace lorvan
