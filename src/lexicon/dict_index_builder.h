// Construction of the hash index of a dictionary text file (the layout is
// described in dict_index.h).
//
// The new index is written to a temporary file beside the index path and
// renamed over it only when it is complete, so a failed build leaves
// whatever was on disk before untouched.
#ifndef LORVAN_LEXICON_DICT_INDEX_BUILDER_H_
#define LORVAN_LEXICON_DICT_INDEX_BUILDER_H_

#include <cstdint>
#include <istream>
#include <string>

#include "lexicon/dict_on_disk_entry.h"

namespace lorvan {

// Indexes every entry of `dictionary` (read from its start; left cleared
// and rewound) into `index_path` with `buckets` buckets.  Prints
// "Making Index file " path ". Please wait.", then on the error stream the
// running count followed by " entries" every 5000 entries and once at the
// end.  On failure prints why -- "Cannot open index file " path when it
// cannot be created -- and returns false.  A dictionary must end before
// 2 GB, since positions are 31-bit.
bool build_dict_index(std::istream& dictionary, DictBrackets brackets, std::uint32_t buckets,
                      const std::string& index_path);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_DICT_INDEX_BUILDER_H_
