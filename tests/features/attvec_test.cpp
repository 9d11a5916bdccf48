// Attribute-value vectors: reading, printing, unification, comparison,
// restriction, copies and the binary form.  The tests use BinAtt and three
// small test kinds, so that they check the vector machinery on its own:
//   NumAtt   word storage, a number, compared in unsigned order;
//   ByteAtt  byte storage, the base rules;
//   BoxAtt   word storage holding a counted object, to check that vectors
//            take and release holds exactly (Box::live counts them).
#include "features/attvec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/binatt.h"
#include "features/features_commands.h"
#include "strbufs.h"

namespace lorvan {
namespace {

using ::testing::HasSubstr;

AttVal number_of(IRSlist* s) {
  const char* text = AttInterpreter::get_att_val(s);
  return text != nullptr ? std::strtoul(text, nullptr, 10) : 0;
}

class NumAtt : public LongVAtt {
 public:
  const char* type_name() const override { return "NumAtt"; }
  AttInterpreter* new_interp() const override { return new NumAtt; }
  AttVal make_val(IRSlist* s) override { return number_of(s); }
  const char* str_val(AttVal x) override { return (text_ = std::to_string(x)).c_str(); }
  int cmp_vals(AttVal a, AttVal b) const override { return a < b ? -1 : (a > b ? 1 : 0); }

 private:
  std::string text_;
};

class ByteAtt : public CharAtt {
 public:
  const char* type_name() const override { return "ByteAtt"; }
  AttInterpreter* new_interp() const override { return new ByteAtt; }
  AttVal make_val(IRSlist* s) override { return number_of(s); }
  const char* str_val(AttVal x) override { return (text_ = std::to_string(x)).c_str(); }

 private:
  std::string text_;
};

struct Box {
  explicit Box(AttVal v) : value(v) { ++live; }
  ~Box() { --live; }
  AttVal value;
  int holds = 0;
  static inline int live = 0;
};

class BoxAtt : public LongVAtt {
 public:
  const char* type_name() const override { return "BoxAtt"; }
  AttInterpreter* new_interp() const override { return new BoxAtt; }
  bool releases_values() const override { return true; }
  void set_val(AttVec* v, AttVal x) override {
    if (x == att_val(v)) return;
    if (x != 0) ++box(x)->holds;
    release(att_val(v));
    LongVAtt::set_val(v, x);
  }
  void del_val(AttVec* v) override {
    release(att_val(v));
    LongVAtt::set_val(v, 0);
  }
  void discard_val(AttVal x) override {
    if (x != 0 && box(x)->holds == 0) delete box(x);
  }
  AttVal make_val(IRSlist* s) override { return reinterpret_cast<AttVal>(new Box(number_of(s))); }
  const char* str_val(AttVal x) override {
    return (text_ = x != 0 ? "box" + std::to_string(box(x)->value) : "~").c_str();
  }
  void pack(const AttVec* v, StrBufs& out) const override {
    out.push_int(static_cast<int>(box(att_val(v))->value));
  }
  void unpack(AttVec* v, ByteReader& in) override {
    const unsigned n = in.get_unsigned_int();
    if (in.ok()) v->set_val(index(), reinterpret_cast<AttVal>(new Box(n)));
  }

 private:
  static Box* box(AttVal x) { return reinterpret_cast<Box*>(x); }
  static void release(AttVal x) {
    if (x != 0 && --box(x)->holds == 0) delete box(x);
  }
  std::string text_;
};

// Indexes of the test type "avt".
enum { kPlu, kN, kDef, kB, kBox, kM, kAttributes };

class AttVecTest : public ::testing::Test {
 protected:
  // Once for all suites: the parameterised suites derive from this one.
  static void SetUpTestSuite() {
    if (type_ != nullptr) return;
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    attvec_init();
    static const NumAtt num;
    static const ByteAtt byte;
    static const BoxAtt box;
    AttInterpreter::attitp_proto(&num);
    AttInterpreter::attitp_proto(&byte);
    AttInterpreter::attitp_proto(&box);
    run("(def-att-list avt (defattribute plu BinAtt) (defattribute n NumAtt)"
        " (defattribute def BinAtt) (defattribute b ByteAtt) (defattribute box BoxAtt)"
        " (defattribute m NumAtt))");
    type_ = AttInterpreterList::get_att_list("avt");
  }

