// Chart parsing speed: a fixed set of sentences parsed again and again with
// a small grammar (determiners, adjectives, subjects, objects, complements
// from the lexicon, coordination), the chart only (no dependency result).
// Reports sentences and parse items per second; once the item pool has
// grown, a repeated sentence allocates no items.
#include <benchmark/benchmark.h>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/lexp_init.h"
#include "lexical/lex_analyzer.h"
#include "lexical/token_commands.h"
#include "parser/builtin_atts.h"
#include "parser/lorvan_init.h"
#include "parser/vantic_parser.h"

namespace lorvan {
namespace {

const char* const kGrammar =
    "(def-att-list syn"
    "  (defattribute cat DisjAtt (allowable-values n v p a i c d j))"
    "  (defattribute num DisjAtt (allowable-values sg pl))"
    "  (defattribute slash DisjAtt (allowable-values wh rel))"
    "  (defattribute check DisjAtt (allowable-values wh rel))"
    "  (defattribute opt IntAtt) (defattribute last_conj IntAtt) (defattribute role StrAtt)"
    "  (defattribute lexitem EntAtt) (defattribute trace TraceAtt))"
    "(def-att-list syn (defattribute args ListAtt (interpreter syn))"
    "  (defattribute move StackAtt (interpreter syn)))"
    "(init-attributes)"
    "(make-avmeaning-proto syn avm)"
    "(make-lexicon BL 101)"
    "(lex BL (the (avm ((cat d)))) (big (avm ((cat a)))) (old (avm ((cat a))))"
    "  (dog (avm ((cat n) (num sg)))) (cat (avm ((cat n) (num sg))))"
    "  (park (avm ((cat n) (num sg)))) (and (avm ((cat j))))"
    "  (barks (avm ((cat v)))) (sees (avm ((cat v) (args ((cat n))))))"
    "  (gives (avm ((cat v) (args ((cat n)) ((cat n) (opt 1)))))))"
    "(make-lex-analyzer BLA :lexicon BL)"
    "(def-vantic-parser BP :attribute-vector-type syn :lexical-analyzer BLA"
    "  :default-percolating-attributes (num) :dist \"-\")"
    "(def-category Det) (def-category A) (def-category Conn)"
    "(def-category N (visible-atts (cat num)) (conj-atts (cat) (num)))"
    "(def-modifiers N (* (Det (dep-type det)) (A (dep-type mod))) (:head))"
    "(def-category V (visible-atts (cat)))"
    "(def-modifiers V (? (N (dep-type subj))) (:head) (? (N (dep-type obj))))"
    "(roots (V) (N))";

const char* const kSentences[] = {
    "the big dog sees the old cat",
    "the dog and the big old cat barks",
    "the old dog gives the cat the park",
    "big old dog and cat and park",
};

VanticParser* bench_parser() {
  static VanticParser* parser = [] {
    new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    token_init();
    objfact_init();
    lexp_init();
    lorvan_init();
    CmdInterpreter::the_interpreter->enter("init-attributes", init_attributes, nullptr);
    CmdInterpreter::the_interpreter->interpret(kGrammar);
    VanticParser* p = VanticParser::the_parser;
    p->output_tree(1);
    return p;
  }();
  return parser;
}

void BM_ParseSentences(benchmark::State& state) {
  VanticParser* parser = bench_parser();
  long items = 0;
  long sentences = 0;
  for (auto _ : state) {
    for (const char* s : kSentences) {
      parser->prepare_to_parse(s, nullptr);
      for (int i = 1; i < parser->sentleng(); ++i) {
        if (std::string_view(parser->word(i)) == "and") {
          parser->lex_analyzer()->flag_last_conjunction(i, i);
        }
      }
      benchmark::DoNotOptimize(parser->parse());
      items += parser->pool_size() - parser->pool_free();
      ++sentences;
    }
  }
  state.counters["sentences/s"] = benchmark::Counter(static_cast<double>(sentences),
                                                     benchmark::Counter::kIsRate);
  state.counters["items/s"] =
      benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsRate);
  state.counters["pool"] = parser->pool_size();
}
BENCHMARK(BM_ParseSentences);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
