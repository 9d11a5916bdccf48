// lexicon_init: the start-up registration of the lexicon and morphology
// module -- its commands, expression kinds and factory makers.  Called from
// the fixed start-up order after objfact_init; runs its body once.
#ifndef LORVAN_LEXICON_LEXICON_INIT_H_
#define LORVAN_LEXICON_LEXICON_INIT_H_

namespace lorvan {

// Needs CmdInterpreter::the_interpreter.
void lexicon_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEXICON_INIT_H_
