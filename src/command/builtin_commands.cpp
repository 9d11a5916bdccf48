#include "command/builtin_commands.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "searchpath.h"

namespace lorvan {
namespace {

CmdInterpreter& interpreter() { return *CmdInterpreter::the_interpreter; }

void* load_cmd(IRSlist* args) {
  while (args->first() != nullptr) {
    const char* name = args->get_val();
    if (name == nullptr) continue;
    if (auto file = open_file_on_search_path(name)) interpreter().interpret(*file);
  }
  return nullptr;
}

void* exit_cmd(IRSlist* /*args*/) {
  delete_all_name_spaces();
  std::exit(0);
}

// The argument itself: a list stays in the argument list, so it lives as
// long as the command that holds it (callers copy what they keep); an atom
// gives its text.
void* quote_cmd(IRSlist* args) {
  if (args->length() != 1) {
    std::cerr << "quote must take one argument\n";
    return nullptr;
  }
  IRSlist* arg = args->first();
  if (arg->is_list()) return arg;
  return const_cast<char*>(arg->val());
}

void* echo_cmd(IRSlist* args) {
  const char* separator = "";
  for (IRSlist* arg = args->first(); arg != nullptr; arg = arg->next()) {
    std::cout << separator;
    separator = " ";
    if (arg->is_list()) {
      std::cout << '(';
      arg->print_line(std::cout);
      std::cout << ')';
    } else if (arg->val() != nullptr) {
      std::cout << arg->val();
    } else {
      std::cout << "()";
    }
  }
  std::cout << '\n';
  return nullptr;
}

void* help_cmd(IRSlist* args) {
  interpreter().list_entries(std::cout, args->get_val());
  return nullptr;
}

// The shell shares our standard streams: what was written before the
// command must come out before what the command writes.
void* system_cmd(IRSlist* args) {
  const char* command = args->get_val();
  if (command == nullptr) return nullptr;
  std::cout.flush();
  std::cerr.flush();
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(std::system(command)));
}

void* show_commands_cmd(IRSlist* args) {
  interpreter().show_commands(static_cast<int>(args->get_long_val()));
  return nullptr;
}

void* set_search_path_cmd(IRSlist* args) {
  const char* paths = args->get_val();
  const char* delimiters = args->get_val();
  if (delimiters == nullptr) delimiters = ":";
  clear_search_path();
  if (paths == nullptr) return nullptr;
  const std::string text(paths);
  std::string::size_type start = text.find_first_not_of(delimiters);
  while (start != std::string::npos) {
    std::string::size_type end = text.find_first_of(delimiters, start);
    append_to_search_path(text.substr(start, end - start).c_str());
    start = text.find_first_not_of(delimiters, end);
  }
  return nullptr;
}

}  // namespace

void register_builtin_commands(CmdInterpreter& interp) {
  interp.enter("load", load_cmd, "(load file) execute the commands in file");
  interp.enter("exit", exit_cmd, "(exit) exit the interpreter");
  interp.enter("quote", quote_cmd, "(quote <list>) return <list> without evaluating it");
  interp.enter("echo", echo_cmd, "(echo <strings>) print the strings");
  interp.enter("help", help_cmd,
               "(help <regexp>) the comments of symbols matching the regular expression");
  interp.enter("?", help_cmd, "same as 'help'");
  interp.enter("system", system_cmd, "(system <command>) execute the shell command");
  interp.enter("show-commands", show_commands_cmd, "(show-commands 0|1) turn on/off showing commands");
  interp.enter("set-search-path", set_search_path_cmd,
               "(set-search-path <paths> <deliminator>) set the search path");
}

}  // namespace lorvan
