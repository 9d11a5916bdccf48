// The sentence commands that parse into a ParseTree and show it in the
// bracketed form: p2 (a sentence given word by word) and p3 (a sentence
// given as one text).  They parse with the current parser (see
// parse_tree.h); without one they print an empty tree.
#ifndef LORVAN_APP_SENTENCE_COMMANDS_H_
#define LORVAN_APP_SENTENCE_COMMANDS_H_

namespace lorvan {

class IRSlist;

// The most words p2 takes.  A longer list is refused with a message.
inline constexpr int kMaxP2Words = 999;

// (p2 word1 ... wordn): parses the words into a fresh ParseTree and prints
// it with ParseTree::print on the standard output.  Result null.
void* p2(IRSlist* args);
// (p3 "a sentence"): the same for one text.  Result null.
void* p3(IRSlist* args);

// Enters p2 and p3 into the interpreter.  Needs
// CmdInterpreter::the_interpreter.  Runs once.
void sentence_commands_init();

}  // namespace lorvan

#endif  // LORVAN_APP_SENTENCE_COMMANDS_H_
