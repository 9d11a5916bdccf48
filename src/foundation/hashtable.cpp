#include "hashtable.h"

#include <ostream>

namespace lorvan {

void print_chain_profile(std::ostream& out, const std::vector<long>& buckets_with_size,
                         long total) {
  const std::size_t per_line = 5;
  for (std::size_t i = 0; i < buckets_with_size.size(); ++i) {
    out << "size=" << i << ':' << buckets_with_size[i];
    out << ((i + 1) % per_line == 0 || i + 1 == buckets_with_size.size() ? '\n' : '\t');
  }
  out << "total number of elements = " << total << '\n';
}

}  // namespace lorvan
