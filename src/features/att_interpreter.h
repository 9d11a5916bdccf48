// AttInterpreter: the description of one attribute of an attribute-vector
// type -- its name, its place in the type and its vector storage -- and the
// base class of every attribute kind (binary, disjunctive, integer, string,
// nested vector, ...).  A kind decides how a value is read from command
// text, stored in a vector, unified, compared, printed and serialised.
//
// Values travel as one value word, AttVal, whose meaning the kind fixes: 0
// or 1, a bit mask, a number, a table index, or a pointer to a shared
// object (interned string, nested AttVec, list of vectors, trace list).
// Word storage is pointer-wide so that pointers fit; kinds that store
// numbers keep them in the low 32 bits, zero-extended (uint32_t), so that
// the 4-byte binary form reads back the same word.
//
// Storage classes.  Every concrete kind derives from one of
//   BinAtt    (binatt.h)  one bit in the vector's binary-value set;
//   LongVAtt               one value word in the vector's word block;
//   CharAtt                one byte after the word block;
//   ComplexAtt             a LongVAtt whose word points to a shared nested
//                          structure typed by another AttInterpreterList.
// The storage bases implement update_list, att_val, set_val, pack and
// unpack; a concrete kind adds the rest.
//
// What a concrete kind must provide:
//   - type_name(): its class name, also its name in `defattribute`;
//   - new_interp(): a fresh, unnamed description of the same kind, with
//     none of the prototype's own fields copied unless the kind says so;
//   - a start-up function that registers one prototype through
//     attitp_proto() (the prototype must live until the process ends);
// and it overrides, where its rules differ from the base behaviour
// documented below: init, make_val, get_val, str_val, print, unify_val,
// modify_val, cmp_vals, intersect, minus, del_val, pack/unpack (a kind
// whose value needs more than the storage base writes), name2val.
//
// Kinds holding shared objects (reference-counted values) must in addition
//   - return true from releases_values() (ComplexAtt does; a LongVAtt kind
//     such as a trace kind must override it), so that vectors call del_val
//     on destruction and init();
//   - count holds in set_val / del_val;
//   - implement discard_val(), which frees a value that make_val made when
//     unify_val did not keep it (nobody holds it).
//
// Ownership: a description owns its name.  Once added to a type
// (AttInterpreterList::add) it is owned by that type; `owner` is the first
// type it was added to, not owned.  Descriptions keep result buffers for
// str_val, so the texts they return are valid until the next call on the
// same description (or kind).
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_FEATURES_ATT_INTERPRETER_H_
#define LORVAN_FEATURES_ATT_INTERPRETER_H_

#include <cstdint>
#include <iosfwd>
#include <string>

namespace lorvan {

class AttInterpreterList;
class AttVec;
class ByteReader;
class IRSlist;
class StrBufs;

// One value word.
using AttVal = std::uintptr_t;

class AttInterpreter {
 public:
  AttInterpreter() = default;
  AttInterpreter(const AttInterpreter&) = delete;
  AttInterpreter& operator=(const AttInterpreter&) = delete;

  // ---- Virtual operations, in slot order ----

