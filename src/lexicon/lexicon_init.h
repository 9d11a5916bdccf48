// lexicon_init: the start-up registration of the lexicon and morphology
// module.  It registers the module's commands -- so far the stemmer commands
// of stemmer_commands.h -- and is called in the fixed start-up order right
// after objfact_init.  Its body runs once.
#ifndef LORVAN_LEXICON_LEXICON_INIT_H_
#define LORVAN_LEXICON_LEXICON_INIT_H_

namespace lorvan {

// Needs CmdInterpreter::the_interpreter.
void lexicon_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEXICON_INIT_H_
