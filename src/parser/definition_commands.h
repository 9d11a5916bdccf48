// The grammar definition commands: def-vantic-parser, the category and
// relation definitions (def-category, def-modifiers, def-subcat,
// def-subclass, def-conj-constraints), the attribute-set, condition and
// property commands that act on the category or relation being defined,
// and roots.  All act on VanticParser::the_parser and do nothing without
// one (def-vantic-parser makes it).
#ifndef LORVAN_PARSER_DEFINITION_COMMANDS_H_
#define LORVAN_PARSER_DEFINITION_COMMANDS_H_

namespace lorvan {

class IRSlist;

// def-vantic-parser NAME :keyword value ...: makes, registers (type
// "VanticParser") and initializes a parser, which becomes current.  A name
// already registered is reported and no parser is made.  Returns the
// parser or null.
void* def_vantic_parser(IRSlist* args);

// Enters every command of this module with CmdInterpreter::the_interpreter.
void definition_commands_init();

}  // namespace lorvan

#endif  // LORVAN_PARSER_DEFINITION_COMMANDS_H_