  // 1. Frees the name.
  virtual ~AttInterpreter();
  // 2. "AttInterpreter"; every kind returns its class name.
  virtual const char* type_name() const;
  // 3. Base: prints "Oops! The attribute '<name>' cannot have '<text>' as
  // value" and a line end on std::cerr; returns 0.
  virtual AttVal name2val(const char* text);
  // 4. Reads the facet list that follows the kind in `defattribute` (the
  // rest of the command: a node whose elements are facet lists; may be
  // null).  Base: a non-empty list is reported as unrecognized facets of
  // this attribute, the facets on one line, and a line end.
  virtual void init(IRSlist* facets);
  // 5. A fresh, unnamed description of the same kind.
  virtual AttInterpreter* new_interp() const = 0;
  // 6. Called once when the attribute is added to `list`: reserves its
  // storage and sets storage_position() (see AttInterpreterList).
  virtual void update_list(AttInterpreterList* list) = 0;
  // 7. The stored value word (whether or not the attribute is defined).
  virtual AttVal att_val(const AttVec* v) const = 0;
  // 8. Stores the value word; kinds holding shared objects count holds.
  // The caller (AttVec::set_val) marks the attribute defined.
  virtual void set_val(AttVec* v, AttVal x) = 0;
  // 9. If v defines the attribute and w does not, or both do and cmp_vals
  // of the two values is not 0: undefines it in v.
  virtual void intersect(AttVec* v, const AttVec* w);
  // 10. If both define the attribute and cmp_vals of the values is 0:
  // undefines it in v.
  virtual void minus(AttVec* v, const AttVec* w);
  // 11. v defines the attribute: 1 when the stored word equals x, else 0.
  // Not defined: with `doit`, stores x through v->set_val (defining it);
  // returns 1.  `index` is this attribute's index.
  virtual int unify_val(AttVec* v, int index, AttVal x, int doit);
  // 12. Stores x, overwriting (through v->set_val).
  virtual void modify_val(AttVec* v, int index, AttVal x);
  // 13. Releases the stored value; called after the attribute has been
  // undefined.  Base: nothing.
  virtual void del_val(AttVec* v);
  // 14. 0 when equal; otherwise a subsumption code: 1 when a is more
  // specific than b, -1 when more general, 2 incomparable.  Base: 0 or 2.
  virtual int cmp_vals(AttVal a, AttVal b) const;
  // 15. (A distance between values is not part of this system.)
  // 16. Writes the attribute of v: s = str_val(att_val(v)); nothing for a
  // null s; s beginning with '+', '-' or '~': that character and the name
  // (+plu, ~num); otherwise "(" name " " s ")".
  virtual void print(std::ostream& out, const AttVec* v);
  // 17. The text of a value.  Base: prints "invalid AttType for
  // AttVec::str_val" on std::cerr and returns null.
  virtual const char* str_val(AttVal x);
  // 18. Makes a value from its text form: `s` is the attribute's atom
  // (+plu, ~num) or the list of what follows the name in its entry.
  // Base: a value text beginning with '~' gives 0; anything else prints
  // "AttInterpreter <name> doesn't know how to make value: ", the list on
  // one line and a line end, and gives 0.
  virtual AttVal make_val(IRSlist* s);
  // 19. The value of a value text.  Base: prints
  // "AttInterpreter::get_val(const char* value) should not be called by "
  // type_name() and a line end; gives -1 (all bits set).
  virtual AttVal get_val(const char* text);
  // 20. Appends the binary form of the stored value of v to the current
  // string of `out`.
  virtual void pack(const AttVec* v, StrBufs& out) const = 0;
  // 21. Reads the binary form from `in` and stores the value into v.  The
  // caller has already marked the attribute defined.  A read past the end
  // leaves `in` failed (ByteReader does so by itself); the kind then stores
  // nothing that needs releasing and returns.  The caller checks in.ok().
  virtual void unpack(AttVec* v, ByteReader& in) = 0;

  // ---- Additions for the vector machinery ----

  // Whether del_val releases something (see the header comment).  True in
  // the base; the storage bases BinAtt, LongVAtt and CharAtt say false,
  // ComplexAtt true again.
  virtual bool releases_values() const;
  // Frees x, a value made by make_val, when nobody holds it.  Reading a
  // vector calls it after unify_val whenever the stored value is not x
  // (x lost to a value read before, or was merged into it).  Base:
  // nothing.
  virtual void discard_val(AttVal x);

  // ---- Non-virtual and static operations ----

