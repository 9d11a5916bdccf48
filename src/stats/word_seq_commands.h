// The commands of the word-sequence counter: make-WordSeqCounter,
// load-WordSeqCounter, search-WordSeqCounter, viterbi-segment and
// select-lines, and the filters over count files.  The database commands
// (plhash_commands.h) work on counters as on every database.
#ifndef LORVAN_STATS_WORD_SEQ_COMMANDS_H_
#define LORVAN_STATS_WORD_SEQ_COMMANDS_H_

namespace lorvan {

// Registers the commands with CmdInterpreter::the_interpreter, which must
// exist.  Runs once.
void wordseqcounter_init();

}  // namespace lorvan

#endif  // LORVAN_STATS_WORD_SEQ_COMMANDS_H_
