#include "lexicon/lexicon_commands.h"

#include <iostream>
#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "filestreams.h"
#include "lexicon/ending_table.h"
#include "lexicon/lex_file_utils_commands.h"
#include "lexicon/lexicon.h"
#include "lexicon/str_meaning.h"
#include "searchpath.h"

namespace lorvan {

namespace {

constexpr const char* kMakeLexiconHelp =
    "(make-lexicon <name> <size>)  <name> is the name of the lexicon, which is accessible as a "
    "named object.  <size> is the size of the internal hashtable";
constexpr const char* kLexHelp =
    "(lex <lexicon>  <entry>  ... ...  <entry>)  Load the entries into <lexicon>.";
constexpr const char* kLoadLexHelp =
    "(load-lex <lexicon> <file>) --- load entries in <file> into <lexicon>";
constexpr const char* kLexEntryHelp =
    "(lex-entry lexicon-name word1 word2 ...) print the entries for word1 word2 ... in the "
    "lexicon";
constexpr const char* kClearLexiconHelp =
    "(clear-lexicon lexicon-name) remove the entries in the lexicon (the disk file is "
    "unchanged).";
constexpr const char* kPrintLexHelp =
    "(print-lex <lexicon> [file]) --- print the entries in the lexicon to a file";
constexpr const char* kMakeStrMeaningProtoHelp =
    "(make-str-meaning-proto type) --- define type to be a type of str-meaning.";

// The lexicon named by the first argument (removed), or null after the
// named-object look-up's message.
Lexicon* take_lexicon(IRSlist* args, const char* usage) {
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "A lexicon name is needed: " << usage << '\n';
    return nullptr;
  }
  return static_cast<Lexicon*>(get_named_obj(name, Lexicon::kTypeName, 1));
}

// The ending table given after :ending-table: a named table, or a new one
// built from a list (then owned by the lexicon).
void attach_ending_table(Lexicon& lexicon, IRSlist* args) {
  IRSlist* table_arg = args->get_arg(":ending-table", true);
  if (table_arg == nullptr) return;
  if (table_arg->is_list()) {
    auto table = std::make_unique<EndingTable>();
    table->init(table_arg);
    lexicon.own_ending_table(std::move(table));
  } else if (table_arg->val() != nullptr) {
    lexicon.set_ending_table(
        static_cast<EndingTable*>(get_named_obj(table_arg->val(), EndingTable::kTypeName, 1)));
  }
}

// (make-lexicon <name> <size> [:encoding E] [:ending-table T])
void* make_lexicon(IRSlist* args) {
  const char* name = args->get_val(0);
  const char* size_text = args->get_val(1);
  if (name == nullptr || size_text == nullptr) {
    std::cerr << "make-lexicon: expecting " << kMakeLexiconHelp << '\n';
    return nullptr;
  }
  long size = args->get_long_val(1);
  if (size <= 0) {
    std::cerr << "make-lexicon: the size must be a positive number, not " << size_text << '\n';
    return nullptr;
  }
  const char* encoding = "ASCII";
  args->get_arg_val(":encoding", encoding, true);
  auto* lexicon = new Lexicon(static_cast<unsigned>(size), encoding);
  NamedObjEntry* entry = register_named_obj(name, lexicon, Lexicon::kTypeName, delLexicon);
  if (entry == nullptr || entry->object != lexicon) {
    delete lexicon;
    return nullptr;
  }
  attach_ending_table(*lexicon, args);
  return lexicon;
}

// (lex <lexicon> <entry>...)
void* lex(IRSlist* args) {
  Lexicon* lexicon = take_lexicon(args, kLexHelp);
  if (lexicon == nullptr) return nullptr;
  for (IRSlist* e = args->first(); e != nullptr; e = e->next()) lexicon->add_entry(e, true);
  return lexicon;
}

// (load-lex <lexicon> <file> [:no-dup N])
void* load_lex(IRSlist* args) {
  long no_dup = 1;
  args->get_arg_long(":no-dup", no_dup, true);
  std::unique_ptr<IRSlist> dropped = args->remove_arg(":no-dup", true);
  Lexicon* lexicon = take_lexicon(args, kLoadLexHelp);
  if (lexicon == nullptr) return nullptr;
  const char* file = args->get_val();
  if (file == nullptr) {
    std::cerr << "load-lex: a file name is needed: " << kLoadLexHelp << '\n';
    return nullptr;
  }
  std::unique_ptr<std::ifstream> in = open_file_on_search_path(file);
  if (in == nullptr) return nullptr;
  lexicon->load(*in, no_dup != 0);
  return lexicon;
}

// (lex-entry <lexicon> <word>...)
void* lex_entry(IRSlist* args) {
  Lexicon* lexicon = take_lexicon(args, kLexEntryHelp);
  if (lexicon == nullptr) return nullptr;
  for (const IRSlist* w = args->first(); w != nullptr; w = w->next()) {
    if (w->is_list() || w->val() == nullptr) continue;
    lexicon->print_entry(std::cout, lexicon->search_entry(w->val()));
  }
  return lexicon;
}

// (clear-lexicon <lexicon>)
void* clear_lexicon(IRSlist* args) {
  Lexicon* lexicon = take_lexicon(args, kClearLexiconHelp);
  if (lexicon != nullptr) lexicon->clear();
  return lexicon;
}

// (print-lex <lexicon> [file])
void* print_lex(IRSlist* args) {
  Lexicon* lexicon = take_lexicon(args, kPrintLexHelp);
  if (lexicon == nullptr) return nullptr;
  std::ostream* out = make_ostream(args->get_val());
  if (out == nullptr) return nullptr;
  lexicon->print(*out);
  out->flush();
  release_ostream(out);
  return lexicon;
}

// (make-str-meaning-proto <type>)
void* make_str_meaning_proto_cmd(IRSlist* args) {
  const char* type = args->length() == 1 ? args->get_val(0) : nullptr;
  if (type == nullptr) {
    std::cerr << "make-str-meaning-proto: expecting " << kMakeStrMeaningProtoHelp << '\n';
    return nullptr;
  }
  return make_str_meaning_proto(type);
}

}  // namespace

void lexicon_commands_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter& ci = *CmdInterpreter::the_interpreter;
  ci.enter("make-lexicon", make_lexicon, kMakeLexiconHelp);
  ci.enter("lex", lex, kLexHelp);
  ci.enter("load-lex", load_lex, kLoadLexHelp);
  ci.enter("lex-entry", lex_entry, kLexEntryHelp);
  ci.enter("clear-lexicon", clear_lexicon, kClearLexiconHelp);
  ci.re_enter("print-lex", print_lex, kPrintLexHelp);
  ci.re_enter("make-str-meaning-proto", make_str_meaning_proto_cmd, kMakeStrMeaningProtoHelp);
  lex_file_utils_commands_init();
}

}  // namespace lorvan
