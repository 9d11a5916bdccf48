#include "lexical/lex_analyzer_commands.h"

#include <algorithm>
#include <iostream>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "lexical/lex_analyzer.h"
#include "lexicon/ending_table.h"
#include "lexicon/lexicon.h"
#include "stats/word_seq_counter.h"

namespace lorvan {
namespace {

constexpr long kDefaultSentenceLength = 64;
constexpr int kEndingRoom = 50;

// The named object whose name follows `key`, reported when missing; null
// when the keyword is absent.
void* object_after(IRSlist* args, const char* key, const char* type) {
  const char* name = nullptr;
  if (!args->get_arg_val(key, name, true) || name == nullptr) return nullptr;
  return get_named_obj(name, type, 1);
}

// The expression written after `key`, or null.
std::unique_ptr<LExp> expression_after(IRSlist* args, const char* key) {
  IRSlist* e = args->get_arg(key, true);
  return e != nullptr ? LExp::get_exp(e) : nullptr;
}

// Registers `object` under `name`; false (the caller still owns it) when
// the name is taken.
bool register_as(const char* name, void* object, const char* type, ObjDeleter deleter) {
  NamedObjEntry* entry = register_named_obj(name, object, type, deleter);
  return entry != nullptr && entry->object == object;
}

// The analyzer named by the first argument, and the first character of the
// second (0 when missing).
LexAnalyzer* analyzer_and_marker(IRSlist* args, char& marker) {
  const char* name = args->get_val();
  const char* text = args->get_val();
  if (name == nullptr || text == nullptr) return nullptr;
  marker = text[0];
  return static_cast<LexAnalyzer*>(get_named_obj(name, "LexAnalyzer", 1));
}

}  // namespace

void* make_lex_analyzer(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return nullptr;
  long length = kDefaultSentenceLength;
  args->get_arg_long(":suggested-sentence-length", length, true);
  length = std::clamp<long>(length, 1, LexAnalyzer::kPositionLimit);
  auto analyzer = std::make_unique<LexAnalyzer>(static_cast<int>(length));
  if (args->get_arg(":lexicon", true) != nullptr) {
    analyzer->set_lexicon(static_cast<Lexicon*>(object_after(args, ":lexicon", "Lexicon")));
  } else {
    const char* counter = nullptr;
    if (args->get_arg_val(":word-list", counter, true) && counter != nullptr) {
      analyzer->set_word_list(find_word_seq_counter(counter));
    }
  }
  analyzer->set_rules(
      static_cast<LexRuleList*>(object_after(args, ":lexical-rules", "LexRuleList")));
  analyzer->set_hook(expression_after(args, ":hook"));
  analyzer->set_meaning_selector(expression_after(args, ":meaning-selector"));
  if (!register_as(name, analyzer.get(), "LexAnalyzer", delLexAnalyzer)) return nullptr;
  return analyzer.release();
}

void* set_lex_analyzer_focus_marker(IRSlist* args) {
  char marker = 0;
  LexAnalyzer* analyzer = analyzer_and_marker(args, marker);
  if (analyzer != nullptr) analyzer->focus_marker(marker);
  return analyzer;
}

void* set_lex_analyzer_pos_marker(IRSlist* args) {
  char marker = 0;
  LexAnalyzer* analyzer = analyzer_and_marker(args, marker);
  if (analyzer != nullptr) analyzer->pos_marker(marker);
  return analyzer;
}

void* not_to_remove_punc_marks(IRSlist* args) {
  NOT_TO_REMOVE_PUNC_MARKS = args->get_long_val() != 0 ? 1 : 0;
  return nullptr;
}

void* rmli(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return nullptr;
  auto* analyzer = static_cast<LexAnalyzer*>(get_named_obj(name, "LexAnalyzer", 1));
  if (analyzer == nullptr) return nullptr;
  analyzer->removeRedundant();
  analyzer->print(std::cout);
  return analyzer;
}

void* def_endings(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return nullptr;
  auto* table = static_cast<EndingTable*>(get_named_obj(name, "EndingTable", 0));
  if (table == nullptr) {
    auto made = std::make_unique<EndingTable>(kEndingRoom);
    if (!register_as(name, made.get(), "EndingTable", delEndingTable)) return nullptr;
    table = made.release();
  }
  for (IRSlist* def = args->first(); def != nullptr; def = def->next()) table->add(def);
  return table;
}

void register_lex_analyzer_commands() {
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.enter("make-lex-analyzer", make_lex_analyzer,
               "(make-lex-analyzer <name> <sentence-length>      <name-of-lexicon>      "
               "<name-of-ending-list>      <name-of-lexical-rules>      [ "
               "<hook-to-lexical-items> ])     <name> is the name of the lexical item "
               "analyzer.     <sentence-length> is the estimated maximum length of input "
               "sentences");
  interp.enter("set-lex-analyzer-focus-marker", set_lex_analyzer_focus_marker,
               "(set-lex-analyzer-focus-marker ANALYZER MARKER).");
  interp.enter("set-lex-analyzer-pos-marker", set_lex_analyzer_pos_marker,
               "(set-lex-analyzer-pos-marker ANALYZER MARKER).");
  interp.enter("not-to-remove-punc-marks", not_to_remove_punc_marks,
               "(not-to-remove-punc-marks 0|1)");
  interp.enter("rmli", rmli, "(rmli LEXANALYZER).");
  interp.enter("def-endings", def_endings, "(def-endings ending1 ...) define a set of endings.");
}

}  // namespace lorvan
