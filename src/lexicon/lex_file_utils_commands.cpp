#include "lexicon/lex_file_utils_commands.h"

#include <iostream>
#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "expr/lexp.h"
#include "filestreams.h"
#include "lexicon/dict_on_disk.h"
#include "lexicon/lex_file_utils.h"

namespace lorvan {

namespace {

constexpr const char* kSelectHelp =
    "(select lexp input output) --- select the entries that satisfy the\nexpression lexp and "
    "print it to the output stream.";
constexpr const char* kDiffHelp =
    "(diff file1 file2 output) --- print different entries in file1 and file2";
constexpr const char* kUpdateLexHelp =
    "(update-lex addendum old-dict new-dict) --- \nnew-dict will consist of entries in addendum "
    "and old-dict entries\nthat are not found in addendum. Both addendum and old-dict are "
    "assumed\nto be sorted";
constexpr const char* kCombineLexHelp = "(combine-lex dict1 dict2 new-dict)";
constexpr const char* kFilterEntriesHelp =
    "(filter-entries <rules> <input> <output>) --- modifies the entries.";
constexpr const char* kGetEntryHelp =
    "(get-entry dict (word ... word)) --- retrieve words from dict file.";
constexpr const char* kMergeEntriesHelp =
    "(merge-entries <input> <output>) --- merge the entries.";
constexpr const char* kSortLexHelp =
    "(sort-lex source destination) sort the entries in source, the results are stored in "
    "destination.";
constexpr const char* kRmDuplicatesHelp =
    "(rm-duplicates source destination) remove the duplicate entries in source, the results are "
    "stored in destination. The source lexicon is assumed to be sorted.";

// Streams opened by name for the length of one command; a null member
// means that stream could not be opened (make_istream / make_ostream
// reported it).
struct InStream {
  explicit InStream(const char* name) : s(make_istream(name)) {}
  ~InStream() { release_istream(s); }
  InStream(const InStream&) = delete;
  InStream& operator=(const InStream&) = delete;
  std::istream* s;
};

struct OutStream {
  explicit OutStream(const char* name) : s(make_ostream(name)) {}
  ~OutStream() {
    if (s != nullptr) s->flush();
    release_ostream(s);
  }
  OutStream(const OutStream&) = delete;
  OutStream& operator=(const OutStream&) = delete;
  std::ostream* s;
};

// A utility reading two inputs into one output: (cmd in1 in2 out).
template <void (*Run)(std::istream&, std::istream&, std::ostream&)>
void* two_inputs(IRSlist* args) {
  InStream first(args->get_val(0));
  InStream second(args->get_val(1));
  if (first.s == nullptr || second.s == nullptr) return nullptr;
  OutStream out(args->get_val(2));
  if (out.s != nullptr) Run(*first.s, *second.s, *out.s);
  return nullptr;
}

// A utility from one input to one output: (cmd in out).
template <void (*Run)(std::istream&, std::ostream&)>
void* one_input(IRSlist* args) {
  InStream in(args->get_val(0));
  if (in.s == nullptr) return nullptr;
  OutStream out(args->get_val(1));
  if (out.s != nullptr) Run(*in.s, *out.s);
  return nullptr;
}

// (sort-lex source destination): exactly two arguments.
void* sort_lex_cmd(IRSlist* args) {
  if (args->length() != 2) {
    std::cerr << "sort-lex: expecting " << kSortLexHelp << '\n';
    return nullptr;
  }
  return one_input<sort_lex>(args);
}

// (merge-entries input output): the standard output when the output
// cannot be opened.
void* merge_entries_cmd(IRSlist* args) {
  InStream in(args->get_val(0));
  if (in.s == nullptr) return nullptr;
  OutStream out(args->get_val(1));
  merge_entries(*in.s, out.s != nullptr ? *out.s : std::cout);
  return nullptr;
}

// (select lexp input output)
void* select_cmd(IRSlist* args) {
  IRSlist* exp_text = args->first();
  if (exp_text == nullptr || !exp_text->is_list()) {
    std::cerr << "select: expecting " << kSelectHelp << '\n';
    return nullptr;
  }
  std::unique_ptr<IRSlist> held(args->remove_first());
  std::unique_ptr<LExp> test = LExp::get_exp(held.get());
  if (test == nullptr) return nullptr;
  InStream in(args->get_val(0));
  if (in.s == nullptr) return nullptr;
  OutStream out(args->get_val(1));
  if (out.s != nullptr) select_entries(*test, *in.s, *out.s);
  return nullptr;
}

// Compiles element i of `args` when it is a list; null otherwise.
std::unique_ptr<LExp> compile_arg(IRSlist* args, int i) {
  IRSlist* e = args->nth(i);
  return e != nullptr && e->is_list() ? LExp::get_exp(e) : nullptr;
}

// (filter-entries input test meaning-action entry-action)
void* filter_entries_cmd(IRSlist* args) {
  std::unique_ptr<LExp> test = compile_arg(args, 1);
  std::unique_ptr<LExp> meaning_action = compile_arg(args, 2);
  std::unique_ptr<LExp> entry_action = compile_arg(args, 3);
  InStream in(args->get_val(0));
  if (in.s == nullptr) return nullptr;
  filter_entries(*in.s, test.get(), meaning_action.get(), entry_action.get());
  return nullptr;
}

// (get-entry header (word ...))
void* get_entry_cmd(IRSlist* args) {
  const char* header = args->get_val(0);
  const IRSlist* words = args->nth(1);
  if (header == nullptr || words == nullptr || !words->is_list()) {
    std::cerr << "get-entry: expecting " << kGetEntryHelp << '\n';
    return nullptr;
  }
  DictOnDisk dict(header);
  if (!dict.ok()) return nullptr;
  for (const IRSlist* w = words->first(); w != nullptr; w = w->next()) {
    if (w->is_list() || w->val() == nullptr) continue;
    if (const char* text = dict.search(w->val())) std::cout << text << '\n';
  }
  return nullptr;
}

}  // namespace

void lex_file_utils_commands_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter& ci = *CmdInterpreter::the_interpreter;
  ci.re_enter("select", select_cmd, kSelectHelp);
  ci.re_enter("diff", two_inputs<lex_diff>, kDiffHelp);
  ci.re_enter("update-lex", two_inputs<update_lex>, kUpdateLexHelp);
  ci.re_enter("combine-lex", two_inputs<combine_lex>, kCombineLexHelp);
  ci.re_enter("filter-entries", filter_entries_cmd, kFilterEntriesHelp);
  ci.re_enter("get-entry", get_entry_cmd, kGetEntryHelp);
  ci.re_enter("merge-entries", merge_entries_cmd, kMergeEntriesHelp);
  ci.re_enter("sort-lex", sort_lex_cmd, kSortLexHelp);
  ci.re_enter("rm-duplicates", one_input<rm_duplicates>, kRmDuplicatesHelp);
}

}  // namespace lorvan
