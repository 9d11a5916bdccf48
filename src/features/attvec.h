// AttVec: an attribute-value vector, the feature structure every lexical
// meaning, lexical item, parse item and tree node carries; with unification
// (the parser's feature check), subsumption comparison, restriction to
// attribute sets, text and binary forms.  Its type, AttInterpreterList
// (att_interpreter_list.h), says which attributes it may hold.
//
// Layout.  `defined` holds the indexes of the attributes that have a value.
// Binary attributes keep their value in `binary values` (member i: '+',
// absent: '-'; meaningful only where defined).  Every other value lives in
// one zero-filled block: the type's word attributes' value words first
// (word position = storage position), then the byte attributes' bytes.
// The block is sized from the type when the type is set and grows if the
// type gains attributes later.
//
// Sharing.  A vector carries a reference count (0 when made) that its
// holders manage: parse items, lists of vectors, nested-vector values.  The
// vector never frees itself.  A holder that wants to change a shared vector
// calls desharing() first (copy-on-write).  Values that are shared objects
// are counted by their kinds; copying a vector shares them.
//
// Attribute indexes given by code must be valid for the type; an invalid
// index is a programming error that stops the program.  Operations on two
// vectors of different types print a message and do nothing (or fail).
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_FEATURES_ATTVEC_H_
#define LORVAN_FEATURES_ATTVEC_H_

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>

#include "features/att_interpreter.h"
#include "features/att_interpreter_list.h"
#include "lbitset.h"

namespace lorvan {

class ByteReader;
class IRSlist;
class StrBufs;

// A plain reference count managed by the holders of an object.
class RefCounter {
 public:
  int ref_cnt() const { return count_; }
  void inc_ref_cnt() { ++count_; }
  // Returns the new count.
  int dec_ref_cnt() { return --count_; }
  bool shared() const { return count_ > 1; }

 private:
  int count_ = 0;
};

class AttVec : public RefCounter {
 public:
  // The current attribute-vector type: set by def-att-list and
  // set-att-itp-list; the default type of make-av, aliases and sets.
  static AttInterpreterList* the_itp_list;

  // No type, nothing allocated.
  AttVec() = default;
  explicit AttVec(const AttInterpreterList* t) { interpreter_list(t); }
  // interpreter_list(t), then initialize(text).
  AttVec(IRSlist* text, const AttInterpreterList* t);
  // A vector of v's type holding v's attributes in `mask` (all when null);
  // shared values are shared, not copied.  The count starts at 0.
  AttVec(const AttVec& v, const LBitSet* mask = nullptr);
  // Same as copy(w).
  AttVec& operator=(const AttVec& w);
  // Releases every defined value and frees the storage.
  ~AttVec();

  // ---- Type ----

  // Sets the type, sizes both bit sets for its attributes (all clear) and
  // allocates the zero-filled storage.  A vector that had a type releases
  // its values first.  Null prints "Creating AttVec with nil Interpreter\n"
  // and leaves the vector without type.
  void interpreter_list(const AttInterpreterList* t);
  const AttInterpreterList* interpreter_list() const { return type_; }
  AttInterpreter* interpreter(int i) const { return type_->interpreter(i); }
  int num_attributes() const { return type_ != nullptr ? type_->num_attributes() : 0; }
  // The name of attribute i; null when there is no type.
  const char* att_name(int i) const { return type_ != nullptr ? type_->att_name(i) : nullptr; }

  // ---- Values ----

  bool defined(int i) const { return defined_.test(i); }
  const LBitSet& defined_set() const { return defined_; }
  const LBitSet& binary_values() const { return binary_; }
  // 0 when attribute i is undefined, else its kind's att_val.
  AttVal get_val(int i) const {
    return defined_.test(i) ? interpreter(i)->att_val(this) : 0;
  }
  // Defines attribute i and stores `value` through its kind's set_val.
  void set_val(int i, AttVal value);
  // If defined: clears the defined bit, then the kind's del_val.
  void undefine(int i);
  // Null when undefined, else the kind's str_val of the value.
  const char* str_val(int i) const;
  // Releases every defined value and clears the vector; the type stays.
  void init();

  // ---- Storage access for the kinds ----

  AttVal word(int pos) const { return pos < nwords_ ? words_[pos] : 0; }
  void set_word(int pos, AttVal x) {
    if (pos >= nwords_) grow_storage(pos, -1);
    words_[pos] = x;
  }
  unsigned char byte(int pos) const { return pos < nbytes_ ? bytes()[pos] : 0; }
  void set_byte(int pos, unsigned char x) {
    if (pos >= nbytes_) grow_storage(-1, pos);
    bytes()[pos] = x;
  }
  bool binary_bit(int pos) const { return binary_.test(pos); }
  void set_binary_bit(int pos, bool on) {
    if (on) {
      binary_.set(pos);
    } else {
      binary_.clear(pos);
    }
  }

  // ---- Reading the text form ----

  // Reads a list of attribute entries into the vector (merging
  // with unification; a conflict keeps the earlier value).  Each element
  // is removed from `text` and destroyed.  An element without name
  // prints "() is used as attribute name.\n" and ends the reading; an
  // unknown name that is no alias prints "Unknown attribute <name>".
  void initialize(IRSlist* text);

