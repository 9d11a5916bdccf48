// The command that gives a parser a tree modifier:
//   (set-deps-modifier PARSER MODIFIER)
// The named TreeModifier then rewrites every dependency structure the
// parser extracts.  The parser does not own the modifier.
#ifndef LORVAN_PARSER_FOREST_COMMANDS_H_
#define LORVAN_PARSER_FOREST_COMMANDS_H_

namespace lorvan {

// Registers set-deps-modifier with CmdInterpreter::the_interpreter, which
// must exist.  Runs once.
void forest_commands_init();

}  // namespace lorvan

#endif  // LORVAN_PARSER_FOREST_COMMANDS_H_