  AttVecTest() : saved_err_(std::cerr.rdbuf(err_.rdbuf())) { AttVec::the_itp_list = type_; }
  ~AttVecTest() override {
    std::cerr.rdbuf(saved_err_);
    EXPECT_EQ(Box::live, 0) << "a vector kept or lost a hold";
  }

  static void run(const char* commands) { CmdInterpreter::the_interpreter->interpret(commands); }

  // A vector of `type` read from its text form.
  static std::unique_ptr<AttVec> av(const char* text, const AttInterpreterList* type = type_) {
    auto tokenizer = make_command_tokenizer();
    std::unique_ptr<IRSlist> node = make_irslist(text, tokenizer.get());
    return std::make_unique<AttVec>(node.get(), type);
  }
  static std::string show(const AttVec& v, const LBitSet* mask = nullptr) {
    std::ostringstream out;
    v.print(out, mask, 0);
    return out.str();
  }
  static LBitSet set_of(std::initializer_list<int> members) {
    LBitSet s(kAttributes);
    for (int i : members) s.set(i);
    return s;
  }
  std::string err() {
    std::string text = err_.str();
    err_.str("");
    return text;
  }

  static inline AttInterpreterList* type_ = nullptr;

 private:
  std::ostringstream err_;
  std::streambuf* saved_err_;
};

// ---------------------------------------------------------------- layout

TEST_F(AttVecTest, EachStorageClassNumbersItsAttributesInDefinitionOrder) {
  ASSERT_NE(type_, nullptr);
  EXPECT_EQ(type_->num_attributes(), kAttributes);
  EXPECT_EQ(type_->binary_count(), 2);
  EXPECT_EQ(type_->word_count(), 3);
  EXPECT_EQ(type_->byte_count(), 1);
  // Binary attributes sit at their index, the others count per class.
  const int expected[kAttributes] = {kPlu, 0, kDef, 0, 1, 2};
  for (int i = 0; i < kAttributes; ++i) {
    EXPECT_EQ(type_->interpreter(i)->index(), i);
    EXPECT_EQ(type_->interpreter(i)->storage_position(), expected[i]) << type_->att_name(i);
    EXPECT_EQ(type_->interpreter(i)->owner(), type_);
  }
  EXPECT_TRUE(type_->binary_mask().test(kPlu));
  EXPECT_TRUE(type_->binary_mask().test(kDef));
  EXPECT_EQ(type_->binary_mask().count(), 2);
  EXPECT_EQ(type_->release_mask().singleton(), kBox);
}

TEST_F(AttVecTest, VectorMadeBeforeItsTypeGrewKeepsItsValuesAndTakesTheNewOnes) {
  run("(def-att-list grow (defattribute w NumAtt) (defattribute c ByteAtt))");
  AttInterpreterList* grow = AttInterpreterList::get_att_list("grow");
  auto v = av("((w 7) (c 9))", grow);
  run("(def-att-list grow (defattribute w2 NumAtt) (defattribute c2 ByteAtt))");
  ASSERT_EQ(grow->num_attributes(), 4);
  v->set_val(2, 11);
  v->set_val(3, 12);
  EXPECT_EQ(show(*v), "((w 7) (c 9) (w2 11) (c2 12))");
  EXPECT_EQ(err(), "");
}

// ---------------------------------------------------------------- text form

struct ReadCase {
  const char* text;
  const char* printed;
  const char* message;  // substring of what is printed on std::cerr; "" none
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.text; }

class AttVecReadTest : public AttVecTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(AttVecReadTest, ReadsAndPrints) {
  const ReadCase& c = GetParam();
  auto v = av(c.text);
  EXPECT_EQ(show(*v), c.printed);
  const std::string messages = err();
  if (c.message[0] == '\0') {
    EXPECT_EQ(messages, "");
  } else {
    EXPECT_THAT(messages, HasSubstr(c.message));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AttVecReadTest,
    ::testing::Values(
        ReadCase{"()", "()", ""},
        ReadCase{"(+plu (n 3) -def (b 7))", "(+plu (n 3) -def (b 7))", ""},
        ReadCase{"((b 7) (n 3) +plu)", "(+plu (n 3) (b 7))", ""},
        ReadCase{"((plu +) (def -))", "(+plu -def)", ""},
        // A repeated attribute is merged; a conflict keeps the first value.
        ReadCase{"(+plu -plu (n 3) (n 4) (n 3))", "(+plu (n 3))", ""},
        ReadCase{"((box 1) (box 2) (m 5))", "((box box1) (m 5))", ""},
        // One leading sign is ignored when looking the name up.
        ReadCase{"(~n)", "((n 0))", ""},
        ReadCase{"(+plu bogus -def)", "(+plu -def)", "Unknown attribute bogus\n"},
        ReadCase{"((plu x))", "(-plu)",
                 "BinAtt::get_val x is not a valid value for binary attribute\n"},
        // A nameless element ends the reading.
        ReadCase{"(+plu () -def)", "(+plu)", "() is used as attribute name.\n"},
        ReadCase{"(+plu ((n 3)) -def)", "(+plu)", "() is used as attribute name.\n"}));

TEST_F(AttVecTest, PrintsTheAttributesOfAMaskAndAnUntypedVector) {
  auto v = av("(+plu (n 3) -def (b 7))");
  const LBitSet mask = set_of({kN, kB, kBox});
  EXPECT_EQ(show(*v, &mask), "((n 3) (b 7))");
  const LBitSet none;
  EXPECT_EQ(show(*v, &none), "()");
  AttVec untyped;
  EXPECT_EQ(show(untyped), "()");
  std::ostringstream out;
  untyped.print(out, nullptr, 1);
  EXPECT_EQ(out.str(), "()");
}

TEST_F(AttVecTest, NilTypeIsReportedAndLeavesTheVectorUntyped) {
  auto v = av("(+plu)", nullptr);
  EXPECT_EQ(err(), "Creating AttVec with nil Interpreter\n");
  EXPECT_EQ(v->interpreter_list(), nullptr);
  EXPECT_EQ(v->num_attributes(), 0);
  EXPECT_EQ(v->att_name(0), nullptr);
}

// ---------------------------------------------------------------- unification

struct UnifyCase {
  const char* v;
  const char* w;
  std::vector<int> mask;  // empty: no mask
  int result;
  const char* after;  // v after unify with doit
};

void PrintTo(const UnifyCase& c, std::ostream* os) { *os << c.v << " with " << c.w; }

class AttVecUnifyTest : public AttVecTest, public ::testing::WithParamInterface<UnifyCase> {};

TEST_P(AttVecUnifyTest, UnifiesAndTestsUnifiability) {
  const UnifyCase& c = GetParam();
  auto v = av(c.v);
  auto w = av(c.w);
  LBitSet given;
  for (int i : c.mask) given.set(i);
  const LBitSet* m = c.mask.empty() ? nullptr : &given;
  EXPECT_EQ(v->unifiable(*w, m), c.result);
  EXPECT_EQ(show(*v), show(*av(c.v))) << "unifiable changed the vector";
  EXPECT_EQ(v->unify(*w, m, 1), c.result);
  EXPECT_EQ(show(*v), c.after);
  EXPECT_EQ(show(*w), show(*av(c.w))) << "unify changed its argument";
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AttVecUnifyTest,
    ::testing::Values(
        UnifyCase{"()", "(+plu (n 3))", {}, 1, "(+plu (n 3))"},
        UnifyCase{"(+plu)", "(-plu)", {}, 0, "(+plu)"},
        UnifyCase{"(+plu (n 3))", "(+plu (n 3) -def (b 2))", {}, 1, "(+plu (n 3) -def (b 2))"},
        UnifyCase{"((n 3) (m 1))", "((m 1) (box 4))", {}, 1, "((n 3) (box box4) (m 1))"},
        UnifyCase{"((n 3))", "((n 4))", {}, 0, "((n 3))"},
        // A failure keeps what was done for the attributes before it.
        UnifyCase{"((n 3))", "(+plu (n 4) -def (b 5))", {}, 0, "(+plu (n 3))"},
        UnifyCase{"(-def)", "(+plu (n 4) +def (b 5))", {}, 0, "(+plu (n 4) -def)"},
        UnifyCase{"((b 1))", "(+plu (n 4) +def (b 5) (m 6))", {}, 0, "(+plu (n 4) +def (b 1))"},
        // A mask restricts the attributes taken from w.
        UnifyCase{"(+plu)", "(-plu (n 3) (b 2))", {kN}, 1, "(+plu (n 3))"},
        UnifyCase{"(+plu)", "(-plu (n 3))", {kPlu, kN}, 0, "(+plu)"}));

TEST_F(AttVecTest, UnifyingAVectorWithItselfChangesNothing) {
  auto v = av("(+plu (n 3) (box 2))");
  EXPECT_EQ(v->unify(*v, nullptr, 1), 1);
  EXPECT_EQ(show(*v), "(+plu (n 3) (box box2))");
  EXPECT_EQ(AttVec::unifiable(*v, *v), 1);
}

// The word-at-a-time unification must do exactly what a walk over the
// attributes one by one does, failures included, across several words of
// attributes.  Random vectors over a type of 70 attributes (binary and
// number kinds interleaved) are unified both ways and compared.
TEST_F(AttVecTest, UnificationMatchesTheAttributeByAttributeWalk) {
  std::string defs = "(def-att-list wide70";
  for (int i = 0; i < 70; ++i) {
    defs += " (defattribute a" + std::to_string(i) + (i % 3 == 1 ? " NumAtt)" : " BinAtt)");
  }
  run((defs + ")").c_str());
  const AttInterpreterList* wide = AttInterpreterList::get_att_list("wide70");
  ASSERT_EQ(wide->num_attributes(), 70);
  std::mt19937 rng(7);
  auto random_vector = [&](int density) {
    auto v = std::make_unique<AttVec>(wide);
    for (int i = 0; i < 70; ++i) {
      if (static_cast<int>(rng() % 100) < density) v->set_val(i, 1 + rng() % 2 - (i % 3 == 1 ? 0 : 1));
    }
    return v;
  };
  auto reference = [&](AttVec& v, const AttVec& w, const LBitSet* mask) {
    for (int i = 0; i < 70; ++i) {
      if (!w.defined(i) || (mask != nullptr && !mask->test(i))) continue;
      if (v.interpreter(i)->unify_val(&v, i, w.get_val(i), 1) == 0) return 0;
    }
    return 1;
  };
  int failures = 0;
  for (int round = 0; round < 400; ++round) {
    auto v = random_vector(round % 40);
    auto w = random_vector(10 + round % 50);
    LBitSet mask;
    for (int i = 0; i < 70; ++i) {
      if (rng() % 4 != 0) mask.set(i);
    }
    const LBitSet* m = round % 2 == 0 ? nullptr : &mask;
    AttVec expected(*v);
    const int expected_result = reference(expected, *w, m);
    failures += 1 - expected_result;
    EXPECT_EQ(v->unifiable(*w, m), expected_result) << "round " << round;
    EXPECT_EQ(v->unify(*w, m, 1), expected_result) << "round " << round;
    EXPECT_EQ(show(*v), show(expected)) << "round " << round;
  }
  EXPECT_GT(failures, 50);  // both outcomes were exercised
  EXPECT_LT(failures, 350);
}

// ---------------------------------------------------------------- comparison

struct CmpCase {
  const char* v;
  const char* w;
  std::vector<int> mask;
  int expected;
};

void PrintTo(const CmpCase& c, std::ostream* os) { *os << c.v << " against " << c.w; }

class AttVecCmpTest : public AttVecTest, public ::testing::WithParamInterface<CmpCase> {};

TEST_P(AttVecCmpTest, ComparesBySubsumption) {
  const CmpCase& c = GetParam();
  auto v = av(c.v);
  auto w = av(c.w);
  LBitSet given;
  for (int i : c.mask) given.set(i);
  const LBitSet* m = c.mask.empty() ? nullptr : &given;
  EXPECT_EQ(v->cmp(*w, m), c.expected);
  // The reverse comparison mirrors it.
  const int mirrored = c.expected == 2 ? 2 : -c.expected;
  EXPECT_EQ(w->cmp(*v, m), mirrored);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AttVecCmpTest,
    ::testing::Values(CmpCase{"(+plu (n 3))", "((n 3) +plu)", {}, 0},
                      CmpCase{"(+plu)", "(+plu (n 3))", {}, -1},
                      CmpCase{"(+plu)", "(-plu)", {}, 2},
                      CmpCase{"(+plu)", "((n 3))", {}, 2},
                      CmpCase{"()", "(-def)", {}, -1},
                      // Number values are ordered; the order joins the set order.
                      CmpCase{"((n 3))", "((n 5))", {}, -1},
                      CmpCase{"((n 5) +plu)", "((n 3))", {}, 1},
                      CmpCase{"((n 3) +plu)", "((n 5))", {}, 2},
                      CmpCase{"((n 3) (m 9))", "((n 5) (m 1))", {}, 2},
                      CmpCase{"((n 3) (m 1))", "((n 5) (m 1))", {}, -1},
                      // Other kinds: any difference is incomparable.
                      CmpCase{"((b 1))", "((b 2))", {}, 2},
                      // A mask restricts both sides.
                      CmpCase{"(+plu (n 3))", "(-plu (n 3))", {kN}, 0},
                      CmpCase{"(+plu (n 3) -def)", "(-plu (n 3))", {kN, kDef}, 1}));

TEST_F(AttVecTest, ComparisonOperatorsFollowCmp) {
  auto general = av("(+plu)");
  auto specific = av("(+plu (n 3))");
  auto other = av("(-plu)");
  EXPECT_TRUE(*general == *av("(+plu)"));
  EXPECT_TRUE(*general != *specific);
  EXPECT_TRUE(*general <= *specific);
  EXPECT_FALSE(*general >= *specific);
  EXPECT_TRUE(*specific >= *general);
  EXPECT_FALSE(*other <= *general);
  EXPECT_FALSE(*other >= *general);
}

// ------------------------------------------------- minus, intersect, modify

struct EditCase {
  const char* op;
  const char* v;
  const char* w;
  std::vector<int> mask;
  const char* after;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.v << ' ' << c.op << ' ' << c.w; }

class AttVecEditTest : public AttVecTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(AttVecEditTest, EditsWithAnotherVector) {
  const EditCase& c = GetParam();
  auto v = av(c.v);
  auto w = av(c.w);
  LBitSet given;
  for (int i : c.mask) given.set(i);
  const LBitSet* m = c.mask.empty() ? nullptr : &given;
  const std::string op = c.op;
  if (op == "minus") v->minus(*w, m);
  if (op == "intersect") v->intersect(*w, m);
  if (op == "modify") v->modify_with(*w, m);
  if (op == "complement") v->complement_with(*w, m);
  EXPECT_EQ(show(*v), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Ops, AttVecEditTest,
    ::testing::Values(
        EditCase{"minus", "(+plu (n 3) -def (b 1))", "(+plu (n 4) -def)", {}, "((n 3) (b 1))"},
        EditCase{"minus", "(+plu (n 3))", "(+plu (n 3))", {kN}, "(+plu)"},
        EditCase{"intersect", "(+plu (n 3) -def)", "(+plu (n 4) (b 1))", {}, "(+plu)"},
        EditCase{"intersect", "(+plu (n 3) -def)", "(+plu (n 3) -def)", {kPlu}, "(+plu)"},
        EditCase{"modify", "(+plu (n 3) (box 1))", "(-plu (n 4) (box 2))", {}, "(-plu (n 4) (box box2))"},
        EditCase{"modify", "(+plu (n 3))", "(-plu (n 4))", {kN}, "(+plu (n 4))"},
        EditCase{"complement", "(+plu (n 3))", "(-plu (n 4) -def (m 2))", {}, "(+plu (n 3) -def (m 2))"},
        EditCase{"complement", "(+plu)", "(-def (m 2))", {kM}, "(+plu (m 2))"}));

// ---------------------------------------------------------------- values

TEST_F(AttVecTest, ValuesAreSetReadAndUndefinedByIndex) {
  AttVec v(type_);
  EXPECT_EQ(v.get_val(kN), 0u);
  EXPECT_EQ(v.str_val(kN), nullptr);
  v.set_val(kN, 42);
  v.set_val(kB, 300);  // a byte keeps the low 8 bits
  v.set_val(kDef, 1);
  EXPECT_EQ(v.get_val(kN), 42u);
  EXPECT_EQ(v.get_val(kB), 300u & 0xff);
  EXPECT_STREQ(v.str_val(kDef), "+");
  EXPECT_EQ(show(v), "((n 42) +def (b 44))");
  v.undefine(kN);
  v.undefine(kPlu);  // not defined: nothing
  EXPECT_EQ(show(v), "(+def (b 44))");
  v.init();
  EXPECT_EQ(show(v), "()");
  EXPECT_EQ(v.interpreter_list(), type_);
}

TEST_F(AttVecTest, HoldsOnSharedValuesAreTakenAndReleasedExactly) {
  auto v = av("((box 1) (n 2))");
  AttVal box = v->get_val(kBox);
  ASSERT_EQ(Box::live, 1);
  {
    AttVec copy(*v);  // shares the box
    EXPECT_EQ(copy.get_val(kBox), box);
    EXPECT_EQ(reinterpret_cast<Box*>(box)->holds, 2);
    copy.undefine(kBox);
    EXPECT_EQ(reinterpret_cast<Box*>(box)->holds, 1);
    copy = *v;
    EXPECT_EQ(reinterpret_cast<Box*>(box)->holds, 2);
  }
  EXPECT_EQ(reinterpret_cast<Box*>(box)->holds, 1);
  v->init();
  EXPECT_EQ(Box::live, 0);
  v->set_val(kBox, reinterpret_cast<AttVal>(new Box(5)));
  v->interpreter_list(type_);  // a new layout releases the old values
  EXPECT_EQ(Box::live, 0);
}

// ---------------------------------------------------------------- copies

TEST_F(AttVecTest, CopiesRestrictToAMaskAndTakeTheOtherType) {
  auto v = av("(+plu (n 3) -def (b 7))");
  const LBitSet mask = set_of({kPlu, kB});
  AttVec part(*v, &mask);
  EXPECT_EQ(show(part), "(+plu (b 7))");
  EXPECT_EQ(part.ref_cnt(), 0);

  AttVec untyped;
  untyped.copy(*v);
  EXPECT_EQ(show(untyped), "(+plu (n 3) -def (b 7))");

  run("(def-att-list other (defattribute x BinAtt))");
  auto foreign = av("(+x)", AttInterpreterList::get_att_list("other"));
  foreign->copy(*v);
  EXPECT_EQ(foreign->interpreter_list(), type_);
  EXPECT_EQ(show(*foreign), "(+plu (n 3) -def (b 7))");

  AttVec target(*av("(-plu (m 1))"));
  target.copy(*v);  // equal afterwards: nothing of the old value is left
  EXPECT_EQ(show(target), "(+plu (n 3) -def (b 7))");
  target.copy(AttVec());  // no type: nothing happens
  EXPECT_EQ(show(target), "(+plu (n 3) -def (b 7))");
  EXPECT_EQ(err(), "");
}

TEST_F(AttVecTest, DesharingCopiesOnlyASharedVector) {
  AttVec* p = av("(+plu (box 3))").release();
  p->inc_ref_cnt();
  AttVec* original = p;
  EXPECT_EQ(AttVec::desharing(p), original);  // one holder: kept

  original->inc_ref_cnt();  // a second holder
  AttVec* mine = p;
  AttVec::desharing(mine);
  ASSERT_NE(mine, original);
  EXPECT_EQ(original->ref_cnt(), 1);
  EXPECT_EQ(mine->ref_cnt(), 1);
  mine->set_val(kPlu, 0);
  EXPECT_EQ(show(*original), "(+plu (box box3))");
  EXPECT_EQ(show(*mine), "(-plu (box box3))");
  delete mine;
  delete original;
}

TEST_F(AttVecTest, VectorsOfDifferentTypesAreNotCombined) {
  run("(def-att-list other2 (defattribute x BinAtt))");
  auto v = av("(+plu)");
  auto w = av("(+x)", AttInterpreterList::get_att_list("other2"));
  EXPECT_EQ(v->unify(*w), 0);
  EXPECT_EQ(v->cmp(*w), 2);
  v->minus(*w);
  v->intersect(*w);
  v->modify_with(*w);
  v->complement_with(*w);
  EXPECT_EQ(show(*v), "(+plu)");
  const std::string messages = err();
  EXPECT_THAT(messages, HasSubstr("AttVec::unify: the vectors have different types (avt, other2)"));
  EXPECT_THAT(messages, HasSubstr("AttVec::complement_with:"));
}

// ---------------------------------------------------------------- binary form

std::string pack_of(const AttVec& v) {
  StrBufs buf;
  v.pack(buf);
  return std::string(buf.str(), buf.length());
}

TEST_F(AttVecTest, PacksCodesAndValues) {
  // plu '+': 0; n: 1 and 4 bytes; def '-': ~2; n == 0 writes ~i; end 7.
  EXPECT_EQ(pack_of(*av("(+plu (n 3) -def)")),
            std::string("\x00\x01\x00\x00\x00\x03\xfd\x07", 8));
  EXPECT_EQ(pack_of(*av("((n 0) (b 9))")), std::string("\xfe\x03\x09\x07", 4));
  EXPECT_EQ(pack_of(*av("()")), std::string("\x07", 1));
}

class AttVecRoundTripTest : public AttVecTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AttVecRoundTripTest, UnpackGivesBackWhatWasPacked) {
  auto v = av(GetParam());
  const std::string bytes = pack_of(*v);
  AttVec back(type_);
  const char* cursor = bytes.data();
  EXPECT_TRUE(back.unpack(cursor, bytes.data() + bytes.size()));
  EXPECT_EQ(cursor, bytes.data() + bytes.size());
  EXPECT_EQ(show(back), show(*v));
}

INSTANTIATE_TEST_SUITE_P(Vectors, AttVecRoundTripTest,
                         ::testing::Values("()", "(+plu -def)", "((n 4000000000) (m 1))",
                                           "(-plu (n 0) (b 255) (box 77) +def)"));

TEST_F(AttVecTest, UnpackAddsToWhatIsDefined) {
  auto v = av("(+plu (n 3))");
  const std::string bytes = pack_of(*av("(-def (m 9))"));
  const char* cursor = bytes.data();
  ASSERT_TRUE(v->unpack(cursor, bytes.data() + bytes.size()));
  EXPECT_EQ(show(*v), "(+plu (n 3) -def (m 9))");
}

TEST_F(AttVecTest, EveryCutOfABinaryFormIsReportedNeverOverread) {
  const std::string bytes = pack_of(*av("(+plu (n 3) -def (b 7) (box 5))"));
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    // The cut copy lives in its own allocation, so reading past it is an
    // AddressSanitizer error.
    auto part = std::make_unique<char[]>(cut + 1);
    std::copy_n(bytes.data(), cut, part.get());
    AttVec v(type_);
    const char* cursor = part.get();
    EXPECT_FALSE(v.unpack(cursor, part.get() + cut)) << "cut " << cut;
    EXPECT_EQ(err(), "AttVec::unpack: truncated binary form\n") << "cut " << cut;
  }
}

TEST_F(AttVecTest, CorruptCodesAndMissingTypeAreReported) {
  struct Case {
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {std::string("\x06", 1), "AttVec::unpack: bad attribute code 6\n"},
      {std::string("\x00\xf9\x07", 3), "AttVec::unpack: bad attribute code -7\n"},
      {std::string("\x80", 1), "AttVec::unpack: bad attribute code -128\n"},
  };
  for (const Case& c : cases) {
    AttVec v(type_);
    const char* cursor = c.bytes.data();
    EXPECT_FALSE(v.unpack(cursor, c.bytes.data() + c.bytes.size()));
    EXPECT_EQ(err(), c.message);
  }
  AttVec untyped;
  const std::string end("\x07", 1);
  const char* cursor = end.data();
  EXPECT_FALSE(untyped.unpack(cursor, end.data() + 1));
  EXPECT_EQ(err(), "AttVec::unpack: the vector has no type\n");
}

// Up to 125 attributes every code is one byte; beyond, two bytes.
TEST_F(AttVecTest, CodeWidthChangesAbove125Attributes) {
  struct Case {
    int attributes;
    std::string bytes;  // of (+a0 -a1)
  };
  const Case cases[] = {
      {125, std::string("\x00\xfe\x7e", 3)},
      {126, std::string("\x00\x00\xff\xfe\x00\x7f", 6)},
  };
  for (const Case& c : cases) {
    const std::string name = "bin" + std::to_string(c.attributes);
    std::string defs = "(def-att-list " + name;
    for (int i = 0; i < c.attributes; ++i) defs += " (defattribute a" + std::to_string(i) + " BinAtt)";
    run((defs + ")").c_str());
    const AttInterpreterList* type = AttInterpreterList::get_att_list(name.c_str());
    auto v = av("(+a0 -a1)", type);
    const std::string bytes = pack_of(*v);
    EXPECT_EQ(bytes, c.bytes) << c.attributes;
    AttVec back(type);
    const char* cursor = bytes.data();
    EXPECT_TRUE(back.unpack(cursor, bytes.data() + bytes.size()));
    EXPECT_EQ(show(back), "(+a0 -a1)");
  }
}

// ---------------------------------------------------------------- look-ups

TEST_F(AttVecTest, AttributesAreFoundByNameWithOneSignIgnored) {
  int index = -1;
  EXPECT_EQ(type_->search_att_index("+def", index), type_->interpreter(kDef));
  EXPECT_EQ(index, kDef);
  EXPECT_EQ(type_->search_att_index("~n", index), type_->interpreter(kN));
  EXPECT_EQ(type_->search_att_index("N", index), nullptr);  // case-sensitive
  EXPECT_EQ(type_->search_att_index("++n", index), nullptr);
  EXPECT_EQ(type_->search_att_index(nullptr, index), nullptr);
  EXPECT_EQ(index, kN);
}

TEST_F(AttVecTest, StaticLookUpsReportUnknownTypesAndAttributes) {
  EXPECT_EQ(AttInterpreterList::get_att("avt", "box"), kBox);
  EXPECT_EQ(AttInterpreterList::get_att("avt", "nope"), -1);
  EXPECT_EQ(err(), "AttInterpreterList::get_att(\"avt\", \"nope\"): \n\"nope\" is not an attribute\n");
  EXPECT_EQ(AttInterpreterList::get_att("notype", "n"), -1);
  EXPECT_EQ(err(),
            "AttInterpreterList::get_att(\"notype\", \"n\"): \n"
            "\"notype\" is not a type of attribute value vector\n");
  EXPECT_EQ(AttInterpreterList::get_val("avt", "plu", "+"), 1u);
  EXPECT_EQ(AttInterpreterList::get_val("avt", "nope", "+"), 0u);
  EXPECT_EQ(err(), "AttInterpreterList::get_att(\"avt\", \"nope\")\nnope is not an attribute\n");
  EXPECT_EQ(AttInterpreterList::get_val("notype", "n", "1"), 0u);
  EXPECT_EQ(err(),
            "AttInterpreterList::get_att(\"notype\", \"n\")\n"
            "notype is not a type of attribute value vector\n");
}

TEST_F(AttVecTest, AttributeSetsAreMadeFromNames) {
  auto tokenizer = make_command_tokenizer();
  std::unique_ptr<IRSlist> names = make_irslist("(def bogus n)", tokenizer.get());
  LBitSet set;
  type_->make_att_set(set, names.get());
  EXPECT_EQ(set.count(), 2);
  EXPECT_TRUE(set.test(kDef));
  EXPECT_TRUE(set.test(kN));
  EXPECT_EQ(err(), "AttInterpreterList::make_att_set bogus is not an attribute name\n");

  names = make_irslist("(plu m)", tokenizer.get());
  const LBitSet current = get_att_set(names.get());
  EXPECT_EQ(current, set_of({kPlu, kM}));
  names = make_irslist("plu", tokenizer.get());
  EXPECT_TRUE(get_att_set(names.get()).empty());
  EXPECT_TRUE(get_att_set(nullptr).empty());
}

TEST_F(AttVecTest, PravPrintsAVectorOrANullPointer) {
  prav(nullptr);
  prav(av("(+plu (n 2))").get());
  EXPECT_EQ(err(), "( )\n(+plu (n 2))\n");
}

}  // namespace
}  // namespace lorvan
