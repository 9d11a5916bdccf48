// Shared set-up of the lexical analyzer tests: the process-wide interpreter
// with the modules the analyzer meets registered as at start-up, meaning
// types "pos" and "sense" (text meanings), a few test expressions, small
// in-memory lexicons built from entry texts, and capture of the standard
// streams.
#ifndef LORVAN_TESTS_LEXICAL_LEX_ANALYZER_FIXTURE_H_
#define LORVAN_TESTS_LEXICAL_LEX_ANALYZER_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lexp_init.h"
#include "expr/marg_exp.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lexitem_init.h"
#include "lexical/tokenizer.h"
#include "lexicon/ending_table.h"
#include "lexicon/lexicon.h"
#include "lexicon/lexicon_init.h"
#include "lexicon/str_meaning.h"
#include "stats/tripledb_init.h"
#include "support/captured.h"

namespace lorvan::lexantest {

// The text of a text meaning, or "" for anything else.
inline std::string meaning_text(const Meaning* m) {
  auto* s = dynamic_cast<const StrMeaning*>(m);
  return s != nullptr && s->text() != nullptr ? s->text() : "";
}

// (cate-from-meaning): a hook that gives an item the text of its meaning as
// category.
inline void* cate_from_meaning(void* input) {
  auto* item = static_cast<LexItem*>(input);
  std::string text = meaning_text(item->meaning());
  if (!text.empty()) item->cate(text.c_str());
  return input;
}

// (not-verb): a meaning selector that admits every meaning but "verb".
inline void* not_verb(void* input) {
  return meaning_text(static_cast<Meaning*>(input)) == "verb" ? nullptr : input;
}

inline int hook_calls = 0;
// (count-calls): counts its evaluations.
inline void* count_calls(void* input) {
  ++hook_calls;
  return input;
}

inline void init_runtime() {
  static bool done = false;
  if (done) return;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->interactive(0);
  namedobj_init();
  objfact_init();
  lexicon_init();
  lexitem_init();
  lexp_init();
  tripledb_init();
  make_str_meaning_proto("pos");
  make_str_meaning_proto("sense");
  LExp::exp_proto(std::make_unique<ZeroArgExp>("cate-from-meaning", cate_from_meaning,
                                               "LexItem*", "LexItem*"),
                  nullptr, nullptr);
  LExp::exp_proto(std::make_unique<ZeroArgExp>("not-verb", not_verb, "Meaning*", "Meaning*"),
                  nullptr, nullptr);
  LExp::exp_proto(std::make_unique<ZeroArgExp>("count-calls", count_calls, nullptr, nullptr),
                  nullptr, nullptr);
}

inline std::unique_ptr<LExp> compile(const char* text) { return LExp::get_exp(text); }

// A lexicon in memory, filled from entry texts such as "(dog (pos noun))",
// with an ending table when `endings` (a list of ending definitions) is
// given.
class FixtureLexicon {
 public:
  explicit FixtureLexicon(std::initializer_list<const char*> entries,
                          const char* endings = nullptr)
      : lexicon_((init_runtime(), 101), nullptr) {
    for (const char* e : entries) lexicon_.make_entry(e);
    if (endings != nullptr) {
      auto t = make_command_tokenizer();
      std::unique_ptr<IRSlist> defs = make_irslist(endings, t.get());
      endings_.init(defs.get());
      lexicon_.set_ending_table(&endings_);
    }
  }
  Lexicon& lexicon() { return lexicon_; }

 private:
  Lexicon lexicon_;
  EndingTable endings_;
};

using testsupport::Captured;

// Feeds `text` word by word: blank-separated atoms, each after the space
// " ", with ":nogap" joining the next atom to the previous one.
inline void feed(LexAnalyzer& a, const char* text) {
  auto t = make_command_tokenizer();
  std::string list = std::string("(") + text + ")";
  std::unique_ptr<IRSlist> words = make_irslist(list.c_str(), t.get());
  a.init(*words);
}

// The lattice as LexItem::print writes it.
inline std::string lattice(LexAnalyzer& a) {
  std::ostringstream out;
  a.print(out);
  return out.str();
}

}  // namespace lorvan::lexantest

#endif  // LORVAN_TESTS_LEXICAL_LEX_ANALYZER_FIXTURE_H_
