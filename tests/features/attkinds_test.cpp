// Tests of the attribute kinds: reading, printing, unification,
// comparison, minus / intersect / modify, sharing of nested values, binary
// forms, and the messages on bad declarations, values and binary forms.
//
// Every kind is declared once, through the commands a command file would
// use, in the attribute-vector types below; each table row reads vectors
// in text form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/att_interpreter.h"
#include "features/att_interpreter_list.h"
#include "features/attkinds.h"
#include "features/attvec.h"
#include "features/avlist.h"
#include "features/entatt.h"
#include "features/features_commands.h"
#include "features/traceatt.h"
#include "strbufs.h"

// The replacement below pairs malloc with free on purpose; GCC cannot see
// that through the inlined standard allocators.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace alloc_count {
// Allocations made while `on` is set, counted by the operator new below.
bool on = false;
int count = 0;
}  // namespace alloc_count

void* operator new(std::size_t n) {
  if (alloc_count::on) ++alloc_count::count;
  if (void* p = std::malloc(n != 0 ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace lorvan {
namespace {

constexpr const char* kTypes = R"(
(def-att-list agrt
  (defattribute plu BinAtt)
  (defattribute per IntAtt)
  (defattribute num DisjAtt (allowable-values sg pl)))
(def-att-list argt
  (defattribute cat EnumAtt (allowable-values n v p))
  (defattribute opt BinAtt)
  (defattribute per IntAtt))
(def-att-list kinds
  (defattribute plu BinAtt)
  (defattribute num DisjAtt (allowable-values sg pl du))
  (defattribute case Disj8Att (allowable-values nom acc gen dat))
  (defattribute form EnumAtt (allowable-values fin inf part))
  (defattribute per IntAtt)
  (defattribute n SmIntAtt)
  (defattribute lex StrAtt)
  (defattribute ent EntAtt)
  (defattribute agr VecAtt (interpreter agrt))
  (defattribute sub VecAtt)
  (defattribute args ListAtt (interpreter argt))
  (defattribute stk StackAtt (interpreter argt))
  (defattribute trace TraceAtt))
)";

// Codes of the "kinds" attributes in binary forms (their indexes) and the
// end code (attribute count + 1).
enum KindsCode : char {
  kNum = 1, kCase = 2, kForm = 3, kPer = 4, kN = 5, kLex = 6, kEnt = 7,
  kAgr = 8, kSub = 9, kArgs = 10, kTrace = 12, kEnd = 14
};

void define_types_once() {
  static bool done = false;
  if (done) return;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->interactive(0);
  namedobj_init();
  attvec_init();
  CmdInterpreter::the_interpreter->interpret(kTypes);
}

// The standard error stream is captured for every test.
class AttKindsTest : public ::testing::Test {
 protected:
  AttKindsTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) {
    define_types_once();
    kinds_ = AttInterpreterList::get_att_list("kinds");
  }
  ~AttKindsTest() override { std::cerr.rdbuf(saved_err_); }

  // Everything written to the error stream since the last call.
  std::string err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }

  std::unique_ptr<AttVec> read(const std::string& text,
                               const AttInterpreterList* type = nullptr) {
    tokenizer_->clear();
    auto list = make_irslist(text.c_str(), tokenizer_.get());
    return std::make_unique<AttVec>(list.get(), type != nullptr ? type : kinds_);
  }

  static std::string show(const AttVec& v) {
    std::ostringstream out;
    v.print(out);
    return out.str();
  }

  static std::string packed(const AttVec& v) {
    StrBufs buf;
    v.pack(buf);
    return std::string(buf.str(), buf.length());
  }

  // A new vector of `type` read from `bytes`; `ok` gets unpack's result.
  std::unique_ptr<AttVec> unpacked(const std::string& bytes, bool& ok,
                                   const AttInterpreterList* type = nullptr) {
    auto v = std::make_unique<AttVec>(type != nullptr ? type : kinds_);
    ByteReader in(bytes.data(), bytes.size());
    ok = v->unpack(in);
    return v;
  }

  int index_of(const char* name) const {
    int i = -1;
    kinds_->search_att_index(name, i);
    return i;
  }

  AttInterpreterList* kinds_ = nullptr;

 private:
  std::unique_ptr<Tokenizer> tokenizer_ = make_command_tokenizer();
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

// ------------------------------------------------------------ registration

TEST_F(AttKindsTest, EveryKindIsRegisteredUnderItsClassName) {
  attkinds_init();  // a second run registers nothing twice
  for (const char* kind : {"DisjAtt", "Disj8Att", "EntAtt", "EnumAtt", "IntAtt", "SmIntAtt",
                           "StrAtt", "VecAtt", "ListAtt", "StackAtt", "TraceAtt"}) {
    SCOPED_TRACE(kind);
    const AttInterpreter* proto = AttInterpreter::get_attitp_proto(kind);
    ASSERT_NE(proto, nullptr);
    EXPECT_STREQ(proto->type_name(), kind);
    std::unique_ptr<AttInterpreter> fresh(AttInterpreter::get_attitp(kind));
    ASSERT_NE(fresh, nullptr);
    EXPECT_STREQ(fresh->type_name(), kind);
    EXPECT_STREQ(fresh->name(), "");
    EXPECT_EQ(fresh->index(), -1);
    EXPECT_EQ(fresh->storage_position(), -1);
  }
  EXPECT_EQ(err(), "");
}

TEST_F(AttKindsTest, KindsTakeTheirStorageClass) {
  EXPECT_EQ(kinds_->binary_count(), 1);
  EXPECT_EQ(kinds_->byte_count(), 3);  // case, form, n
  EXPECT_EQ(kinds_->word_count(), 9);
  EXPECT_EQ(kinds_->interpreter(index_of("n"))->storage_position(), 2);
  EXPECT_EQ(kinds_->interpreter(index_of("trace"))->storage_position(), 8);
}

// ------------------------------------------------------ the kind table

struct KindCase {
  const char* a;
  const char* b;
  const char* shown;    // a printed
  int unify;            // a.unify(b)
  const char* unified;  // a after a successful unify with doit
  int cmp;              // a.cmp(b)
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << c.a << " with " << c.b; }

class KindTableTest : public AttKindsTest, public ::testing::WithParamInterface<KindCase> {};

// Reads a and b; checks the printed form, the unifiability test (which
// changes nothing), unification with doit on a copy of a that shares its
// values (a itself must stay as it was), the comparison, and the binary
// round trip of a.
TEST_P(KindTableTest, ReadPrintUnifyCompareRoundTrip) {
  const KindCase& c = GetParam();
  auto a = read(c.a);
  auto b = read(c.b);
  ASSERT_EQ(err(), "");
  EXPECT_EQ(show(*a), c.shown);

  EXPECT_EQ(a->unifiable(*b), c.unify);
  EXPECT_EQ(show(*a), c.shown);
  AttVec copy(*a);
  EXPECT_EQ(copy.unify(*b, nullptr, 1), c.unify);
  if (c.unify != 0) {
    EXPECT_EQ(show(copy), c.unified);
  }
  EXPECT_EQ(show(*a), c.shown);

  EXPECT_EQ(a->cmp(*b), c.cmp);

  bool ok = false;
  auto back = unpacked(packed(*a), ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(show(*back), c.shown);
  EXPECT_EQ(back->cmp(*a), 0);
  EXPECT_EQ(err(), "");
}

INSTANTIATE_TEST_SUITE_P(DisjAtt, KindTableTest, ::testing::Values(
    KindCase{"((num sg pl))", "((num pl du))", "((num sg pl))", 1, "((num pl))", 2},
    KindCase{"((num sg pl))", "((num pl))", "((num sg pl))", 1, "((num pl))", -1},
    KindCase{"((num sg))", "((num sg pl))", "((num sg))", 1, "((num sg))", 1},
    KindCase{"((num sg))", "((num pl))", "((num sg))", 0, nullptr, 2},
    KindCase{"(~num)", "(~num)", "(~num)", 1, "(~num)", 0},
    KindCase{"((num ~))", "((num sg))", "(~num)", 0, nullptr, 2},
    KindCase{"((num sg))", "(~num)", "((num sg))", 0, nullptr, 2},
    KindCase{"()", "((num sg))", "()", 1, "((num sg))", -1},
    KindCase{"((num du) (num sg))", "()", "((num du))", 1, "((num du))", 1}));

INSTANTIATE_TEST_SUITE_P(Disj8Att, KindTableTest, ::testing::Values(
    KindCase{"((case nom acc))", "((case acc gen))", "((case nom acc))", 1, "((case acc))", 2},
    KindCase{"((case dat))", "((case nom acc gen dat))", "((case dat))", 1, "((case dat))", 1},
    KindCase{"((case nom))", "((case acc))", "((case nom))", 0, nullptr, 2},
    KindCase{"(~case)", "((case nom))", "(~case)", 0, nullptr, 2}));

INSTANTIATE_TEST_SUITE_P(EnumAtt, KindTableTest, ::testing::Values(
    KindCase{"((form fin))", "((form fin))", "((form fin))", 1, "((form fin))", 0},
    KindCase{"((form inf part))", "((form part))", "((form inf))", 0, nullptr, 2},
    KindCase{"(~form)", "((form part))", "(~form)", 0, nullptr, 2},
    KindCase{"(~form)", "(~form)", "(~form)", 1, "(~form)", 0}));

INSTANTIATE_TEST_SUITE_P(IntAtt, KindTableTest, ::testing::Values(
    KindCase{"((per 3))", "((per 5))", "((per 3))", 0, nullptr, -1},
    KindCase{"((per 5))", "((per 3))", "((per 5))", 0, nullptr, 1},
    KindCase{"((per -2))", "((per 3))", "((per -2))", 0, nullptr, 1},  // unsigned order
    KindCase{"((per 7))", "((per 7))", "((per 7))", 1, "((per 7))", 0},
    KindCase{"(+plu (per 3))", "(-plu)", "(+plu (per 3))", 0, nullptr, 2}));

INSTANTIATE_TEST_SUITE_P(SmIntAtt, KindTableTest, ::testing::Values(
    KindCase{"((n 5))", "((n 3))", "((n 5))", 1, "((n 5))", 2},
    KindCase{"((n 300))", "((n 44))", "((n 44))", 1, "((n 44))", 0},
    KindCase{"((n -1))", "((n 255))", "((n 255))", 1, "((n 255))", 0},
    KindCase{"()", "((n 3))", "()", 1, "((n 3))", -1}));

INSTANTIATE_TEST_SUITE_P(StrAtt, KindTableTest, ::testing::Values(
    KindCase{"((lex Alpha))", "((lex ALPHA))", "((lex \"Alpha\"))", 1, "((lex \"Alpha\"))", 0},
    KindCase{"((lex \"two words\"))", "((lex beta))", "((lex \"two words\"))", 0, nullptr, 2},
    KindCase{"()", "((lex gamma))", "()", 1, "((lex \"gamma\"))", -1}));

INSTANTIATE_TEST_SUITE_P(VecAtt, KindTableTest, ::testing::Values(
    KindCase{"((agr (+plu (per 3))))", "((agr (+plu (per 3))))", "((agr (+plu (per 3))))", 1,
             "((agr (+plu (per 3))))", 0},
    KindCase{"((agr (+plu)))", "((agr (+plu (per 3))))", "((agr (+plu)))", 1,
             "((agr (+plu (per 3))))", -1},
    KindCase{"((agr (+plu)))", "((agr (-plu)))", "((agr (+plu)))", 0, nullptr, 2},
    KindCase{"((agr ((num sg pl))))", "((agr ((num pl))))", "((agr ((num sg pl))))", 1,
             "((agr ((num pl))))", -1},
    KindCase{"(~agr)", "(~agr)", "(~agr)", 1, "(~agr)", 0},
    KindCase{"(~agr)", "((agr (+plu)))", "(~agr)", 0, nullptr, 2},
    KindCase{"((agr (+plu)))", "(~agr)", "((agr (+plu)))", 0, nullptr, 2},
    KindCase{"((agr ()))", "((agr (+plu)))", "()", 1, "((agr (+plu)))", -1},
    // A second value of the same attribute is merged by unification.
    KindCase{"((agr (+plu)) (agr ((per 3))))", "()", "((agr (+plu (per 3))))", 1,
             "((agr (+plu (per 3))))", 1},
    // Without an interpreter facet the nested type is the attribute's own.
    KindCase{"((sub ((sub ((per 1))))))", "((sub ((sub ((n 2))))))",
             "((sub ((sub ((per 1))))))", 1, "((sub ((sub ((per 1) (n 2))))))", 2}));

INSTANTIATE_TEST_SUITE_P(ListAtt, KindTableTest, ::testing::Values(
    KindCase{"((args ((cat n)) ((cat v))))", "((args ((cat n)) ((cat v))))",
             "((args ((cat n)) ((cat v))))", 1, "((args ((cat n)) ((cat v))))", 0},
    KindCase{"((args ((cat n)) ((cat v))))", "((args ((cat n)) ((cat v)) ((cat p))))",
             "((args ((cat n)) ((cat v))))", 0, nullptr, 2},
    KindCase{"((args (+opt) ((cat n))))", "((args (+opt (per 3)) ((cat n))))",
             "((args (+opt) ((cat n))))", 1, "((args (+opt (per 3)) ((cat n))))", -1},
    KindCase{"((args (+opt) ((cat n))))", "((args ((per 3)) ((cat n))))",
             "((args (+opt) ((cat n))))", 1, "((args (+opt (per 3)) ((cat n))))", 2},
    KindCase{"((args (+opt) ((cat n))))", "((args ((per 3)) ((cat v))))",
             "((args (+opt) ((cat n))))", 0, nullptr, 2},
    KindCase{"((args ((cat n) (per 1)) ((cat v))))", "((args ((cat n)) ((cat v))))",
             "((args ((cat n) (per 1)) ((cat v))))", 1, "((args ((cat n) (per 1)) ((cat v))))",
             1},
    KindCase{"((args () ()))", "((args () ()))", "()", 1, "()", 0},
    KindCase{"(~args)", "(~args)", "(~args)", 1, "(~args)", 0},
    KindCase{"(~args)", "((args ((cat n))))", "(~args)", 0, nullptr, 2}));

INSTANTIATE_TEST_SUITE_P(StackAtt, KindTableTest, ::testing::Values(
    KindCase{"((stk ((cat n)) ((cat v))))", "((stk ((cat n)) ((cat v)) ((cat p))))",
             "((stk ((cat n)) ((cat v))))", 1, "((stk ((cat n)) ((cat v)) ((cat p))))", -1},
    KindCase{"((stk ((cat n)) ((cat v)) ((cat p))))", "((stk ((cat n)) ((cat v))))",
             "((stk ((cat n)) ((cat v)) ((cat p))))", 1, "((stk ((cat n)) ((cat v)) ((cat p))))",
             1},
    KindCase{"((stk ((cat n))))", "((stk ((cat v)) ((cat p))))", "((stk ((cat n))))", 0,
             nullptr, 2},
    KindCase{"((stk (+opt)))", "((stk ((per 2)) ((cat p))))", "((stk (+opt)))", 1,
             "((stk (+opt (per 2)) ((cat p))))", 2},
    KindCase{"((stk ((cat n) (per 1)) ((cat v))))", "((stk ((cat n))))",
             "((stk ((cat n) (per 1)) ((cat v))))", 1, "((stk ((cat n) (per 1)) ((cat v))))", 1},
    // A more general prefix but a longer stack: incomparable.
    KindCase{"((stk ((cat n)) ((cat v))))", "((stk ((cat n) (per 1))))",
             "((stk ((cat n)) ((cat v))))", 1, "((stk ((cat n) (per 1)) ((cat v))))", 2}));

// ------------------------------------------------- minus, intersect, modify

struct SetOpCase {
  const char* a;
  const char* b;
  const char* minus;
  const char* intersect;
  const char* modify;
};

void PrintTo(const SetOpCase& c, std::ostream* out) { *out << c.a << " with " << c.b; }

class SetOpTableTest : public AttKindsTest, public ::testing::WithParamInterface<SetOpCase> {};

// Each operation runs on a copy of a that shares its nested values; a must
// stay as it was.
TEST_P(SetOpTableTest, MinusIntersectModifyOnASharingCopy) {
  const SetOpCase& c = GetParam();
  auto a = read(c.a);
  auto b = read(c.b);
  const std::string before = show(*a);
  struct Op {
    const char* expected;
    void (AttVec::*run)(const AttVec&, const LBitSet*);
  };
  for (const Op& op : {Op{c.minus, &AttVec::minus}, Op{c.intersect, &AttVec::intersect},
                       Op{c.modify, &AttVec::modify_with}}) {
    AttVec copy(*a);
    (copy.*op.run)(*b, nullptr);
    EXPECT_EQ(show(copy), op.expected);
    EXPECT_EQ(show(*a), before);
  }
  EXPECT_EQ(err(), "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetOpTableTest, ::testing::Values(
    SetOpCase{"((num sg pl))", "((num sg pl))", "()", "((num sg pl))", "((num sg pl))"},
    SetOpCase{"((num sg pl))", "((num sg))", "((num sg pl))", "()", "((num sg))"},
    SetOpCase{"((agr (+plu (per 3))))", "((agr (+plu)))", "((agr ((per 3))))",
              "((agr (+plu)))", "((agr (+plu (per 3))))"},
    SetOpCase{"((agr (+plu (per 3))))", "((agr (+plu (per 3))))", "()",
              "((agr (+plu (per 3))))", "((agr (+plu (per 3))))"},
    SetOpCase{"((agr (+plu (per 3))))", "((agr (-plu (per 4))))", "((agr (+plu (per 3))))",
              "()", "((agr (-plu (per 4))))"},
    SetOpCase{"((agr (+plu)))", "(~agr)", "((agr (+plu)))", "()", "(~agr)"},
    SetOpCase{"((args (+opt (per 3)) ((cat n))))", "((args (+opt) ((cat n))))",
              "((args ((per 3)) ()))", "((args (+opt) ((cat n))))",
              "((args (+opt (per 3)) ((cat n))))"},
    SetOpCase{"((args ((cat n))))", "((args ((cat n))))", "()", "((args ((cat n))))",
              "((args ((cat n))))"},
    SetOpCase{"((args ((cat n))))", "((args ((cat n)) ((cat v))))", "((args ((cat n))))", "()",
              "((args ((cat n)) ((cat v))))"},
    SetOpCase{"((args ((cat n)) ((cat v))))", "((args ((cat p))))",
              "((args ((cat n)) ((cat v))))", "()", "((args ((cat p)) ((cat v))))"},
    SetOpCase{"((stk ((cat n)) ((cat v)) ((cat p))))", "((stk ((cat n))))",
              "((stk () ((cat v)) ((cat p))))", "((stk ((cat n))))",
              "((stk ((cat n)) ((cat v)) ((cat p))))"},
    SetOpCase{"((stk ((cat n) (per 1))))", "((stk ((cat n) (per 2)) ((cat v))))",
              "((stk ((per 1))))", "((stk ((cat n))))",
              "((stk ((cat n) (per 2)) ((cat v))))"}));

TEST_F(AttKindsTest, StackMinusNeverUndefinesTheStack) {
  auto a = read("((stk ((cat n))))");
  a->minus(*read("((stk ((cat n))))"));
  EXPECT_TRUE(a->defined(index_of("stk")));
  EXPECT_EQ(show(*a), "()");
}

// ------------------------------------------------------------- sharing

TEST_F(AttKindsTest, NestedVectorIsSharedUntilChanged) {
  const int agr = index_of("agr");
  auto a = read("((agr (+plu)))");
  AttVec* nested = reinterpret_cast<AttVec*>(a->get_val(agr));
  AttVec copy(*a);
  EXPECT_EQ(copy.get_val(agr), a->get_val(agr));
  EXPECT_EQ(nested->ref_cnt(), 2);

  // Unifying with the very same value copies nothing.
  EXPECT_EQ(copy.unify(*a, nullptr, 1), 1);
  EXPECT_EQ(copy.get_val(agr), a->get_val(agr));

  EXPECT_EQ(copy.unify(*read("((agr ((per 3))))"), nullptr, 1), 1);
  EXPECT_NE(copy.get_val(agr), a->get_val(agr));
  EXPECT_EQ(nested->ref_cnt(), 1);
  EXPECT_EQ(show(*a), "((agr (+plu)))");
  EXPECT_EQ(show(copy), "((agr (+plu (per 3))))");
}

TEST_F(AttKindsTest, ListCopyOnWriteKeepsUntouchedElementsShared) {
  const int stk = index_of("stk");
  auto a = read("((stk ((cat n)) ((cat v))))");
  AttVec copy(*a);
  EXPECT_EQ(copy.unify(*read("((stk ((cat n) (per 1))))"), nullptr, 1), 1);
  const auto* mine = reinterpret_cast<const AVList*>(copy.get_val(stk));
  const auto* theirs = reinterpret_cast<const AVList*>(a->get_val(stk));
  ASSERT_NE(mine, theirs);
  EXPECT_NE((*mine)[0], (*theirs)[0]);
  EXPECT_EQ((*mine)[1], (*theirs)[1]);
  EXPECT_EQ((*theirs)[1]->ref_cnt(), 2);
  EXPECT_EQ(show(*a), "((stk ((cat n)) ((cat v))))");
  EXPECT_EQ(show(copy), "((stk ((cat n) (per 1)) ((cat v))))");
}

TEST_F(AttKindsTest, StackExtensionSharesTheAppendedElements) {
  const int stk = index_of("stk");
  auto a = read("((stk ((cat n))))");
  auto b = read("((stk ((cat n)) ((cat v))))");
  EXPECT_EQ(a->unify(*b, nullptr, 1), 1);
  const auto* mine = reinterpret_cast<const AVList*>(a->get_val(stk));
  const auto* theirs = reinterpret_cast<const AVList*>(b->get_val(stk));
  ASSERT_EQ(mine->length(), 2);
  EXPECT_EQ((*mine)[1], (*theirs)[1]);
  b.reset();
  EXPECT_EQ(show(*a), "((stk ((cat n)) ((cat v))))");
}

TEST_F(AttKindsTest, AVListHoldsItsElements) {
  const AttInterpreterList* argt = AttInterpreterList::get_att_list("argt");
  AVList list;
  auto* kept = new AttVec(argt);
  list.push(kept);
  list.push(nullptr);
  list.push(new AttVec(argt));
  EXPECT_EQ(list.length(), 2);
  kept->inc_ref_cnt();  // a second holder
  {
    AVList copy(list);
    EXPECT_EQ(copy.ref_cnt(), 0);
    EXPECT_EQ(copy[0], kept);
    EXPECT_EQ(kept->ref_cnt(), 3);
  }
  EXPECT_EQ(kept->ref_cnt(), 2);
  list.del(5);  // out of range: nothing
  list.del(0);  // shared: only the list's hold goes
  EXPECT_EQ(kept->ref_cnt(), 1);
  list.insert(0, kept);
  AttVec* taken = list.take(0);
  EXPECT_EQ(taken, kept);
  EXPECT_EQ(kept->ref_cnt(), 2);
  kept->dec_ref_cnt();
  delete kept;
  list.del(0);  // the unshared element is deleted
  EXPECT_TRUE(list.empty());
}

TEST_F(AttKindsTest, UnifyingWordAndByteKindsAllocatesNothing) {
  auto a = read("((num sg pl) (case nom acc) (form fin) (per 3) (n 5) (lex Delta))");
  auto b = read("((num pl du) (case acc gen) (form fin) (per 3) (n 7) (lex DELTA))");
  AttVec empty(kinds_);
  b->set_val(index_of("ent"), 0x10);
  alloc_count::count = 0;
  alloc_count::on = true;
  const int unifiable = a->unifiable(*b);
  const int unified = a->unify(*b, nullptr, 1);
  const int filled = empty.unify(*b, nullptr, 1);
  alloc_count::on = false;
  EXPECT_EQ(unifiable, 1);
  EXPECT_EQ(unified, 1);
  EXPECT_EQ(filled, 1);
  EXPECT_EQ(alloc_count::count, 0);
  EXPECT_EQ(show(*a),
            "((num pl) (case acc) (form fin) (per 3) (n 5) (lex \"Delta\") (ent 0x10))");
}

// ------------------------------------------------------------ bad input

struct BadValueCase {
  const char* text;
  const char* message;
  const char* shown;
};

void PrintTo(const BadValueCase& c, std::ostream* out) { *out << c.text; }

class BadValueTest : public AttKindsTest, public ::testing::WithParamInterface<BadValueCase> {};

TEST_P(BadValueTest, ReportsAndReadsOn) {
  const BadValueCase& c = GetParam();
  auto v = read(c.text);
  EXPECT_EQ(err(), c.message);
  EXPECT_EQ(show(*v), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadValueTest, ::testing::Values(
    BadValueCase{"((num sg foo))", "DisjAtt::get_val: Unknown attribute value foo\n",
                 "((num sg))"},
    BadValueCase{"((case foo))", "Disj8Att::get_val: Unknown attribute value foo\n",
                 "(~case)"},
    BadValueCase{"((case ~x acc))", "", "(~case)"},
    BadValueCase{"((form foo))", "EnumAtt::get_val: foo is not an allowable value of form\n",
                 "(~form)"},
    BadValueCase{"((form ~none))", "", "(~form)"},
    BadValueCase{"((per abc))", "", "((per 0))"},
    BadValueCase{"((n x))", "", "((n 0))"},
    BadValueCase{"((ent 5))", "AttInterpreter ent doesn't know how to make value: 5\n",
                 "((ent 0x0))"},
    BadValueCase{"((trace x))", "TraceAtt::make_val(IRSlist*) fails with argument: x\n",
                 "(~trace)"},
    BadValueCase{"((agr (+plu (foo 1))))", "Unknown attribute foo\n", "((agr (+plu)))"}));

struct BadDeclarationCase {
  std::string attribute;  // a defattribute command
  const char* message;
  const char* value;  // read after the declaration
  const char* shown;
};

void PrintTo(const BadDeclarationCase& c, std::ostream* out) {
  *out << c.attribute.substr(0, 40);
}

class BadDeclarationTest : public AttKindsTest,
                           public ::testing::WithParamInterface<BadDeclarationCase> {};

// Each run declares the attribute in a type of its own.
TEST_P(BadDeclarationTest, ReportsAndDefinesAllTheSame) {
  const BadDeclarationCase& c = GetParam();
  static int runs = 0;
  const std::string type_name = "bad" + std::to_string(++runs);
  AttInterpreterList* saved = AttVec::the_itp_list;
  CmdInterpreter::the_interpreter->interpret(
      ("(def-att-list " + type_name + " " + c.attribute + ")").c_str());
  AttVec::the_itp_list = saved;
  EXPECT_EQ(err(), c.message);
  const AttInterpreterList* type = AttInterpreterList::get_att_list(type_name.c_str());
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(show(*read(c.value, type)), c.shown);
  EXPECT_EQ(err(), "");
}

std::string with_values(const char* attribute, const char* prefix, int n) {
  std::string s = std::string("(defattribute ") + attribute + " (allowable-values";
  for (int k = 1; k <= n; ++k) s += " " + std::string(prefix) + std::to_string(k);
  return s + "))";
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadDeclarationTest, ::testing::Values(
    BadDeclarationCase{with_values("a DisjAtt", "v", 33),
                       "The attribute a can only have up to 32 values, 33 found.\n",
                       "((a v1 v32 v33))", "((a v1 v32))"},
    BadDeclarationCase{with_values("b Disj8Att", "w", 9),
                       "The attribute b can only have up to 8 values, 9 found.\n", "((b w8 w9))",
                       "((b w8))"},
    BadDeclarationCase{with_values("c EnumAtt", "x", 256),
                       "The attribute c can only have up to 255 values, 256 found.\n",
                       "((c x256))", "(~c)"},
    BadDeclarationCase{with_values("d EnumAtt", "x", 255), "", "((d x255))", "((d x255))"},
    BadDeclarationCase{"(defattribute e EntAtt (colour red) (default ~no))",
                       "EntAtt::EntAtt unknown facet (colour red)\n", "(~e)", "((e 0x0))"}));

// -------------------------------------------------------- binary forms

struct PackCase {
  const char* text;
  std::string bytes;
};

void PrintTo(const PackCase& c, std::ostream* out) { *out << c.text; }

class PackTest : public AttKindsTest, public ::testing::WithParamInterface<PackCase> {};

// The exact form, then every strict prefix of it: each must be reported as
// bad without reading past its end.
TEST_P(PackTest, ExactFormAndTruncations) {
  const PackCase& c = GetParam();
  auto v = read(c.text);
  ASSERT_EQ(packed(*v), c.bytes);
  for (std::size_t n = 0; n < c.bytes.size(); ++n) {
    SCOPED_TRACE(n);
    const std::string prefix = c.bytes.substr(0, n);
    bool ok = true;
    auto back = unpacked(prefix, ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(err(), "");
  }
}

std::string bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s += static_cast<char>(b);
  return s;
}

INSTANTIATE_TEST_SUITE_P(Kinds, PackTest, ::testing::Values(
    PackCase{"((num pl))", bytes({kNum, 0, 0, 0, 2, kEnd})},
    PackCase{"((case acc gen))", bytes({kCase, 6, kEnd})},
    PackCase{"((form part))", bytes({kForm, 3, kEnd})},
    PackCase{"((per -2))", bytes({kPer, 0xff, 0xff, 0xff, 0xfe, kEnd})},
    PackCase{"((n 7))", bytes({kN, 7, kEnd})},
    PackCase{"((lex ab))", bytes({kLex, 'a', 'b', 0, kEnd})},
    PackCase{"((agr (+plu (per 3))))", bytes({kAgr, 0, 1, 0, 0, 0, 3, 4, kEnd})},
    PackCase{"(~agr)", bytes({~kAgr, kEnd})},
    PackCase{"((args ((cat n)) ((cat v))))",
             bytes({kArgs, 0, 2, 0, 1, 4, 0, 2, 4, kEnd})}));

struct CorruptCase {
  std::string bytes;
  const char* message;
};

void PrintTo(const CorruptCase& c, std::ostream* out) { *out << c.message; }

class CorruptFormTest : public AttKindsTest, public ::testing::WithParamInterface<CorruptCase> {};

TEST_P(CorruptFormTest, ValueOutsideTheDefinitionIsRefused) {
  const CorruptCase& c = GetParam();
  bool ok = true;
  auto v = unpacked(c.bytes, ok);
  EXPECT_FALSE(ok);
  EXPECT_NE(err().find(c.message), std::string::npos);
  std::ostringstream out;
  v->print(out);  // whatever was stored is printable
}

INSTANTIATE_TEST_SUITE_P(Kinds, CorruptFormTest, ::testing::Values(
    CorruptCase{bytes({kNum, 0, 0, 0, 0x08, kEnd}),
                "DisjAtt::unpack: the mask 8 names values that num does not have\n"},
    CorruptCase{bytes({kCase, 0x10, kEnd}),
                "Disj8Att::unpack: the mask 16 names values that case does not have\n"},
    CorruptCase{bytes({kForm, 4, kEnd}), "EnumAtt::unpack: 4 is not a value position of form\n"},
    CorruptCase{bytes({kArgs, 0, 1, 0, 9, 4, kEnd}),
                "EnumAtt::unpack: 9 is not a value position of cat\n"},
    CorruptCase{bytes({kLex, 'a', 'b'}), "truncated"}));

TEST_F(AttKindsTest, EntityAndTraceValuesAreNotSerialised) {
  AttVec v(kinds_);
  v.set_val(index_of("ent"), 0x1234);
  auto* trace = new TraceVal;
  v.set_val(index_of("trace"), reinterpret_cast<AttVal>(trace));
  EXPECT_EQ(packed(v), bytes({kEnt, kTrace, kEnd}));
  bool ok = false;
  auto back = unpacked(packed(v), ok);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(back->defined(index_of("ent")));
  EXPECT_EQ(back->get_val(index_of("ent")), 0u);
  EXPECT_EQ(show(*back), "((ent 0x0) ~trace)");
}

// ----------------------------------------------------------- nesting depth

std::string nested_text(int depth) {
  std::string s = "((per 1))";
  for (int k = 0; k < depth; ++k) s = "((sub " + s + "))";
  return s;
}

TEST_F(AttKindsTest, DeepNestingWithinTheLimitRoundTrips) {
  auto v = read(nested_text(200));
  ASSERT_EQ(err(), "");
  bool ok = false;
  auto back = unpacked(packed(*v), ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(back->cmp(*v), 0);
}

TEST_F(AttKindsTest, NestingBeyondTheLimitIsRefusedInTextAndBinaryForms) {
  auto v = read(nested_text(300));
  EXPECT_NE(err().find("sub: values nested more than 256 levels deep are not read\n"),
            std::string::npos);

  std::string deep(300, kSub);
  deep += std::string(301, kEnd);
  bool ok = true;
  auto back = unpacked(deep, ok);
  EXPECT_FALSE(ok);
  EXPECT_NE(err().find("values nested more than 256 levels deep"), std::string::npos);
}

// ---------------------------------------------------------------- EntAtt

AttVal unify_common_bits(AttVal stored, AttVal x) { return stored & x; }
void print_entity(AttVal x, std::ostream& out) { out << "entity-" << x; }

TEST_F(AttKindsTest, EntityFunctionsDecideUnificationAndText) {
  const int i = index_of("ent");
  auto* ent = static_cast<EntAtt*>(kinds_->interpreter(i));
  EXPECT_EQ(ent->unify_function(), nullptr);
  AttVec v(kinds_);
  AttVec w(kinds_);
  v.set_val(i, 0x6);
  w.set_val(i, 0x3);
  EXPECT_EQ(v.unifiable(w), 0);  // words differ
  EXPECT_EQ(v.str_val(i), std::string("0x6"));

  ent->unify_function(unify_common_bits);
  ent->print_function(print_entity);
  std::unique_ptr<AttInterpreter> clone(ent->new_interp());
  EXPECT_EQ(static_cast<EntAtt*>(clone.get())->unify_function(), unify_common_bits);

  EXPECT_EQ(v.unifiable(w), 1);
  EXPECT_EQ(v.get_val(i), 0x6u);
  EXPECT_EQ(v.unify(w, nullptr, 1), 1);
  EXPECT_EQ(v.get_val(i), 0x2u);
  w.set_val(i, 0x1);
  EXPECT_EQ(v.unify(w, nullptr, 1), 0);
  EXPECT_EQ(show(v), "((ent entity-2))");

  ent->unify_function(nullptr);
  ent->print_function(nullptr);
}

// -------------------------------------------------------------- TraceAtt

// Stand-ins for parse items; only their addresses are used.
PItem* item(int k) {
  static char items[4];
  return reinterpret_cast<PItem*>(&items[k]);
}

void print_item(std::ostream& out, const PItem* p) {
  if (p == item(0)) out << " dog n";
}

TEST_F(AttKindsTest, TracePrinting) {
  const int i = index_of("trace");
  AttVec v(kinds_);
  v.set_val(i, 0);
  EXPECT_EQ(show(v), "(~trace)");
  v.set_val(i, reinterpret_cast<AttVal>(new TraceVal));
  EXPECT_EQ(show(v), "()");
  auto* t = new TraceVal;
  t->push({nullptr, item(1)});
  t->push({"subj", item(0)});
  v.set_val(i, reinterpret_cast<AttVal>(t));
  EXPECT_EQ(show(v), "((trace (subj) (unknown)))");
  TraceAtt::set_item_printer(print_item);
  EXPECT_EQ(show(v), "((trace (subj dog n) (unknown)))");
  TraceAtt::set_item_printer(nullptr);
}

TEST_F(AttKindsTest, TraceUnificationIsAUnionOnAPrivateList) {
  const int i = index_of("trace");
  const char* subj = "subj";
  const char* obj = "obj";
  auto* mine = new TraceVal;
  mine->push({subj, item(0)});
  auto* theirs = new TraceVal;
  theirs->push({subj, item(0)});
  theirs->push({obj, item(1)});
  AttVec v(kinds_);
  AttVec w(kinds_);
  v.set_val(i, reinterpret_cast<AttVal>(mine));
  w.set_val(i, reinterpret_cast<AttVal>(theirs));
  AttVec holder(v);  // shares `mine`

  EXPECT_EQ(v.unifiable(w), 1);
  EXPECT_EQ(v.cmp(w), 2);
  EXPECT_EQ(v.cmp(holder), 0);
  EXPECT_EQ(v.unify(w, nullptr, 1), 1);
  EXPECT_EQ(show(v), "((trace (obj) (subj)))");
  EXPECT_EQ(show(holder), "((trace (subj)))");
  EXPECT_EQ(mine->ref_cnt(), 1);

  AttVec none(kinds_);
  AttVec other_none(kinds_);
  none.set_val(i, 0);
  other_none.set_val(i, 0);
  EXPECT_EQ(v.unifiable(none), 0);
  EXPECT_EQ(none.unifiable(v), 0);
  EXPECT_EQ(none.unifiable(other_none), 1);
}

}  // namespace
}  // namespace lorvan
