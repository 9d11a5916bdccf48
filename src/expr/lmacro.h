// LMacro: a textual macro, defined with the defmacro command and kept in the
// macro table of the current name space.  A macro is used both as a command
// (the interpreter runs its expansion as commands) and as the head of an
// expression (LExp::get_exp compiles its expansion), and hides a command or
// expression kind of the same name.
//
//   (defmacro twice (x) (prog x x))        (twice (f))  =>  (prog (f) (f))
//   (defmacro all ((xs)) (and xs))         (all ((f) (g)))  =>  (and (f) (g))
//
// A parameter written as a list, (xs), is a list parameter: its argument's
// elements are spliced in without the outer parentheses.  Expansion replaces
// whole word tokens of the body that begin with a letter and equal a
// parameter name (case-insensitively); text inside strings and words that
// begin with another character (":key") are never replaced.
//
// Ownership: a macro owns its body, parameter names and expansion arena; the
// expansion returned by instantiate() stays valid until the same macro is
// instantiated again.  The name space owns the macro.
#ifndef LORVAN_EXPR_LMACRO_H_
#define LORVAN_EXPR_LMACRO_H_

#include <string>
#include <vector>

#include "command/named_obj.h"
#include "strbufs.h"

namespace lorvan {

class IRSlist;

// When "*", every expansion is printed on std::cerr; when a macro name
// (case-insensitive), that macro's expansions; when empty, none.  Set by the
// debug-macro command.
extern std::string DEBUG_MACRO;

class LMacro : public Macro {
 public:
  // `params` is the parameter list (an empty node for none): an atom is a
  // plain parameter, a list a list parameter named by its first atom.
  // `body` is the text the parameters are substituted into.
  LMacro(const IRSlist& params, std::string body);

  // The expansion with `args`.  An argument count other than the parameter
  // count prints "Expecting <n> arguments for '<name>'. Found: <count>" and
  // expansion goes on; a parameter without an argument expands to nothing.
  const char* instantiate(const char* name, IRSlist* args) override;

 private:
  struct Param {
    std::string name;
    bool is_list;
  };
  // Writes the argument texts into the arena, one finished string each.
  std::vector<const char*> argument_texts(IRSlist* args);
  // The argument text of the parameter named `word`; null when `word` is
  // no parameter, "" when it is one without an argument.
  const char* replacement(const char* word, const std::vector<const char*>& texts) const;

  std::string body_;
  std::vector<Param> params_;
  StrBufs expansion_;
};

// The defmacro command: (defmacro name (parameters) LExp ...).  The body is
// the remaining arguments in one-line form, each followed by a newline.
void* defmacro_command(IRSlist* args);
// The debug-macro command: (debug-macro [name]).
void* debug_macro_command(IRSlist* args);

// Registers defmacro and debug-macro.  Runs once.
void lmacro_init();

}  // namespace lorvan

#endif  // LORVAN_EXPR_LMACRO_H_