  // Registers a kind prototype under proto->type_name() with the object
  // factory's maker "AttIntepreter" (made with 23 buckets on first use).
  // The prototype is not owned and must outlive every use.  A repeated
  // kind name prints the table's duplicate message and keeps the first.
  static void attitp_proto(const AttInterpreter* proto);
  // Registers one prototype of `Kind`, made and entered on the first call
  // only; every kind's start-up function is this.
  template <class Kind>
  static void attitp_proto_once() {
    static const Kind prototype;
    static const bool registered = (attitp_proto(&prototype), true);
    (void)registered;
  }
  // The registered prototype of `kind` (case-insensitive), or null.
  static const AttInterpreter* get_attitp_proto(const char* kind);
  // A new description made by the prototype's new_interp(); an unknown
  // kind prints "AttInterpreter::get_attitp:  unknown type: <kind>" and a
  // line end and gives null.  The caller owns the result.
  static AttInterpreter* get_attitp(const char* kind);
  // The single value text of an attribute entry: s->top_val()
  // for a list, the atom's own text otherwise (null for null).
  static const char* get_att_val(IRSlist* s);

  // The name; "" until named.
  const char* name() const { return name_.c_str(); }
  // Replaces the name by a copy of `text`.  Null prints
  // "AttInterpreter::name(<name>): <name> must not be nil." and a line end
  // and keeps the name.
  void name(const char* text);

  AttInterpreterList* owner() const { return owner_; }
  void owner(AttInterpreterList* list) { owner_ = list; }
  AttVal default_value() const { return default_value_; }
  void default_value(AttVal x) { default_value_ = x; }
  // Bit, byte or word position; -1 until added to a type.
  int storage_position() const { return position_; }
  void storage_position(int pos) { position_ = pos; }
  // Position in the type's attribute list; -1 until added.
  int index() const { return index_; }
  void index(int i) { index_ = i; }

 private:
  std::string name_;
  AttInterpreterList* owner_ = nullptr;
  AttVal default_value_ = 0;
  int position_ = -1;
  int index_ = -1;
};

// Word storage: the value is one value word of the vector's word block.
class LongVAtt : public AttInterpreter {
 public:
  // Takes the next word position of the type.
  void update_list(AttInterpreterList* list) override;
  AttVal att_val(const AttVec* v) const override;
  void set_val(AttVec* v, AttVal x) override;
  // 4 bytes, big-endian (the low 32 bits of the word).
  void pack(const AttVec* v, StrBufs& out) const override;
  // Reads 4 bytes (zero-extended) and stores them with set_val.
  void unpack(AttVec* v, ByteReader& in) override;
  bool releases_values() const override;
};

// Byte storage: the value is one byte (0..255) after the word block.
class CharAtt : public AttInterpreter {
 public:
  // Takes the next byte position of the type.
  void update_list(AttInterpreterList* list) override;
  // The byte, unsigned.
  AttVal att_val(const AttVec* v) const override;
  // Stores the low 8 bits of x.
  void set_val(AttVec* v, AttVal x) override;
  void pack(const AttVec* v, StrBufs& out) const override;
  void unpack(AttVec* v, ByteReader& in) override;
  bool releases_values() const override;
};

// Word storage holding a pointer to a shared nested structure whose vectors
// have the nested type.  Owns a text buffer for str_val results.
class ComplexAtt : public LongVAtt {
 public:
  // Every facet list whose first atom is exactly "interpreter" sets the
  // nested type to the attribute-vector type named by its next atom (null,
  // with the look-up's message, when there is none).  Other facets are
  // ignored without a message.
  void init(IRSlist* facets) override;
  bool releases_values() const override;

  // The nested type: the one set by the facet, else the owner type (a
  // recursive structure).  Null before the attribute joins a type.
  AttInterpreterList* nested_type() const;
  void nested_type(AttInterpreterList* t) { nested_ = t; }

 protected:
  // Replaces the text buffer by `text` and returns it (valid until the
  // next call).
  const char* keep_text(std::string text);

 private:
  AttInterpreterList* nested_ = nullptr;
  std::string text_;
};

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATT_INTERPRETER_H_
