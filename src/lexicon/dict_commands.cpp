#include "lexicon/dict_commands.h"

#include <iostream>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "lexicon/lexicon.h"

namespace lorvan {
namespace {

constexpr char kLinkLexFileHelp[] =
    "(link-lex-file lexicon-name header.hdr) Link a lexicon to a disk file so that if an entry "
    "is not found, the disk file will be searched.";

}  // namespace

void* link_lex_file(IRSlist* args) {
  const char* name = args != nullptr ? args->get_val() : nullptr;
  if (name == nullptr) {
    std::cerr << "link-lex-file: a lexicon name is needed: " << kLinkLexFileHelp << std::endl;
    return nullptr;
  }
  auto* lexicon = static_cast<Lexicon*>(get_named_obj(name, Lexicon::kTypeName, 1));
  if (lexicon == nullptr) return nullptr;
  while (args->first() != nullptr) {
    if (const char* header = args->get_val()) lexicon->add_disk_file(header);
  }
  return lexicon;
}

void dict_commands_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter::the_interpreter->enter("link-lex-file", link_lex_file, kLinkLexFileHelp);
}

}  // namespace lorvan
