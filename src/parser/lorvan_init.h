// lorvan_init: the start-up registration of the parser module.  It first
// registers what the parser builds on (attributes, lexicons, lexical items,
// relation records), then the weight and forest commands, then the grammar
// definition commands.  Needs CmdInterpreter::the_interpreter.  Runs once;
// a second call does nothing.
#ifndef LORVAN_PARSER_LORVAN_INIT_H_
#define LORVAN_PARSER_LORVAN_INIT_H_

namespace lorvan {

void lorvan_init();

}  // namespace lorvan

#endif  // LORVAN_PARSER_LORVAN_INIT_H_
