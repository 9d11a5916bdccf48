// Commands that attach statistical data to a parser and control the tracing
// of weights:
//   (set-reldb PARSER DEPDB)    the named TripleDb becomes the parser's
//                               relation database
//   (set-pairdb PARSER PAIRDB)  the named "PairDb" becomes its pair database
//   (debug-weight N)            sets DEBUGW
// Objects are looked up by name; a missing one is reported and the command
// yields null.  Nothing is owned here.
#ifndef LORVAN_PARSER_WEIGHT_COMMANDS_H_
#define LORVAN_PARSER_WEIGHT_COMMANDS_H_

namespace lorvan {

// While non-zero every triple weight computed is traced on the error stream
// and every parser reset empties the probability cache's table.
extern int DEBUGW;

// Registers the commands above with CmdInterpreter::the_interpreter, which
// must exist.  Runs once.
void weight_commands_init();

}  // namespace lorvan

#endif  // LORVAN_PARSER_WEIGHT_COMMANDS_H_
