// FieldInstantiator: one property entry (PROPERTY VALUE [WEIGHT]) of an
// expression such as make-rel, compiled once and turned into a PropVal at
// each evaluation.
//
// Each part is either fixed at compile time or an expression evaluated on
// the input:
//   PROPERTY  an atom names the property; a list is an expression whose
//             integer result is the property id;
//   VALUE     a list is an expression whose result is the value; an atom is
//             read once, at compile time, by the value type of a property
//             named by an atom (after a property given by an expression it
//             stands for null);
//   WEIGHT    an atom is a number kept to thousandths; a list is an
//             expression whose integer result is the weight in thousandths;
//             without one the weight is 0.
//
// Ownership: an entry owns its expressions and its fixed value, which it
// frees with the property's value type.  Copying an entry copies both (the
// fixed value through the value type's copy_val), so copies of an
// expression holding entries are independent.
#ifndef LORVAN_DEPTREE_FIELD_INSTANTIATOR_H_
#define LORVAN_DEPTREE_FIELD_INSTANTIATOR_H_

#include <vector>

#include "deptree/prop_list.h"
#include "expr/lexp.h"

namespace lorvan {

class IRSlist;

class FieldInstantiator {
 public:
  FieldInstantiator() = default;
  FieldInstantiator(const FieldInstantiator& other);
  FieldInstantiator& operator=(const FieldInstantiator& other);
  FieldInstantiator(FieldInstantiator&& other) noexcept;
  FieldInstantiator& operator=(FieldInstantiator&& other) noexcept;
  ~FieldInstantiator();

  // Compiles every element of `list` (consuming what the expressions read)
  // and appends one entry per element to `array`.  Elements without a VALUE
  // are ignored.  An atom VALUE of a property that has no value type cannot
  // be read: that prints "No value type is defined for the attribute
  // <name>" and the element is ignored.
  static void init_array(std::vector<FieldInstantiator>& array, IRSlist* list);

  // The entry for (input, type): every expression evaluated on them.  The
  // value still belongs to this entry or to the expression that gave it;
  // PropList::add_propval() stores a copy.
  PropVal make(void* input, int type) const;

 private:
  // Compiles one element; false when it yields no entry.
  bool init(IRSlist* element);
  // Frees the fixed value.
  void release_value();

  SubExp id_exp_;
  SubExp value_exp_;
  SubExp weight_exp_;
  int id_ = 0;
  void* value_ = nullptr;
  int weight_ = 0;  // thousandths
};

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_FIELD_INSTANTIATOR_H_
