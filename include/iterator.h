// Iterator: the common base of the system's stateful iterators.
//
// It carries one flag, "updated".  The flag is cleared at construction.  A
// consumer (or the iterator itself) sets it when the iterator has been
// repositioned inside a loop body -- for example because the element it
// stood on was removed -- so that the loop takes current() instead of
// advancing with next() once more.  Iterators that honour the flag clear it
// again when they hand out the new position.
#ifndef LORVAN_INCLUDE_ITERATOR_H_
#define LORVAN_INCLUDE_ITERATOR_H_

namespace lorvan {

class Iterator {
 public:
  Iterator() = default;
  virtual ~Iterator() = default;

  bool updated() const { return updated_; }
  void set_updated(bool value = true) { updated_ = value; }

 protected:
  bool updated_ = false;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_ITERATOR_H_
