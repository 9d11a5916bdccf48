#include "features/listatt.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>

#include "byte_reader.h"
#include "command/irslist.h"
#include "features/vecatt.h"
#include "strbufs.h"

namespace lorvan {
namespace {

constexpr int kMaxPackedElements = 0xffff;

// Whether some element has a defined attribute.
bool has_content(const AVList& list) {
  for (const AttVec* e : list.list()) {
    if (!e->defined_set().empty()) return true;
  }
  return false;
}

// " " and each element printed with aliases.
void print_elements(std::ostream& out, const AVList& list) {
  for (const AttVec* e : list.list()) {
    out << ' ';
    e->print(out);
  }
}

}  // namespace

const char* ListAtt::type_name() const { return "ListAtt"; }

AttInterpreter* ListAtt::new_interp() const { return new ListAtt; }

void ListAtt::set_val(AttVec* v, AttVal x) { store_shared(v, storage_position(), as_list(x)); }

void ListAtt::del_val(AttVec* v) { store_shared<AVList>(v, storage_position(), nullptr); }

int ListAtt::unify_prefix(AttVec* v, const AVList& x, int n, int doit) {
  AVList* mine = stored(v);
  for (int k = 0; k < n; ++k) {
    const AttVec* other = x[k];
    if ((*mine)[k] == other) continue;
    if (doit == 0) {
      if (!(*mine)[k]->unifiable(*other)) return 0;
      continue;
    }
    mine = own_stored(v);
    if (!mine->own(k)->unify(*other, nullptr, 1)) return 0;
  }
  return 1;
}

int ListAtt::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (!v->defined(index)) {
    if (doit != 0) v->set_val(index, x);
    return 1;
  }
  const AVList* other = as_list(x);
  const AVList* mine = stored(v);
  if (other == nullptr) return mine == nullptr ? 1 : 0;
  if (mine == nullptr || mine->length() != other->length()) return 0;
  if (mine == other) return 1;
  return unify_prefix(v, *other, other->length(), doit);
}

void ListAtt::modify_val(AttVec* v, int index, AttVal x) {
  const AVList* other = as_list(x);
  const AVList* mine = stored(v);
  if (!v->defined(index) || other == nullptr || mine == nullptr) {
    v->set_val(index, x);
    return;
  }
  if (mine == other) return;
  AVList* list = own_stored(v);
  for (int k = 0; k < other->length(); ++k) {
    const AttVec* e = (*other)[k];
    if (k >= list->length()) {
      list->push(new AttVec(*e));
    } else if ((*list)[k] != e) {
      list->own(k)->modify_with(*e);
    }
  }
}

void ListAtt::minus(AttVec* v, const AttVec* w) {
  const int i = index();
  if (!v->defined(i) || !w->defined(i)) return;
  const AVList* other = stored(w);
  const AVList* mine = stored(v);
  if (other == nullptr || mine == nullptr || mine->length() != other->length()) return;
  AVList* list = own_stored(v);
  for (int k = 0; k < list->length(); ++k) list->own(k)->minus(*(*other)[k]);
  if (!has_content(*list)) v->undefine(i);
}

void ListAtt::intersect(AttVec* v, const AttVec* w) {
  const int i = index();
  const AVList* other = stored(w);
  const AVList* mine = stored(v);
  if (!v->defined(i) || !w->defined(i) || other == nullptr || mine == nullptr) {
    AttInterpreter::intersect(v, w);
    return;
  }
  if (mine->length() != other->length()) {
    v->undefine(i);
    return;
  }
  if (mine == other) return;
  AVList* list = own_stored(v);
  for (int k = 0; k < list->length(); ++k) {
    if ((*list)[k] != (*other)[k]) list->own(k)->intersect(*(*other)[k]);
  }
}

bool ListAtt::combine_cmp(int& r, int c) {
  if (c == 0) return true;
  if (c == 2 || c == -2 || (r != 0 && r != c)) return false;
  r = c;
  return true;
}

int ListAtt::cmp_vals(AttVal a, AttVal b) const {
  const AVList* x = as_list(a);
  const AVList* y = as_list(b);
  if (x == nullptr || y == nullptr) return AttInterpreter::cmp_vals(a, b);
  if (x == y) return 0;
  if (x->length() != y->length()) return 2;
  int r = 0;
  for (int k = 0; k < x->length(); ++k) {
    if ((*x)[k] != (*y)[k] && !combine_cmp(r, (*x)[k]->cmp(*(*y)[k]))) return 2;
  }
  return r;
}

AttVal ListAtt::make_val(IRSlist* s) {
  AttInterpreterList* type = nested_type();
  if (s == nullptr || s->first() == nullptr || type == nullptr) return 0;
  NestedValueDepth depth;
  if (depth.too_deep(*this)) return 0;
  auto* list = new AVList;
  for (IRSlist* e = s->first(); e != nullptr; e = e->next()) list->push(new AttVec(e, type));
  return reinterpret_cast<AttVal>(list);
}

void ListAtt::discard_val(AttVal x) {
  AVList* list = as_list(x);
  if (list != nullptr && list->ref_cnt() == 0) delete list;
}

void ListAtt::print(std::ostream& out, const AttVec* v) {
  const AVList* list = stored(v);
  if (list == nullptr) {
    out << '~' << name();
    return;
  }
  if (!has_content(*list)) return;
  out << '(' << name();
  print_elements(out, *list);
  out << ')';
}

const char* ListAtt::str_val(AttVal x) {
  const AVList* list = as_list(x);
  if (list == nullptr) return nullptr;
  std::ostringstream out;
  print_elements(out, *list);
  return keep_text(out.str());
}

void ListAtt::pack(const AttVec* v, StrBufs& out) const {
  const AVList* list = stored(v);
  const int n = list == nullptr ? 0 : std::min(list->length(), kMaxPackedElements);
  out.push_short(n);
  for (int k = 0; k < n; ++k) (*list)[k]->pack(out);
}

void ListAtt::unpack(AttVec* v, ByteReader& in) {
  AttInterpreterList* type = nested_type();
  const int n = in.get_unsigned_short();
  if (!in.ok()) return;
  NestedValueDepth depth;
  if (type == nullptr || depth.too_deep(*this)) {
    in.skip(in.remaining() + 1);  // fails the reader
    return;
  }
  auto list = std::make_unique<AVList>();
  for (int k = 0; k < n; ++k) {
    auto* e = new AttVec(type);
    list->push(e);
    if (!e->unpack(in)) {
      in.skip(in.remaining() + 1);
      return;
    }
  }
  set_val(v, reinterpret_cast<AttVal>(list.release()));
}

void listatt_kind_init() { AttInterpreter::attitp_proto_once<ListAtt>(); }

}  // namespace lorvan
