// Black-box tests of the attribute predicates and list-attribute
// expressions through parsedemo: the start-up file declares an attribute
// type, and command lines evaluate expressions whose results show as the
// word an (if ... (exec-commands (echo ...))) prints.  Every input line
// prints parsedemo's command flag "1" before its own output, and the end of
// the input one more "1".
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

// v is a function whose constant vector lives as long as the function, so
// one command line can change it and the next look at it.
const char* const kStartUp =
    "(def-att-list agrt (defattribute per IntAtt))\n"
    "(def-att-list syn\n"
    "  (defattribute plu BinAtt)\n"
    "  (defattribute num DisjAtt (allowable-values sg pl))\n"
    "  (defattribute per IntAtt)\n"
    "  (defattribute args ListAtt (interpreter agrt))\n"
    "  (defattribute done ListAtt (interpreter agrt)))\n"
    "(defun v () (attvec ((args ((per 1)) ((per 2))))))\n";

// A command line that prints yes or no as `exp` is true or false.
std::string ask(const std::string& exp) {
  return "~(eval (if " + exp + " (exec-commands (echo yes)) (exec-commands (echo no))))\n";
}

TEST(AttPredBlackBox, PredicatesTestConstantVectors) {
  RunResult r = run_parsedemo(
      kStartUp, ask("(comp (attvec (+plu (num sg))) (defined (num per)))") +
                    ask("(comp (attvec (+plu (num sg))) (defined-one-of (num per)))") +
                    ask("(comp (attvec ((num sg))) (contain ((num sg pl))))") +
                    ask("(comp (attvec ((num sg pl))) (contain ((num sg))))") +
                    ask("(comp (attvec (+plu)) (unify (-plu)))") +
                    ask("(comp (attvec ((num sg pl))) (unify ((num sg))) (contain ((num sg))))") +
                    ask("(unifiable2 (nil) (attvec (+plu)))") +
                    ask("(eq (comp (attvec ((per 3))) (value per)) (int 3))"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1no\n1yes\n1yes\n1no\n1no\n1yes\n1yes\n1yes\n1\n");
  EXPECT_EQ(r.err, "");
}

TEST(AttPredBlackBox, ListOperationsChangeTheVectorForLaterLines) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(eval (comp (v) (move-att args done)))\n" +
                                  ask("(comp (v) (unifiable ((args ((per 2))) (done ((per 1))))))") +
                                  "~(eval (comp (v) (move-att args done)))\n" +
                                  ask("(comp (v) (defined (args)))") +
                                  ask("(comp (v) (unifiable ((done ((per 1)) ((per 2))))))") +
                                  "~(eval (comp (v) (insert-into-avlist done (attvec agrt ((per 7))))))\n" +
                                  "~(eval (comp (v) (delete-from-avlist done)))\n" +
                                  ask("(comp (v) (unifiable ((done ((per 1)) ((per 2))))))"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11yes\n11no\n1yes\n111yes\n1\n");
  EXPECT_EQ(r.err, "");
}

TEST(AttPredBlackBox, BadExpressionsAreReportedAndTheProgramGoesOn) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(eval (defined (bogus)))\n"
                              "~(eval (comp (str \"x\") (defined (num))))\n"
                              "~(eval (delete-from-avlist per))\n"
                              "~(eval (comp (v) (move-att args :interpreter nosuch done)))\n" +
                                  ask("(comp (v) (defined nosuch (args)))") +
                                  ask("(comp (v) (defined (args)))"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11111no\n1yes\n1\n");
  // Type ids depend on the order of registration: shown as (N).
  EXPECT_EQ(std::regex_replace(r.err, std::regex("\\(\\d+\\)"), "(N)"),
            "The attribute bogus is not found\n"
            "defined received a wrong type of argument:'char*' (N)\n"
            "The expected type of argument is:'AttVec*' (N)\n"
            "delete-from-avlist: the attribute per is not a list attribute\n"
            "move-att: \"nosuch\" is not a type of attribute value vector\n"
            "defined: \"nosuch\" is not a type of attribute value vector\n");
}

}  // namespace
}  // namespace lorvan::testsupport
