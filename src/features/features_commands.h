// The commands that define attribute-vector types, attributes, vectors,
// aliases and attribute sets:
//   defattribute, def-att-list, make-av, alias, load-aliases, save-aliases,
//   clear-alias, print-alias, set-att-itp-list, def-att-set.
// Each handler takes its argument list and returns an untyped result (the
// object made, or null); failures are messages on std::cerr.
#ifndef LORVAN_FEATURES_FEATURES_COMMANDS_H_
#define LORVAN_FEATURES_FEATURES_COMMANDS_H_

namespace lorvan {

// Registers the commands above with CmdInterpreter::the_interpreter (which
// must exist) and every attribute kind's prototype.  Runs once.
void attvec_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_FEATURES_COMMANDS_H_
