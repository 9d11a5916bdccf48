#include "expr/effect_exps.h"

#include <unistd.h>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"

namespace lorvan {

namespace {

// Command texts are short; a small first block keeps each evaluation cheap.
constexpr std::size_t kCommandCopyBlock = 256;

}  // namespace

QuoteLExp::QuoteLExp() { set_output_type(arg_type_id("char*")); }

void QuoteLExp::init(IRSlist* args) {
  if (args->first() == nullptr) return;
  StrBufs text;
  args->first()->print(text);
  text_ = text.finish();
}

void* QuoteLExp::eval(void* /*input*/, int /*type*/) {
  return text_ ? text_->data() : nullptr;
}

ExecCommands::ExecCommands(const ExecCommands& other) : LExp(other) {
  if (other.commands_.is_list()) commands_.copy(other.commands_, arena_);
}

void ExecCommands::init(IRSlist* args) {
  if (args->is_list()) commands_.copy(*args, arena_);
}

void* ExecCommands::eval(void* /*input*/, int /*type*/) {
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  if (interp == nullptr || !commands_.is_list()) return nullptr;
  // The commands consume their argument lists, so each run gets a copy.
  StrBufs texts(kCommandCopyBlock);
  IRSlist run;
  run.copy(commands_, texts);
  interp->interpret(&run);
  return nullptr;
}

void USleep::init(IRSlist* args) { microseconds_ = args->get_long_val(); }

void* USleep::eval(void* /*input*/, int /*type*/) {
  if (microseconds_ > 0) usleep(static_cast<useconds_t>(microseconds_));
  return nullptr;
}

}  // namespace lorvan
