#include "features/avlist.h"

#include "features/vecatt.h"

namespace lorvan {

AVList::AVList(const AVList& other) : RefCounter() {
  for (AttVec* v : other.elements_) push(v);
}

AVList::~AVList() { truncate(0); }

void AVList::push(AttVec* v) {
  if (v == nullptr) return;
  hold_attvec(v);
  elements_.add_high(v);
}

void AVList::insert(int i, AttVec* v) {
  if (v == nullptr) return;
  hold_attvec(v);
  elements_.get_vacant(i) = v;
}

void AVList::del(int i) {
  if (i < 0 || i >= length()) return;
  release_attvec(take(i));
}

AttVec* AVList::take(int i) {
  AttVec* v = elements_[i];
  elements_.del(i);
  return v;
}

void AVList::truncate(int n) {
  while (length() > n && length() > 0) del(length() - 1);
}

AttVec* AVList::own(int i) { return AttVec::desharing(elements_[i]); }

}  // namespace lorvan
