// The compact binary form of a dependency structure, used to store parsed
// sentences.  Numbers are big-endian (16-bit unless said), strings
// NUL-terminated:
//
//   structure: N, the count of word entries including entry 0 (0 when there
//              is no tree, and nothing follows); N strings, entry 0 as "";
//              then the top node.
//   node:      a flags byte, then
//                kSinglePos  low = high = pos, one signed byte, instead of
//                            the three 16-bit values low, high, pos;
//                kCategory   the category;
//                kRelation   the relation;
//                kRoot       the root (only when it differs from the word at
//                            pos, ignoring case);
//                kAttVec     the packed attribute vector;
//              then the 16-bit count of dependents and the dependents.
//
// Names, properties, weights, white space and assertions are not stored.
// Unpacking gives every word the space " ", a node without kRoot the word
// at its pos as root (none for pos <= 0), and every dependent the
// after-head flag its span gives it.  A packed attribute vector in a
// structure without attribute-vector type prints "The type of AttVec in
// dependency tree is not defined\n" and ends the program with status 1.
//
// Packing and unpacking walk the tree iteratively; unpacking checks every
// read against the end of the data.
#ifndef LORVAN_DEPTREE_DEPS_BINARY_H_
#define LORVAN_DEPTREE_DEPS_BINARY_H_

namespace lorvan {

class ByteReader;
class Deps;
class StrBufs;

namespace deps_flags {
constexpr unsigned char kSinglePos = 1;
constexpr unsigned char kCategory = 2;
constexpr unsigned char kRelation = 4;
constexpr unsigned char kRoot = 8;
constexpr unsigned char kAttVec = 16;
constexpr unsigned char kAll = 31;
}  // namespace deps_flags

// Appends the binary form of `deps` to `out` (binary appends: the current
// string is not completed).
void pack_deps(const Deps& deps, StrBufs& out);

// Reads a binary form into the empty structure `deps`.  A truncated or
// damaged form prints "Deps::unpack: the binary form is truncated\n" (or
// "... is damaged\n"), leaves whatever was read and returns false.
bool unpack_deps(Deps& deps, ByteReader& in);

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_DEPS_BINARY_H_
