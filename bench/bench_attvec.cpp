// Unification and comparison of attribute-value vectors of a realistic type:
// 30 attributes mixing binary, disjunctive, enumerated, integer, string,
// nested-vector and list kinds, as the parser merges chart items.  Reports
// nanoseconds per unify, unifiable and cmp.
#include <benchmark/benchmark.h>

#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/attvec.h"
#include "features/features_commands.h"

namespace lorvan {
namespace {

const char* const kType =
    "(def-att-list agrb (defattribute plu BinAtt) (defattribute per IntAtt)"
    " (defattribute gen DisjAtt (allowable-values m f n)))"
    "(def-att-list synb"
    " (defattribute plu BinAtt) (defattribute def BinAtt) (defattribute wh BinAtt)"
    " (defattribute neg BinAtt) (defattribute aux BinAtt) (defattribute pass BinAtt)"
    " (defattribute inv BinAtt) (defattribute fin BinAtt) (defattribute prd BinAtt)"
    " (defattribute pro BinAtt) (defattribute gap BinAtt) (defattribute poss BinAtt)"
    " (defattribute comp BinAtt) (defattribute rel BinAtt)"
    " (defattribute num DisjAtt (allowable-values sg pl))"
    " (defattribute case DisjAtt (allowable-values nom acc gen dat))"
    " (defattribute vform DisjAtt (allowable-values bse fin ing en inf))"
    " (defattribute tense DisjAtt (allowable-values past pres fut))"
    " (defattribute mood Disj8Att (allowable-values ind subj imp))"
    " (defattribute pform Disj8Att (allowable-values of to in on at by))"
    " (defattribute cat EnumAtt (allowable-values n v a p d c))"
    " (defattribute sub EnumAtt (allowable-values count mass proper))"
    " (defattribute per IntAtt) (defattribute bar IntAtt)"
    " (defattribute slash SmIntAtt)"
    " (defattribute lex StrAtt) (defattribute root StrAtt)"
    " (defattribute agr VecAtt (interpreter agrb))"
    " (defattribute args ListAtt (interpreter agrb))"
    " (defattribute deps StackAtt (interpreter agrb)))";

// A head item's vector and the constraint a relation puts on its modifier.
const char* const kHead =
    "(+plu -def -wh -neg +fin -pass (num pl) (case nom acc) (vform fin ing) (tense pres past)"
    " (mood ind) (cat v) (per 3) (bar 1) (slash 2) (lex \"runs\") (root \"run\")"
    " (agr (+plu (per 3) (gen m f))) (args (+plu) (-plu (per 1))) (deps (+plu)))";
const char* const kConstraint =
    "(+plu -wh +fin (num pl sg) (case nom) (vform fin) (tense pres) (cat v) (per 3)"
    " (lex \"runs\") (agr (+plu (gen m))) (args (+plu) (-plu)))";
// The same constraint failing on its last attributes.
const char* const kLateConflict =
    "(+plu -wh +fin (num pl sg) (case nom) (vform fin) (tense pres) (cat v) (per 3)"
    " (lex \"runs\") (agr (+plu (gen n))))";

const AttInterpreterList* the_type() {
  static const AttInterpreterList* type = [] {
    new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    attvec_init();
    CmdInterpreter::the_interpreter->interpret(kType);
    return AttInterpreterList::get_att_list("synb");
  }();
  return type;
}

std::unique_ptr<AttVec> vector_of(const char* text) {
  auto tokenizer = make_command_tokenizer();
  std::unique_ptr<IRSlist> node = make_irslist(text, tokenizer.get());
  return std::make_unique<AttVec>(node.get(), the_type());
}

// Unification that succeeds and changes nothing (the head already says
// everything the constraint does): the check the parser does on every
// merge, with doit set.
void BM_UnifyIntoMoreSpecific(benchmark::State& state) {
  auto head = vector_of(kHead);
  head->unify(*vector_of(kConstraint));
  const auto constraint = vector_of(kConstraint);
  for (auto _ : state) benchmark::DoNotOptimize(head->unify(*constraint, nullptr, 1));
}
BENCHMARK(BM_UnifyIntoMoreSpecific);

// A private copy of the head, then unification into it: what a merge that
// must keep the original costs, allocation included.
void BM_CopyAndUnify(benchmark::State& state) {
  const auto head = vector_of(kHead);
  const auto constraint = vector_of(kConstraint);
  for (auto _ : state) {
    AttVec merged(*head);
    benchmark::DoNotOptimize(merged.unify(*constraint, nullptr, 1));
  }
}
BENCHMARK(BM_CopyAndUnify);

void BM_Unifiable(benchmark::State& state) {
  const auto head = vector_of(kHead);
  const auto constraint = vector_of(state.range(0) == 0 ? kConstraint : kLateConflict);
  for (auto _ : state) benchmark::DoNotOptimize(head->unifiable(*constraint));
}
BENCHMARK(BM_Unifiable)->ArgName("late_conflict")->Arg(0)->Arg(1);

// Comparison of the head with a constraint it is more specific than, and
// with itself copied (equal).
void BM_Cmp(benchmark::State& state) {
  const auto head = vector_of(kHead);
  const auto other = state.range(0) == 0 ? vector_of(kConstraint) : std::make_unique<AttVec>(*head);
  for (auto _ : state) benchmark::DoNotOptimize(head->cmp(*other));
}
BENCHMARK(BM_Cmp)->ArgName("equal")->Arg(0)->Arg(1);

// A vector with only binary attributes: unification is word-parallel.
void BM_UnifiableBinaryOnly(benchmark::State& state) {
  const auto head = vector_of("(+plu -def -wh -neg +fin -pass +inv -prd +pro)");
  const auto constraint = vector_of("(+plu -wh +fin +inv)");
  for (auto _ : state) benchmark::DoNotOptimize(head->unifiable(*constraint));
}
BENCHMARK(BM_UnifiableBinaryOnly);

}  // namespace
}  // namespace lorvan

BENCHMARK_MAIN();
