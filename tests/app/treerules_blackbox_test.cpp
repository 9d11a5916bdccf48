// Black-box tests of tree rules through parsedemo's command lines: the
// commands and kinds are registered at start-up with their help texts, and
// bad rule text is reported without stopping the program.  Every input
// line prints parsedemo's command flag "1" before its own output, and the
// end of the input one more "1".
#include <gtest/gtest.h>

#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

TEST(TreeRulesBlackBox, CommandsAreRegisteredWithTheirHelp) {
  RunResult r = run_parsedemo("", "~(help def-tree-rules)\n~(help clear-tree-rules)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1def-tree-rules\n(def-tree-rules <name> <rule> ... <rule>)\n\n"
            "1clear-tree-rules\n(clear-tree-rules <name>)\n\n"
            "1\n");
  EXPECT_EQ(r.err, "");
}

TEST(TreeRulesBlackBox, KindsAreRegisteredWithTheirHelp) {
  RunResult r =
      run_parsedemo("", "~(objects detach-node LExp)\n~(objects exist-c-commander LExp)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1detach-node\n"
            "(detatch-node <node>) detach the subtree rooted at <node> \n"
            "from its parent. The detached subtree is returned. For example:\n"
            "(A (B)          (detach-node C)  (A (B)\n"
            "   (C (D))              ==>         (E)\n"
            "   (E)                              (F (G)))\n"
            "   (F (G)))\n\n\n"
            "1exist-c-commander\nNo documentation provided\n\n"
            "exist-c-commander-or-ancestor\nNo documentation provided\n\n"
            "1\n");
  EXPECT_EQ(r.err, "");
}

TEST(TreeRulesBlackBox, BadRulesAreReportedAndTheProgramGoesOn) {
  RunResult r = run_parsedemo("(def-tree-rules r (root (t)))\n",
                              "~(def-tree-rules r (up (t) (t)))\n"
                              "~(def-tree-rules r (down (tree (t) (t)) (t)))\n"
                              "~(def-tree-rules r (flat ((t? (t))) (t)))\n"
                              "~(def-tree-rules r (down (path (node (t)) (t)) (t)))\n"
                              "~(def-tree-rules r (UP (node (t)) (t)) (sideways) ())\n"
                              "~(def-tree-rules)\n"
                              "~(clear-tree-rules r)\n"
                              "~(clear-tree-rules nobody)\n"
                              "~(echo still here)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "111111111still here\n1\n");
  EXPECT_EQ(r.err,
            "t cannot be used as a condition in tree rules.\n"
            "t cannot be used as a subtree condition in (tree ...) \n"
            "In (t? <LEXP>) <LEXP> must return TreeMatch*\n"
            "PathCond: all arguments must be LExps that return 'TreeMatch*'");
}

}  // namespace
}  // namespace lorvan::testsupport
