#include "deptree/prop_list.h"

#include <cstdlib>
#include <ostream>

#include "command/irslist.h"
#include "deptree/val_type.h"
#include "strbufs.h"

namespace lorvan {

namespace {

// The value type's copy of v, or v itself for a property without one.
void* stored_copy(int id, void* v) {
  ValType* type = ValType::val_type(id);
  return type != nullptr ? type->copy_val(v) : v;
}

void free_value(int id, void* v) {
  if (ValType* type = ValType::val_type(id)) type->del(v);
}

}  // namespace

void* PropVal::val(int t) const {
  if (t >= 0 && t != ValType::type_id(id)) return nullptr;
  return value;
}

PropList::PropList(int capacity) : vals_(capacity) {}

PropList::~PropList() {
  for (const PropVal& e : vals_) free_value(e.id, e.value);
}

int PropList::search(int id, int& pos) const {
  int lo = 0;
  int hi = vals_.length();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (vals_[mid].id < id) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  pos = lo;
  return lo < vals_.length() && vals_[lo].id == id ? 1 : 0;
}

int PropList::search(const PropVal& entry, int& pos) const {
  if (search(entry.id, pos) == 0) return 0;
  for (int i = pos; i < vals_.length() && vals_[i].id == entry.id; ++i) {
    if (vals_[i].value == entry.value) {
      pos = i;
      return 1;
    }
  }
  return 0;
}

void* PropList::get_val(int id) const {
  int pos;
  return search(id, pos) != 0 ? vals_[pos].value : nullptr;
}

int PropList::get_vals(int id, TSlist<PropVal>& out) const {
  int pos;
  search(id, pos);
  int count = 0;
  for (; pos < vals_.length() && vals_[pos].id == id; ++pos, ++count) out.append(vals_[pos]);
  return count;
}

void PropList::erase(int pos) {
  free_value(vals_[pos].id, vals_[pos].value);
  vals_.del(pos);
}

int PropList::del_prop(int id) {
  int pos;
  if (search(id, pos) == 0) return 0;
  while (pos < vals_.length() && vals_[pos].id == id) erase(pos);
  return 1;
}

void PropList::add_propval(const PropVal& entry) {
  // Values compare as stored: an interned string equals every spelling of
  // it that differs only in letter case.
  const PropVal stored(entry.id, stored_copy(entry.id, entry.value), entry.weight);
  int pos;
  if (search(stored, pos) != 0) {
    vals_[pos].weight = stored.weight;
    return;
  }
  vals_.get_vacant(pos) = stored;
}

void PropList::init(IRSlist* list) {
  if (list == nullptr) return;
  for (IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    IRSlist* property = e->first();
    IRSlist* value = property != nullptr ? property->next() : nullptr;
    if (value == nullptr) continue;
    const int id = ValType::get_existing_id(property->val());
    ValType* type = ValType::val_type(id);
    if (type == nullptr) continue;
    void* v = value->is_list() ? type->make_val(value) : type->make_atom_val(value->val());
    const IRSlist* weight = value->next();
    const float w = weight != nullptr && weight->val() != nullptr
                        ? static_cast<float>(std::strtod(weight->val(), nullptr))
                        : 0.0f;
    // After the entries of the same id, so that they keep the order written.
    int pos;
    search(id + 1, pos);
    vals_.get_vacant(pos) = PropVal(id, v, w);
  }
}

void PropList::print(std::ostream& out) const {
  for (const PropVal& e : vals_) {
    ValType* type = ValType::val_type(e.id);
    if (type == nullptr) continue;
    out << " (" << ValType::name(e.id) << ' ' << StrBufs::quote_white(type->toString(e.value));
    if (e.weight != 0) out << ' ' << e.weight;
    out << ')';
  }
}

}  // namespace lorvan
