// TArray<T>: a growable array with a length and a capacity.
//
// When full, the array grows by capacity/4 + 4 elements.  Indexing outside
// 0..length-1 is a programming error: it prints "Array index out of bounds: "
// index " It should be between 0 and " length-1 on the error stream and
// stops the program with a failed tarray assertion (also in release builds).
//
// The array owns its elements (values); an array of pointers does not own
// what they point to.  Element references stay valid until the array grows
// or elements are inserted or deleted before them.
#ifndef LORVAN_INCLUDE_TARRAY_H_
#define LORVAN_INCLUDE_TARRAY_H_

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace lorvan {

// Reports an index outside 0..length-1 and aborts the program.
[[noreturn]] void tarray_index_fault(long index, long length);

template <class T>
class TArray {
  static_assert(!std::is_same_v<T, bool>, "use TArray<char> for flags");

 public:
  TArray() = default;
  // Starts with room for capacity elements.
  explicit TArray(int capacity) { v_.reserve(capacity > 0 ? capacity : 0); }

  int length() const { return static_cast<int>(v_.size()); }
  int capacity() const { return static_cast<int>(v_.capacity()); }
  bool empty() const { return v_.empty(); }

  T& operator[](int i) {
    check(i, length());
    return v_[static_cast<std::size_t>(i)];
  }
  const T& operator[](int i) const {
    check(i, length());
    return v_[static_cast<std::size_t>(i)];
  }
  // The last element; the array must not be empty.
  T& high() { return (*this)[length() - 1]; }

  // Appends x and returns its index.
  int add_high(const T& x) {
    make_room();
    v_.push_back(x);
    return length() - 1;
  }
  int add_high(T&& x) {
    make_room();
    v_.push_back(std::move(x));
    return length() - 1;
  }
  // Opens a value-initialised slot at index i (0..length), shifting the
  // elements from i on up by one; a negative i means the end.  Returns the
  // slot.
  T& get_vacant(int i) {
    if (i < 0) i = length();
    check(i, length() + 1);
    make_room();
    return *v_.insert(v_.begin() + i, T());
  }
  // Removes element i, closing the gap.
  void del(int i) {
    check(i, length());
    v_.erase(v_.begin() + i);
  }
  // Shrinks the array to n elements (n <= length), or grows it with
  // value-initialised elements.
  void set_length(int n) {
    const std::size_t size = n > 0 ? static_cast<std::size_t>(n) : 0;
    // The capacity the growth steps would reach, allocated at once.
    std::size_t capacity = v_.capacity();
    while (capacity < size) capacity = grown(capacity);
    v_.reserve(capacity);
    v_.resize(size);
  }
  // Removes all elements; the capacity stays.
  void clear() { v_.clear(); }

  T* begin() { return v_.data(); }
  T* end() { return v_.data() + v_.size(); }
  const T* begin() const { return v_.data(); }
  const T* end() const { return v_.data() + v_.size(); }

 private:
  static void check(int i, int limit) {
    if (i < 0 || i >= limit) [[unlikely]]
      tarray_index_fault(i, limit);
  }
  static std::size_t grown(std::size_t capacity) { return capacity + capacity / 4 + 4; }
  void make_room() {
    if (v_.size() == v_.capacity()) v_.reserve(grown(v_.capacity()));
  }

  std::vector<T> v_;
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_TARRAY_H_
