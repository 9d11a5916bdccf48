// tripledb_init: the start-up registration of the corpus-statistics module.
// It registers the commands that work on every database (plhash_init) and
// the word-sequence counter with its commands (wordseqcounter_init).
#ifndef LORVAN_STATS_TRIPLEDB_INIT_H_
#define LORVAN_STATS_TRIPLEDB_INIT_H_

namespace lorvan {

// Needs CmdInterpreter::the_interpreter.  Runs once.
void tripledb_init();

}  // namespace lorvan

#endif  // LORVAN_STATS_TRIPLEDB_INIT_H_
