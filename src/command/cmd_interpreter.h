// CmdInterpreter: reads command-language text one top-level expression at a
// time and executes each list as a command -- its first atom names the
// command, the rest is handed to the command's handler.
//
// Every module registers its commands with the single process-wide
// interpreter, CmdInterpreter::the_interpreter, which is made at start-up and
// never destroyed.  Command names are case-insensitive.  Errors are never
// fatal: each is a message on std::cerr, and reading goes on with the next
// top-level expression.
//
// Ownership: the interpreter owns its command table and the tokenizer it
// makes when given none; a tokenizer passed to the constructor stays with
// the caller.  The atoms of a command live in the arena of the tokenizer
// that read it, which is cleared before the next top-level command, so a
// handler copies every string it keeps.  Each interpret(istream&) reads
// through its own copy of the current tokenizer, so a command may read
// further input (load a file) while its own arguments stay valid.
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_COMMAND_CMD_INTERPRETER_H_
#define LORVAN_COMMAND_CMD_INTERPRETER_H_

#include <iosfwd>
#include <memory>

#include "symtab.h"

namespace lorvan {

class IRSlist;
class Tokenizer;
class TokenizerBase;

// A command handler takes the command's argument list (the command name
// already removed) and returns an untyped result, or null.
using CmdHandler = void* (*)(IRSlist* args);

class CmdInterpreter {
 public:
  // The first interpreter constructed; all modules register with it.
  static CmdInterpreter* the_interpreter;

  // Becomes the_interpreter when there is none yet.  Reads with `t` (not
  // owned) or, when null, with a tokenizer of the command-language
  // configuration; `open` and `close` delimit lists ('(' and ')').  Starts
  // interactive, without command echo, with the built-in commands load,
  // exit, quote, echo, help, ?, system, show-commands and set-search-path.
  CmdInterpreter(Tokenizer* t, char open, char close);
  ~CmdInterpreter();
  CmdInterpreter(const CmdInterpreter&) = delete;
  CmdInterpreter& operator=(const CmdInterpreter&) = delete;

  // ---- Command table ----

  // Adds a command; an existing name (any letter case) prints "Duplicate
  // definition of <name>" and keeps the first registration.
  void enter(const char* name, CmdHandler handler, const char* help);
  // Replaces the handler and help text of a command, or adds it.
  void re_enter(const char* name, CmdHandler handler, const char* help);
  // Removes a command (if present).
  void del(const char* name);
  // The handler of `name`, or null for an unknown or null name.
  CmdHandler val(const char* name) const;
  // The help listing: every command whose name starts with a non-empty
  // match of `pattern` (anchored, case-sensitive; every command when null),
  // sorted by name, each as name, help text (or "No documentation
  // provided") and an empty line.
  void list_entries(std::ostream& out, const char* pattern) const;

  // While set, "> " is written on std::cout before each command read from
  // a stream, and a line end after the stream.
  void interactive(int flag) { interactive_ = flag; }
  int interactive() const { return interactive_; }
  // While set, every top-level expression is echoed in indented form on
  // std::cerr before it runs.
  void show_commands(int flag) { show_commands_ = flag; }
  int show_commands() const { return show_commands_; }

  // ---- Execution ----

  // Executes every command in `s` until it is exhausted.
  void interpret(std::istream& s);
  // Executes every command in `text` (null: nothing).
  void interpret(const char* text);
  // Removes each child of `list` in turn, executes it and destroys it.
  // Null does nothing.
  void interpret(IRSlist* list);
  // Reads and executes one top-level expression from the current tokenizer
  // (bare atoms and empty lists are not executed).  Returns 1 while input
  // may remain, else 0.
  int interpret_one_cmd();
  // Executes one command list; returns the handler's result (null after a
  // macro or an unknown command).  Consumes the command name from `cmd`.
  // A macro of the current name space hides a command of the same name.
  void* interpret_one_cmd(IRSlist* cmd);

 private:
  void run_macro(const char* text);

  std::unique_ptr<SymTab> commands_;
  int interactive_ = 1;
  char open_;
  char close_;
  int show_commands_ = 0;
  TokenizerBase* tokenizer_;
  std::unique_ptr<Tokenizer> own_tokenizer_;
};

// the_interpreter->interpret(text) when an interpreter exists.
void execute_command(const char* text);

}  // namespace lorvan

#endif  // LORVAN_COMMAND_CMD_INTERPRETER_H_
