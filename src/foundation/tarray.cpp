// The bounds check stays active in release builds: an out-of-range index is
// a programming error that must stop the program.
#undef NDEBUG
#include "tarray.h"

#include <cassert>
#include <cstdlib>
#include <iostream>

namespace lorvan {

void tarray_index_fault(long index, long length) {
  std::cerr << "Array index out of bounds: " << index << " It should be between 0 and "
            << length - 1 << std::endl;
  assert(index >= 0 && index < length && "tarray index");
  std::abort();
}

}  // namespace lorvan
