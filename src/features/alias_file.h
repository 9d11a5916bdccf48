// Alias files: the binary form in which the aliases of an attribute-vector
// type are saved and loaded.
//
// A file is a series of records with no header or trailer.  Each record is
// a 4-byte big-endian length L followed by L bytes: the alias name, a NUL
// byte, and the alias vector's binary form (AttVec::pack).  Aliases are
// written in the type's visiting order, most specific first.
#ifndef LORVAN_FEATURES_ALIAS_FILE_H_
#define LORVAN_FEATURES_ALIAS_FILE_H_

#include <iosfwd>

namespace lorvan {

class AttInterpreterList;

// Writes one record per alias of `type`.  Returns whether the stream is
// still good.
bool save_aliases(const AttInterpreterList& type, std::ostream& out);

// Reads records until the length of the next one cannot be read, adding
// each as an alias of `type` (a name already used keeps its first
// definition).  A record cut short, or one whose content is not a name and
// a vector, prints "load-aliases: <file_name>: " and the fault on
// std::cerr; a cut record ends the reading, a corrupt one is skipped.
// Returns the number of aliases added.
int load_aliases(AttInterpreterList& type, std::istream& in, const char* file_name);

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ALIAS_FILE_H_
