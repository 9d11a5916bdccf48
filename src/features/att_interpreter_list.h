// AttInterpreterList: an attribute-vector type -- the ordered list of the
// attributes (AttInterpreter descriptions) that its vectors may hold, the
// storage layout those vectors use, and the type's aliases (named
// sub-vectors) and named attribute sets.
//
// Storage layout.  Attributes are numbered by their position in the list
// (the index every vector uses).  Each storage class counts its members:
// binary attributes use their index as bit position (and are members of
// binary_mask()); byte and word attributes take the next byte or word
// position in the order they were added.  A vector is laid out from the
// counts at the time it is made; an AttVec grows its own storage if the
// type gains attributes later.
//
// Aliases are kept in the order they were added; alias_order() visits them
// most specific first (an alias comes only after every alias whose vector
// is more specific than its own), incomparable ones in the order added.
//
// Ownership: the type owns its descriptions, its alias names and vectors,
// and its attribute sets.  Types are registered as named objects of type
// "AttInterpreterList" with a deleter, so they live until the process ends
// (or their name space is deleted with deleting enabled).
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_FEATURES_ATT_INTERPRETER_LIST_H_
#define LORVAN_FEATURES_ATT_INTERPRETER_LIST_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "features/att_interpreter.h"
#include "lbitset.h"
#include "symtab.h"
#include "tarray.h"

namespace lorvan {

class AttVec;
class IRSlist;

class AttInterpreterList {
 public:
  // An alias: a name and the vector it stands for, both owned.
  struct Alias {
    std::string name;
    std::unique_ptr<AttVec> vec;
  };

  // An empty type with room for `capacity` attributes, registered under
  // `name` as a named object "AttInterpreterList" (a null name registers
  // nothing).
  AttInterpreterList(const char* name, int capacity);
  // The same, adding each description of `descriptions` (taking them over)
  // up to a null pointer or a description without name.
  AttInterpreterList(const char* name, AttInterpreter* const* descriptions);
  ~AttInterpreterList();
  AttInterpreterList(const AttInterpreterList&) = delete;
  AttInterpreterList& operator=(const AttInterpreterList&) = delete;

  const char* name() const { return name_.c_str(); }

  // ---- Attributes ----

  // Adds `att` and takes it over.  Null is ignored.  An attribute of the
  // same name (case-sensitive) prints "Mutiplely defined attribute: <name>"
  // and a line end; the description is then destroyed and false returned.
  // Otherwise: index = current count, appended, owner set unless it has
  // one, and att->update_list(this) reserves its storage.
  bool add(AttInterpreter* att);

  int num_attributes() const { return atts_.length(); }
  // The description of attribute i; i must be valid (bound-checked: an
  // invalid index stops the program).
  AttInterpreter* interpreter(int i) const { return atts_[i]; }
  const char* att_name(int i) const { return atts_[i]->name(); }
  // Attribute i's str_val of `value`.
  const char* att_str_val(int i, AttVal value) const { return atts_[i]->str_val(value); }

  // The attribute named `name` after one leading '+', '-' or '~' is
  // dropped (case-sensitive), with `index` set to its index; null when
  // there is none (index untouched).
  AttInterpreter* search_att_index(const char* name, int& index) const;

  // The named type, or null (quietly).
  static AttInterpreterList* get_att_list(const char* name);
  // The index of `attribute` in the type `type`, or -1 after
  //   AttInterpreterList::get_att("<type>", "<attribute>"):
  //   "<attribute>" is not an attribute       (the type exists)
  //   "<type>" is not a type of attribute value vector   (it does not)
  static int get_att(const char* type, const char* attribute);
  // The attribute's get_val(value) in the type, or 0 after the same
  // messages without the colon after the call and without quotes around
  // the name.
  static AttVal get_val(const char* type, const char* attribute, const char* value);

  // Sizes `out` for num_attributes() members and adds the index of every
  // name taken from `names` with get_val(); a name that is no attribute
  // prints "AttInterpreterList::make_att_set <name> is not an attribute
  // name" and a line end.  `names` is consumed; null adds nothing.
  void make_att_set(LBitSet& out, IRSlist* names) const;

  // ---- Storage layout (for the kinds' update_list) ----

  // Binary attributes: marks index `i` binary; its bit position is i.
  void add_binary(int i);
  // The next byte / word position.
  int take_byte_position() { return byte_count_++; }
  int take_word_position() { return word_count_++; }

  const LBitSet& binary_mask() const { return binary_mask_; }
  // Attributes whose kind releases values (releases_values()).
  const LBitSet& release_mask() const { return release_mask_; }
  int binary_count() const { return binary_count_; }
  int byte_count() const { return byte_count_; }
  int word_count() const { return word_count_; }

  // ---- Aliases ----

  // Enters (name, vec) and returns the vector; a name already used keeps
  // the first definition: `vec` is destroyed and null returned.  The
  // vector must have this type.
  AttVec* alias(const char* name, std::unique_ptr<AttVec> vec);
  // The vector of the alias called exactly `name`, or null.
  AttVec* search_alias(const char* name) const;
  // Removes every alias.
  void clear_aliases();
  // The aliases in visiting order (see above); valid until aliases change.
  const std::vector<const Alias*>& alias_order() const;
  // For position k of alias_order(), the positions of the aliases more
  // general than it (all after k).
  const std::vector<int>& more_general_aliases(int k) const;
  int num_aliases() const { return static_cast<int>(aliases_.size()); }

  // ---- Attribute sets ----

  // Enters `set` under `name` and returns it; a name already entered
  // prints the symbol table's duplicate message, destroys `set` and returns
  // the set kept.
  LBitSet* att_set(const char* name, std::unique_ptr<LBitSet> set);
  // The set named `name` (case-insensitive), or null.
  LBitSet* search_att_set(const char* name) const;

 private:
  void rebuild_alias_order() const;

  std::string name_;
  TArray<AttInterpreter*> atts_;  // owned
  LBitSet binary_mask_;
  LBitSet release_mask_;
  std::uint16_t binary_count_ = 0;
  std::uint16_t byte_count_ = 0;
  std::uint16_t word_count_ = 0;

  std::vector<Alias> aliases_;  // in the order added
  mutable bool order_valid_ = true;
  mutable std::vector<const Alias*> order_;
  mutable std::vector<std::vector<int>> more_general_;

  TSymTab<LBitSet*> att_sets_{41};
  std::vector<std::unique_ptr<LBitSet>> owned_sets_;
};

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATT_INTERPRETER_LIST_H_