  // ---- Unification and comparison ----

  // For every attribute defined in w (and in `mask` when given), in
  // increasing index: the kind's unify_val(this, i, w's value, doit);
  // stops with 0 at the first failure, else 1.  With doit = 0 nothing
  // changes; with doit set, changes before a failure stay.  Allocates
  // nothing unless a shared value must be copied.
  int unify(const AttVec& w, const LBitSet* mask = nullptr, int doit = 1);
  int unifiable(const AttVec& w, const LBitSet* mask = nullptr) const {
    return const_cast<AttVec*>(this)->unify(w, mask, 0);
  }
  static int unifiable(const AttVec& v, const AttVec& w) { return v.unifiable(w); }
  // For each attribute defined in w and `mask`: the kind's modify_val.
  void modify_with(const AttVec& w, const LBitSet* mask = nullptr);
  // For each such attribute: the kind's unify_val with doit, result
  // ignored (fills in undefined attributes).
  void complement_with(const AttVec& w, const LBitSet* mask = nullptr);
  // Subsumption restricted to `mask`: 0 equal, 1 this vector is more
  // specific than w, -1 more general, 2 incomparable.
  int cmp(const AttVec& w, const LBitSet* mask = nullptr) const;
  bool operator==(const AttVec& w) const { return cmp(w) == 0; }
  bool operator!=(const AttVec& w) const { return cmp(w) != 0; }
  bool operator<=(const AttVec& w) const {
    const int c = cmp(w);
    return c == -1 || c == 0;
  }
  bool operator>=(const AttVec& w) const {
    const int c = cmp(w);
    return c == 0 || c == 1;
  }
  // For each attribute defined in w and `mask`: the kind's minus (base:
  // drops the values equal to w's).
  void minus(const AttVec& w, const LBitSet* mask = nullptr);
  // For each attribute defined in w and `mask`: the kind's intersect; then
  // every attribute not defined in w (or not in `mask`) is undefined.
  void intersect(const AttVec& w, const LBitSet* mask = nullptr);

  // ---- Copies ----

  // Makes this vector equal to w (taking w's type when it differs);
  // nothing when w has no type.
  void copy(const AttVec& w);
  // Copy-on-write: when p is shared, drops one count from it and replaces
  // p by a fresh copy holding count 1.  Returns p.
  static AttVec* desharing(AttVec*& p);

  // ---- Text output ----

  // "(" items ")": with `use_aliases`, first the names of the aliases the
  // vector is at least as specific as (the more general ones they cover
  // skipped), then the attributes they leave over; each attribute through
  // its kind's print, in increasing index, restricted to `mask`.
  void print(std::ostream& out, const LBitSet* mask = nullptr, int use_aliases = 1) const;

  // ---- Binary form ----

  // Appends the binary form: per defined attribute a code (one signed byte,
  // or a 2-byte big-endian number when the type has more than 125
  // attributes) -- i for '+' or a value that follows, ~i for '-' or a zero
  // value -- then the end code num_attributes() + 1.
  void pack(StrBufs& out) const;
  // Reads a binary form into this vector (which must have its type),
  // adding to what is defined.  A truncated or corrupt form prints
  // "AttVec::unpack: " and the fault, and returns false; what was read
  // before it stays.
  bool unpack(ByteReader& in);
  // The same over the bytes [cursor, end); the cursor moves past what was
  // read.
  bool unpack(const char*& cursor, const char* end);

 private:
  unsigned char* bytes() const { return reinterpret_cast<unsigned char*>(words_.get() + nwords_); }
  // The size of the block in value words: the word positions, then room
  // for the byte positions.
  std::size_t storage_words() const {
    const std::size_t byte_words = static_cast<std::size_t>(nbytes_) / sizeof(AttVal);
    return static_cast<std::size_t>(nwords_) + byte_words + 1;
  }
  // Reallocates the storage for the type's current counts, keeping values;
  // the word or byte position that must then exist (-1: none) is checked.
  void grow_storage(int word_pos, int byte_pos);
  bool is_binary(int i) const { return type_->binary_mask().test(i); }
  // Allocates zero-filled storage for the type's current counts.
  void allocate_storage();
  // Calls del_val on every defined attribute that releases values.
  void release_values();
  // Whether w has this vector's type; prints a message naming `op` if not.
  bool same_type(const AttVec& w, const char* op) const;
  // Unifies the attributes of one 32-member word of w's defined set.
  int unify_word(const AttVec& w, int base, std::uint32_t members, int doit);
  void print_attributes(std::ostream& out, const LBitSet* mask, bool first) const;

  const AttInterpreterList* type_ = nullptr;
  LBitSet defined_;
  LBitSet binary_;
  std::unique_ptr<AttVal[]> words_;
  int nwords_ = 0;  // word positions in the block
  int nbytes_ = 0;  // byte positions after them
};

// Debugging aid: prints `v` with aliases and a line end on std::cerr, or
// "( )" for null.
void prav(const AttVec* v);

// The attribute set named by a list of attribute names of the current type
// (make_att_set); empty for null, an atom or an empty node.
LBitSet get_att_set(IRSlist* s);

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTVEC_H_
