// Black-box tests of properties and relation records through parsedemo's
// command lines: define-attribute, the value-type prototypes and the
// messages of make-rel and add-propvals.  Every input line prints
// parsedemo's command flag "1" before its own output, and the end of the
// input one more "1".
#include <gtest/gtest.h>

#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

TEST(PropsBlackBox, DefineAttributeIsRegisteredWithItsHelp) {
  RunResult r = run_parsedemo("", "~(help define-attribute)\n~(objects . ValType)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1define-attribute\n(define-attribute name-of-attribute type-of-val)\n\n"
            "1IntValue\nNo documentation provided\n\n"
            "StrListValue\nNo documentation provided\n\n"
            "StrValue\nNo documentation provided\n\n"
            "1\n");
  EXPECT_EQ(r.err, "");
}

TEST(PropsBlackBox, DefineAttributeProblemsAreReportedAndTheProgramGoesOn) {
  RunResult r = run_parsedemo(
      "(define-attribute label StrValue)\n(define-attribute count IntValue)\n",
      "~(define-attribute label StrValue)\n"  // the same again: silent
      "~(define-attribute count StrListValue)\n"
      "~(define-attribute other NoSuchType)\n"
      "~(define-attribute)\n"
      "~(echo still here)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11111still here\n1\n");
  EXPECT_EQ(r.err,
            "The attribute count already holds values of the type int, not TSlist<const char*>*\n"
            "No prototype for NoSuchType exists in the Object Factory\n"
            "No prototype for  exists in the Object Factory\n");
}

TEST(PropsBlackBox, PropertyEntriesAreCheckedWhenCompiled) {
  RunResult r = run_parsedemo(
      "(define-attribute label StrValue)\n",
      "~(make-lexp rel1 (make-rel r (label Foo 0.5) (untyped x) (label)))\n"
      "~(make-lexp rel2 (make-rel))\n"
      "~(make-lexp rel3 (add-propvals (ident) (label (no-such-kind))))\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1111\n");
  EXPECT_EQ(r.err,
            "No value type is defined for the attribute untyped\n"
            "make-rel: the relation has no name\n"
            "LExp::get_exp:  unknown type: 'no-such-kind'\n");
}

TEST(PropsBlackBox, AddPropValsOnNoInputGivesFalse) {
  RunResult r = run_parsedemo(
      "(define-attribute label StrValue)\n",
      "~(eval (if (add-propvals (make-rel r) (label x)) (exec-commands (echo yes))"
      " (exec-commands (echo no))))\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1no\n1\n");
  EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace lorvan::testsupport
