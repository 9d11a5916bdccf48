// Start-up registration of the attribute predicates: the expression kinds
// of attpred.h, attpred_consts.h and attpred_unify2.h, plus what they build
// on -- the attribute-vector commands and kinds (attvec_init) and the
// list-attribute expressions (listatt_init).
#ifndef LORVAN_FEATURES_ATTPRED_INIT_H_
#define LORVAN_FEATURES_ATTPRED_INIT_H_

namespace lorvan {

// Registers, in this order, defined, defined-one-of, undefine,
// strict-unifiable, unifiable, unify, modify, contain, value, att-str-val,
// attvec2str, attvec, att-set, att-index, unify2 and unifiable2, after
// attvec_init, then runs listatt_init.  Runs once; needs
// CmdInterpreter::the_interpreter.
void attpred_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_ATTPRED_INIT_H_
