// The embedding interface: what a program needs to start the parser, give it
// commands and obtain parses (the parse functions and the ParseTree are in
// parse_tree.h).
//
// Call initialize_lorvan() once before anything else.  Everything it sets up
// -- the command interpreter, the search path, the modules' commands and the
// objects the start-up file creates -- is process-wide and lives until the
// process ends.  Single-threaded.
#ifndef LORVAN_INCLUDE_LORVAN_H_
#define LORVAN_INCLUDE_LORVAN_H_

#include <iosfwd>

#include "parse_tree.h"

namespace lorvan {

// The start-up sequence: makes the command interpreter when there is none,
// sets the search path from `paths` (directories separated by ":"), lets
// every module register its commands in their fixed order, and interprets
// the start-up file "lorvan.lsp" found on the search path (a missing file is
// reported and start-up goes on).  From then on the interpreter writes no
// prompts.
void initialize_lorvan(const char* paths);

// Executes the commands in `text` (any number), making the interpreter first
// when there is none.
void interpret_command_line(const char* text);

// Writes the entry of `word` in the lexicon named `lexicon_name` on `out`
// with the lexicon's own entry printer.  A missing lexicon is reported; a
// null name does nothing.
void print_lexicon_entry(const char* word, std::ostream& out, const char* lexicon_name);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_LORVAN_H_
