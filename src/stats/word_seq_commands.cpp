#include "stats/word_seq_commands.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "expr/lexp.h"
#include "filestreams.h"
#include "inbuffer.h"
#include "stats/plhash.h"
#include "stats/unigram_segmentor.h"
#include "stats/word_seq_counter.h"

namespace lorvan {
namespace {

constexpr long kMaxTableSize = 1L << 26;

long table_size(const IRSlist* args, const char* key) {
  long size = WordSeqCounter::kDefaultSize;
  args->get_arg_long(key, size, true);
  return size >= 1 && size <= kMaxTableSize ? size : WordSeqCounter::kDefaultSize;
}

// Feeds the count file named `file` (the search path is used; "-" is the
// standard input) to `read`; nothing when it cannot be opened.
template <class Read>
void read_count_file(const char* file, Read read) {
  std::istream* in = make_istream(file);
  if (in == nullptr) return;
  read(*in);
  release_istream(in);
}

// The counter named after `key`, or null (reported).
WordSeqCounter* counter_arg(IRSlist* args, const char* key) {
  void* object = get_object_by_name_func(args, key, "WordSeqCounter");
  if (object == nullptr) return nullptr;
  return static_cast<WordSeqCounter*>(static_cast<PLHash*>(object));
}

// The expression after `key`, or null.
std::unique_ptr<LExp> expression_arg(IRSlist* args, const char* key, bool quiet) {
  IRSlist* arg = args->get_arg(key, quiet);
  return arg != nullptr ? LExp::get_exp(arg) : nullptr;
}

void* make_word_seq_counter(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "make-WordSeqCounter: a name is expected\n";
    return nullptr;
  }
  auto* counter = new WordSeqCounter(static_cast<unsigned>(table_size(args, ":size")),
                                     args->get_flag(":inverse"));
  counter->setSymtable(static_cast<unsigned>(table_size(args, ":symtable-size")));
  PLHash* db = counter;
  NamedObjEntry* entry = register_named_obj(name, db, "WordSeqCounter/PLHash", &delete_plhash);
  if (entry == nullptr || entry->object != db) {
    delete counter;
    return nullptr;
  }
  const char* file = nullptr;
  if (args->get_arg_val(":load-from", file, true) && file != nullptr) {
    read_count_file(file, [counter](std::istream& in) { counter->loadCounts(in); });
  }
  if (args->get_arg_val(":corrections", file, true) && file != nullptr) {
    read_count_file(file, [counter](std::istream& in) { counter->applyCorrections(in); });
  }
  return db;
}

void* load_word_seq_counter(IRSlist* args) {
  WordSeqCounter* counter = find_word_seq_counter(args->get_val());
  if (counter == nullptr) return nullptr;
  const char* file = nullptr;
  args->get_arg_val(":input", file, true);
  read_count_file(file, [counter](std::istream& in) { counter->loadCounts(in); });
  return nullptr;
}

void* search_word_seq_counter(IRSlist* args) {
  WordSeqCounter* counter = find_word_seq_counter(args->get_val());
  if (counter == nullptr) return nullptr;
  const char* phrase = nullptr;
  float count = 0;
  if (args->get_arg_val(":phrase", phrase, true)) {
    count = counter->getFreq(phrase);
  } else {
    std::vector<const char*> words;
    for (IRSlist* arg = args->first(); arg != nullptr; arg = arg->next()) {
      if (arg->val() != nullptr) words.push_back(arg->val());
    }
    count = counter->getFreq(WordSeqCounter::Words(words));
  }
  std::cout << count_text(count) << "\n";
  return nullptr;
}

void* viterbi_segment(IRSlist* args) {
  WordSeqCounter* counter = counter_arg(args, ":counter");
  const char* text = nullptr;
  if (counter == nullptr || !args->get_arg_val(":input", text, false) || text == nullptr) {
    return nullptr;
  }
  std::unique_ptr<LExp> valid = expression_arg(args, ":valid-segment", true);
  std::string storage;
  std::vector<const char*> words = split_at_spaces(text, storage);
  UnigramSegmentor segmentor(*counter, valid.get());
  for (const std::string& segment : segmentor.segment(UnigramSegmentor::Words(words))) {
    std::cout << segment << "\n";
  }
  return nullptr;
}

void* select_lines(IRSlist* args) {
  std::unique_ptr<LExp> condition = expression_arg(args, ":cond", false);
  const char* file = nullptr;
  if (!condition || !args->get_arg_val(":input", file, false)) return nullptr;
  InBuffer in;
  if (file == nullptr || !in.open(file)) {
    std::cerr << "The file " << (file != nullptr ? file : "") << " cannot be opened\n";
    return nullptr;
  }
  int text_type = arg_type_id("char*");
  while (in.next() != 0) {
    char* line = const_cast<char*>(in.current());
    if (condition->eval(line, text_type) != nullptr) {
      std::cout << line << "\t" << count_text(in.count()) << "\n";
    }
  }
  return nullptr;
}

void* does_nothing(IRSlist*) { return nullptr; }

// Phrase-statistics filters whose methods this version does not provide.
void* not_available(IRSlist*) {
  std::cerr << "This phrase filter is not available in this version\n";
  return nullptr;
}

}  // namespace

void wordseqcounter_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter& interpreter = *CmdInterpreter::the_interpreter;
  interpreter.enter("make-WordSeqCounter", make_word_seq_counter,
                    "(make-WordSeqCounter NAME :size SIZE :symtable-size SIZE)");
  interpreter.enter("load-WordSeqCounter", load_word_seq_counter,
                    "(load-WordSeqCounter NAME [:input FILE])");
  interpreter.enter("search-WordSeqCounter", search_word_seq_counter,
                    "(search-WordSeqCounter NAME WORD WORD ....)");
  interpreter.enter("viterbi-segment", viterbi_segment,
                    "(viterbi-segment :counter COUNTER :input INPUT)");
  interpreter.enter("select-lines", select_lines, "(select-lines :cond LEXP :input FILE)");
  interpreter.enter("filter-by-segmentation", does_nothing,
                    "(filter-by-segmentation db :counter COUNTER :input FILE)");
  interpreter.enter("filter-by-segmentation2", does_nothing,
                    "(filter-by-segmentation2 :counter COUNTER :input SIMFILE)");
  interpreter.enter("filter-with-sim-words", does_nothing,
                    "(filter-with-sim-words :counter COUNTER :input FILE :threshold THRESHOLD)");
  interpreter.enter("wordseq-entropy", not_available, "(wordseq-entropy NAME)");
  interpreter.enter("filter-wordseq-with-MI", not_available,
                    "(filter-wordseq-with-MI :db BIGRAM :rel REL :threshold X :input FILE)");
  interpreter.enter("filter-wordseq-using-prefix", not_available,
                    "(filter-wordseq-using-prefix :counter COUNTER :input FILE)");
  interpreter.enter("filter-wordseq", not_available,
                    "(filter-wordseq :input FILE :min-count COUNT :bad-start LEXP :bad-end LEXP "
                    ":max-len LEN)");
  interpreter.enter("get-phrases", not_available,
                    "(get-phrases :thresholds ((LEXP THRESHOLD) (LEXP THRESHOLD)  ... )");
}

}  // namespace lorvan
