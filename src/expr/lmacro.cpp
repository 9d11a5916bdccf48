#include "expr/lmacro.h"

#include <cctype>
#include <iostream>
#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "lexical/tokenizer.h"
#include "strfuncs.h"

namespace lorvan {

std::string DEBUG_MACRO;

namespace {

constexpr std::size_t kExpansionBlock = 1024;

bool starts_with_letter(const char* s) {
  return std::isalpha(static_cast<unsigned char>(s[0])) != 0;
}

// Whether the expansions of macro `name` are to be printed.
bool debugging(const std::string& name) {
  return !DEBUG_MACRO.empty() &&
         (DEBUG_MACRO == "*" || strcasecmp(DEBUG_MACRO.c_str(), name.c_str()) == 0);
}

}  // namespace

LMacro::LMacro(const IRSlist& params, std::string body)
    : body_(std::move(body)), expansion_(kExpansionBlock) {
  for (const IRSlist* p = params.first(); p != nullptr; p = p->next()) {
    const char* name = p->is_list() ? p->get_val(0) : p->val();
    params_.push_back({name != nullptr ? name : "", p->is_list()});
  }
}

std::vector<const char*> LMacro::argument_texts(IRSlist* args) {
  std::vector<const char*> texts;
  const IRSlist* a = args->first();
  for (const Param& p : params_) {
    if (a == nullptr) break;
    if (p.is_list) {
      for (const IRSlist* e = a->first(); e != nullptr; e = e->next()) {
        e->print(expansion_);
        expansion_.push('\n');
      }
      texts.push_back(expansion_.finish());
    } else {
      a->print(expansion_);
      texts.push_back(expansion_.finish());
    }
    a = a->next();
  }
  return texts;
}

const char* LMacro::replacement(const char* word,
                                const std::vector<const char*>& texts) const {
  for (std::size_t i = 0; i < params_.size(); ++i) {
    if (strcasecmp(word, params_[i].name.c_str()) == 0) return i < texts.size() ? texts[i] : "";
  }
  return nullptr;
}

const char* LMacro::instantiate(const char* name, IRSlist* args) {
  const int count = args->length();
  if (count != static_cast<int>(params_.size())) {
    std::cerr << "Expecting " << params_.size() << " arguments for '" << name
              << "'. Found: " << count << "\n";
  }
  expansion_.clear();
  const std::vector<const char*> texts = argument_texts(args);
  std::unique_ptr<Tokenizer> reader = make_command_tokenizer();
  reader->set_string_input(body_.c_str());
  while (char* token = reader->get_token()) {
    const char c = token[0];
    const char* text = nullptr;
    if (starts_with_letter(token)) text = replacement(token, texts);
    if (text != nullptr) {
      expansion_.push(text);
    } else if (c == '(' || c == ')' || reader->is_white(c)) {
      expansion_.push(token);
    } else {
      expansion_.push(StrBufs::quote_white(token_text(*reader, token)));
    }
  }
  const char* expansion = expansion_.finish();
  if (debugging(this->name())) {
    std::cerr << "Expand macro: " << this->name() << "\n" << expansion << "\n";
  }
  return expansion;
}

void* defmacro_command(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return nullptr;
  std::unique_ptr<IRSlist> params(args->remove_first());
  if (params == nullptr) return nullptr;
  if (!params->is_list() && params->val() != nullptr) {
    std::cerr << "defmacro " << name << ": the parameters must be a list\n";
    return nullptr;
  }
  StrBufs body;
  for (const IRSlist* e = args->first(); e != nullptr; e = e->next()) {
    e->print(body);
    body.push('\n');
  }
  defmacro(name, new LMacro(*params, body.finish()));
  return nullptr;
}

void* debug_macro_command(IRSlist* args) {
  const char* name = args->get_val();
  DEBUG_MACRO = name != nullptr ? name : "";
  return nullptr;
}

void lmacro_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  interp->enter("defmacro", defmacro_command, "(defmacro name (parameters) LExp) define a macro.");
  interp->enter("debug-macro", debug_macro_command,
                "(debug-macro [name]) print expanded instances of the macro");
}

}  // namespace lorvan
