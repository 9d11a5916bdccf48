// The commands that work on any kind of database (PLHash) by name: s, copy,
// merge, dump, link-file, unlink-file, sync, populate, reconstruct,
// get-total-count, validate, profile, sort-links and print-free-list.
//
// Each takes the database as its first argument, looked up among the named
// objects of type "PLHash"; a missing database is reported and the command
// does nothing.
#ifndef LORVAN_STATS_PLHASH_COMMANDS_H_
#define LORVAN_STATS_PLHASH_COMMANDS_H_

namespace lorvan {

// Registers the commands with CmdInterpreter::the_interpreter, which must
// exist.  Runs once.
void plhash_init();

}  // namespace lorvan

#endif  // LORVAN_STATS_PLHASH_COMMANDS_H_
