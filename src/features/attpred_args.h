// Argument reading shared by the expression kinds whose input is an
// attribute-value vector (attpred.h, attpred_consts.h, attpred_unify2.h,
// listatt_exps.h), and the holder of the constant vectors they compile.
//
// Most of these kinds start with an optional type name: when the first
// argument is an atom it names an attribute-vector type, otherwise the
// current type AttVec::the_itp_list is meant.  Attribute lists are lists of
// attribute names, each resolved with search_att_index (one leading sign
// ignored); an unknown name prints "The attribute <name> is not found" and
// is left out.  Constant vectors are written in the vector text form and
// read once, when the expression is compiled.
#ifndef LORVAN_FEATURES_ATTPRED_ARGS_H_
#define LORVAN_FEATURES_ATTPRED_ARGS_H_

#include <memory>
#include <utility>
#include <vector>

#include "expr/lexp.h"
#include "features/attvec.h"
#include "lbitset.h"

namespace lorvan {

class IRSlist;

// Whether `node` is an atom with a text (a name), as opposed to a list or
// an empty node "()".
bool is_name(const IRSlist* node);

// The type a kind works with.  `name` null means the current type; a named
// type that does not exist prints "<kind>: \"<name>\" is not a type of
// attribute value vector", and no current type prints "<kind>: there is no
// current attribute-vector type"; both give null.
const AttInterpreterList* resolve_att_type(const char* name, const char* kind);

// When `arg` is a name, takes it as the type name: `name` becomes its text
// and the next argument is returned.  Otherwise `name` becomes null and
// `arg` is returned.
IRSlist* take_type_name(IRSlist* arg, const char*& name);

// The index of the attribute `name` in `type`, or -1 after "The attribute
// <name> is not found" (also printed for a null name or type).
int resolve_att_index(const AttInterpreterList* type, const char* name);

// The indexes of the attributes listed in `names` (a list of names; null,
// an atom or an empty node list none), in the order written, unknown ones
// left out after the message above.
std::vector<int> resolve_att_indexes(const AttInterpreterList* type, const IRSlist* names);

// The set of the attributes listed in `names`, as resolve_att_indexes.
LBitSet resolve_att_set(const AttInterpreterList* type, const IRSlist* names);

// Whether attribute i exists in v's type (an index compiled for another
// type may not); indexes outside the type count as undefined attributes.
inline bool has_att(const AttVec& v, int i) { return i >= 0 && i < v.num_attributes(); }

// An operand expression compiled from `e` that must give vectors: when its
// declared output type is known and is not "AttVec*" it prints "<kind>:
// operand <position> gives '<type>', not 'AttVec*'" and gives null, since
// its values would be misread as vectors.
std::unique_ptr<LExp> vector_operand(IRSlist* e, const char* kind, int position);

// A constant vector owned by an expression.  The expression keeps one hold
// on it, so vectors and lists that come to share it (by unification or
// copies) never delete it and treat it as shared (copy-on-write).  Copying
// a HeldVec makes a new vector, so copies of an expression never see each
// other's vector change.
class HeldVec {
 public:
  HeldVec() = default;
  // Takes over `v` (null allowed) and holds it.
  explicit HeldVec(AttVec* v);
  HeldVec(const HeldVec& other);
  HeldVec(HeldVec&& other) noexcept : vec_(std::exchange(other.vec_, nullptr)) {}
  HeldVec& operator=(const HeldVec&) = delete;
  HeldVec& operator=(HeldVec&& other) noexcept {
    std::swap(vec_, other.vec_);
    return *this;
  }
  ~HeldVec();

  AttVec* get() const { return vec_; }
  explicit operator bool() const { return vec_ != nullptr; }

 private:
  AttVec* vec_ = nullptr;
};

// A new vector of `type` read from the text form `text` (consumed; null or
// an empty node: an empty vector); null when `type` is null.
HeldVec read_const_vec(IRSlist* text, const AttInterpreterList* type);

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTPRED_ARGS_H_
