// Registration of properties, value types and relation records: the
// expression kinds make-rel and add-propvals, the command define-attribute,
// and the object factory's "ValType" class with the prototypes "IntValue",
// "StrValue" and "StrListValue".
//
//   (define-attribute name-of-attribute type-of-val)
//       gives the property `name-of-attribute` the value-type prototype
//       `type-of-val` itself (it is not copied); a missing or unknown
//       prototype gets only the factory's message.
#ifndef LORVAN_DEPTREE_TREL_INIT_H_
#define LORVAN_DEPTREE_TREL_INIT_H_

namespace lorvan {

class IRSlist;

// The handler of define-attribute; returns null.
void* define_attribute(IRSlist* args);

// The deleter of the "ValType" class: destroys a value type.
void delValType(void* type);

// Runs once.  Registers with CmdInterpreter::the_interpreter, creating the
// interpreter when there is none yet.
void trel_init();

}  // namespace lorvan

#endif  // LORVAN_DEPTREE_TREL_INIT_H_
