#include "app/sentence_commands.h"

#include <iostream>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "parse_tree.h"

namespace lorvan {

void* p2(IRSlist* args) {
  std::vector<const char*> words;
  while (args != nullptr && args->first() != nullptr) {
    if (const char* word = args->get_val()) words.push_back(word);
  }
  ParseTree tree;
  if (static_cast<int>(words.size()) > kMaxP2Words) {
    std::cerr << "p2 takes at most " << kMaxP2Words << " words\n";
  } else {
    words.push_back(nullptr);
    parse(words.data(), tree);
  }
  tree.print(std::cout);
  return nullptr;
}

void* p3(IRSlist* args) {
  ParseTree tree;
  if (args != nullptr) parse(args->get_val(), tree);
  tree.print(std::cout);
  return nullptr;
}

void sentence_commands_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter& ci = *CmdInterpreter::the_interpreter;
  ci.enter("p2", p2, "(p2 word1 ... wordn) parse a sentence consisting of word1 ... wordn.");
  ci.enter("p3", p3, "(p3 \"a sentence\") parse a sentence.");
}

}  // namespace lorvan
