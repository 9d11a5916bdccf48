#include "command/cmd_interpreter.h"

#include <iostream>
#include <sstream>

#include "command/builtin_commands.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/symtab_filter.h"
#include "lexical/tokenizer.h"
#include "strfuncs.h"

namespace lorvan {

CmdInterpreter* CmdInterpreter::the_interpreter = nullptr;

namespace {

constexpr unsigned kCommandTableSize = 1997;

void* as_value(CmdHandler handler) { return reinterpret_cast<void*>(handler); }

// A macro's expansion runs nested inside the command that used it, so a
// macro that keeps expanding to itself would nest without end.  Deeper than
// this, expansions are not run: one message, then nothing more until the
// outermost expansion has returned.
constexpr int kMaxMacroNesting = 1000;
int macro_nesting = 0;
bool macro_nesting_exceeded = false;

}  // namespace

CmdInterpreter::CmdInterpreter(Tokenizer* t, char open, char close)
    : commands_(std::make_unique<SymTab>(kCommandTableSize)), open_(open), close_(close) {
  if (the_interpreter == nullptr) the_interpreter = this;
  if (t == nullptr) {
    own_tokenizer_ = make_command_tokenizer();
    t = own_tokenizer_.get();
  }
  tokenizer_ = t;
  register_builtin_commands(*this);
}

CmdInterpreter::~CmdInterpreter() {
  if (the_interpreter == this) the_interpreter = nullptr;
}

void CmdInterpreter::enter(const char* name, CmdHandler handler, const char* help) {
  commands_->enter(name, as_value(handler), help);
}

void CmdInterpreter::re_enter(const char* name, CmdHandler handler, const char* help) {
  commands_->re_enter(name, as_value(handler), help);
}

void CmdInterpreter::del(const char* name) {
  if (name == nullptr || commands_->find(name) == nullptr) return;
  commands_ = copy_entries_if(*commands_, [name](const SymTab::Entry& e) {
    return strcasecmp(e.name, name) != 0;
  });
}

CmdHandler CmdInterpreter::val(const char* name) const {
  if (name == nullptr) return nullptr;
  return reinterpret_cast<CmdHandler>(commands_->lookup(name));
}

void CmdInterpreter::list_entries(std::ostream& out, const char* pattern) const {
  commands_->list_entries(out, pattern);
}

void CmdInterpreter::interpret(std::istream& s) {
  TokenizerBase* outer = tokenizer_;
  Tokenizer nested(*outer);
  nested.set_input_stream(&s);
  tokenizer_ = &nested;
  do {
    tokenizer_->clear();
    if (interactive_ != 0) std::cout << "> " << std::flush;
  } while (interpret_one_cmd() != 0);
  if (interactive_ != 0) std::cout << '\n';
  tokenizer_ = outer;
}

void CmdInterpreter::interpret(const char* text) {
  if (text == nullptr) return;
  std::istringstream s(text);
  interpret(s);
}

void CmdInterpreter::interpret(IRSlist* list) {
  if (list == nullptr) return;
  while (IRSlist* cmd = list->remove_first()) {
    std::unique_ptr<IRSlist> owned(cmd);
    interpret_one_cmd(cmd);
  }
}

int CmdInterpreter::interpret_one_cmd() {
  IRSlist expression;
  if (expression.read(tokenizer_, open_, close_) != 0) {
    if (show_commands_ != 0) expression.print(std::cerr);
    if (expression.is_list()) interpret_one_cmd(&expression);
  }
  return tokenizer_->finished() ? 0 : 1;
}

void* CmdInterpreter::interpret_one_cmd(IRSlist* cmd) {
  const char* name = cmd->get_val();
  if (const char* text = getmacro(name, cmd)) {
    run_macro(text);
    return nullptr;
  }
  if (CmdHandler handler = val(name)) return handler(cmd);
  std::cerr << "unknown function " << (name != nullptr ? name : "nil") << "\n";
  cmd->print_line(std::cerr);
  std::cerr << "\n";
  return nullptr;
}

// A macro's expansion runs as commands without prompts.  The text is read
// from a copy, so the macro may be expanded again while it runs.
void CmdInterpreter::run_macro(const char* text) {
  if (macro_nesting_exceeded) return;
  if (macro_nesting >= kMaxMacroNesting) {
    macro_nesting_exceeded = true;
    std::cerr << "Macro expansions nested deeper than " << kMaxMacroNesting
              << " levels are not run\n";
    return;
  }
  ++macro_nesting;
  const int was_interactive = interactive_;
  interactive_ = 0;
  interpret(text);
  interactive_ = was_interactive;
  if (--macro_nesting == 0) macro_nesting_exceeded = false;
}

void execute_command(const char* text) {
  if (CmdInterpreter::the_interpreter != nullptr) CmdInterpreter::the_interpreter->interpret(text);
}

}  // namespace lorvan
