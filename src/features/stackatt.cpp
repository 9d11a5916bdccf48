#include "features/stackatt.h"

#include <algorithm>

namespace lorvan {

const char* StackAtt::type_name() const { return "StackAtt"; }

AttInterpreter* StackAtt::new_interp() const { return new StackAtt; }

int StackAtt::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (!v->defined(index)) {
    if (doit != 0) v->set_val(index, x);
    return 1;
  }
  const AVList* other = as_list(x);
  const AVList* mine = stored(v);
  if (other == nullptr) return mine == nullptr ? 1 : 0;
  if (mine == nullptr) return 0;
  if (mine == other) return 1;
  const int m = std::min(mine->length(), other->length());
  if (unify_prefix(v, *other, m, doit) == 0) return 0;
  if (doit != 0 && other->length() > m) {
    AVList* list = own_stored(v);
    for (int k = m; k < other->length(); ++k) list->push((*other)[k]);
  }
  return 1;
}

void StackAtt::intersect(AttVec* v, const AttVec* w) {
  const int i = index();
  const AVList* other = stored(w);
  const AVList* mine = stored(v);
  if (!v->defined(i) || !w->defined(i) || other == nullptr || mine == nullptr) {
    AttInterpreter::intersect(v, w);
    return;
  }
  if (mine == other) return;
  const int m = std::min(mine->length(), other->length());
  AVList* list = own_stored(v);
  for (int k = 0; k < m; ++k) {
    if ((*list)[k] != (*other)[k]) list->own(k)->intersect(*(*other)[k]);
  }
  list->truncate(m);
}

void StackAtt::minus(AttVec* v, const AttVec* w) {
  const int i = index();
  if (!v->defined(i) || !w->defined(i)) return;
  const AVList* other = stored(w);
  if (other == nullptr || stored(v) == nullptr) return;
  AVList* list = own_stored(v);
  const int m = std::min(list->length(), other->length());
  for (int k = 0; k < m; ++k) list->own(k)->minus(*(*other)[k]);
}

int StackAtt::cmp_vals(AttVal a, AttVal b) const {
  const AVList* x = as_list(a);
  const AVList* y = as_list(b);
  if (x == nullptr || y == nullptr) return AttInterpreter::cmp_vals(a, b);
  if (x == y) return 0;
  const int m = std::min(x->length(), y->length());
  int r = 0;
  for (int k = 0; k < m; ++k) {
    if ((*x)[k] != (*y)[k] && !combine_cmp(r, (*x)[k]->cmp(*(*y)[k]))) return 2;
  }
  const int tail = x->length() > y->length() ? 1 : (x->length() < y->length() ? -1 : 0);
  return combine_cmp(r, tail) ? r : 2;
}

void stackatt_init() { AttInterpreter::attitp_proto_once<StackAtt>(); }

}  // namespace lorvan
