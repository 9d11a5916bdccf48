#include "lexicon/stemmer_commands.h"

#include <iostream>
#include <memory>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "lexicon/stemmer.h"
#include "slist.h"
#include "strbufs.h"

namespace lorvan {
namespace {

constexpr char kMakeStemmerHelp[] =
    "(make-stemmer NAME [:stem-table FILE] [:irr-verbs FILE] [:porter])";
constexpr char kTestStemmerHelp[] = "(test-stemmer name WORD WORD ...)";
constexpr char kStemmerType[] = "Stemmer";

const char* or_empty(const char* s) { return s != nullptr ? s : ""; }

}  // namespace

void* make_stemmer(IRSlist* args) {
  const char* name = args != nullptr ? args->get_val() : nullptr;
  if (name == nullptr) {
    std::cerr << "make-stemmer: a name is needed: " << kMakeStemmerHelp << std::endl;
    return nullptr;
  }
  auto stemmer = std::make_unique<Stemmer>();
  stemmer->init(args);
  NamedObjEntry* entry = register_named_obj(name, stemmer.get(), kStemmerType, delStemmer);
  // A duplicate name keeps the stemmer registered first; this one is dropped.
  if (entry == nullptr || entry->object != stemmer.get()) return nullptr;
  return stemmer.release();
}

void* test_stemmer(IRSlist* args) {
  if (args == nullptr) return nullptr;
  bool root_to_surface = args->remove_flag(":root-to-surface");
  bool show_ending = args->remove_flag(":show-ending");
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "test-stemmer: a stemmer name is needed: " << kTestStemmerHelp << std::endl;
    return nullptr;
  }
  auto* stemmer = static_cast<Stemmer*>(get_named_obj(name, kStemmerType, 1));
  if (stemmer == nullptr) return nullptr;

  StrBufs arena;
  TSlist<const char*> words;
  IRSlist::getWords(args->first(), arena, words);
  std::vector<Stemmer::RootPair> roots;
  for (const char* word : words) {
    roots.clear();
    stemmer->getRoots(word, roots);
    for (const auto& [root, label] : roots) {
      if (root_to_surface) {
        std::cout << root << '\t' << word;
      } else {
        std::cout << word << '\t' << root;
      }
      if (show_ending) std::cout << '\t' << or_empty(label);
      std::cout << '\n';
    }
  }
  std::cout.flush();
  return stemmer;
}

void stemmer_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter* interp = CmdInterpreter::the_interpreter;
  interp->enter("make-stemmer", make_stemmer, kMakeStemmerHelp);
  interp->enter("test-stemmer", test_stemmer, kTestStemmerHelp);
}

}  // namespace lorvan
