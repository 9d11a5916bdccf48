// Tree rules on small dependency trees: the patterns and the variables they
// bind, the tree functions, the editing functions, the rule kinds with their
// walks and the rule iterator, def-tree-rules / clear-tree-rules, a rule set
// read from a file rewriting a structure read from its text form, and bad
// rule text.
//
// Most cases use the tree
//   TOP(A(B C(D) E F(G)))
// where TOP is the top node of the structure.  Two test-only kinds look at
// nodes: (w WORD) gives the node when its root is WORD, and (say) appends
// the node's root ("TOP" for the top node, "nil" for none) to a log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "deptree/deps.h"
#include "deptree/deps_printer.h"
#include "deptree/tree_match.h"
#include "deptree/tree_modifier.h"
#include "deptree/tree_rule.h"
#include "deptree/treerule_init.h"
#include "deptree/trel_init.h"
#include "expr/lconst.h"
#include "expr/lexp_init.h"
#include "expr/lvariable.h"

namespace lorvan {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

std::string g_log;

std::string label(void* node) {
  if (node == nullptr) return "nil";
  const char* root = DepTree::cast(node)->root();
  return root != nullptr ? root : "TOP";
}

// (w WORD): the node when its root is WORD.
class WordIs : public LExp {
 public:
  WordIs() { set_input_type(rstree_type()); }
  const char* type_name() const override { return "w"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<WordIs>(*this); }
  void init(IRSlist* args) override {
    const char* w = args->get_val();
    word_ = w != nullptr ? w : "";
  }
  void* eval(void* input, int) override {
    return input != nullptr && label(input) == word_ ? input : nullptr;
  }

 private:
  std::string word_;
};

// (say): logs the node and gives it.
class Say : public LExp {
 public:
  const char* type_name() const override { return "say"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<Say>(*this); }
  void* eval(void* input, int) override {
    g_log += label(input) + " ";
    return input;
  }
};

// The subtree as ROOT(CHILD ...).
std::string shape(const RSTree* n) {
  std::string s = label(const_cast<RSTree*>(n));
  if (n->first() == nullptr) return s;
  s += "(";
  for (const RSTree* c = n->first(); c != nullptr; c = c->next()) {
    if (c != n->first()) s += " ";
    s += shape(c);
  }
  return s + ")";
}

// A match as NODE(SUB ...), "_" for a placeholder, "nil" for none.
std::string match_shape(const TreeMatch* m) {
  if (m == nullptr) return "nil";
  std::string s = m->node() != nullptr ? label(m->node()) : "_";
  if (m->first() == nullptr) return s;
  s += "(";
  for (const TreeMatch* c = m->first(); c != nullptr; c = c->next()) {
    if (c != m->first()) s += " ";
    s += match_shape(c);
  }
  return s + ")";
}

constexpr const char* kTree =
    "(:id t 1 (A ~ X *) 2 (B ~ X 1) 3 (C ~ X 1) 4 (D ~ X 3) 5 (E ~ X 1) 6 (F ~ X 1) 7 (G ~ X 6))";

class TreeRulesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    objfact_init();
    trel_init();
    lexp_init();
    lconst_init();
    treerule_init();
    treerule_init();  // a second call does nothing (no duplicate messages)
    static bool kinds_registered = false;
    if (kinds_registered) return;
    kinds_registered = true;
    LExp::exp_proto(std::make_unique<WordIs>(), nullptr, nullptr);
    LExp::exp_proto(std::make_unique<Say>(), nullptr, nullptr);
  }

  TreeRulesTest() {
    PRINT_GOV = 0;
    PRINT_DEPTREE_WEIGHT = 0;
    g_log.clear();
    deps_.read(kTree);
  }

  RSTree* top() { return deps_.tree(); }
  // The first node, in pre-order, labelled `word`.
  RSTree* node(const std::string& word) {
    PreIterator it(top());
    while (RSlist* n = it.next()) {
      if (label(n) == word) return static_cast<RSTree*>(n);
    }
    ADD_FAILURE() << "no node " << word;
    return nullptr;
  }
  std::string tree() { return shape(top()->first()); }

  // Compiles `text` in a scope of its own.
  static std::unique_ptr<LExp> compile(const char* text) {
    LVariable::open_scope(11);
    std::unique_ptr<LExp> e = LExp::get_exp(text);
    LVariable::close_scope();
    return e;
  }
  std::unique_ptr<TreeMatch> match(const char* pattern, const std::string& at) {
    std::unique_ptr<LExp> p = compile(pattern);
    if (p == nullptr) return nullptr;
    return std::unique_ptr<TreeMatch>(as_match(p->eval(node(at), rstree_type())));
  }

  static void define(const char* rules) { CmdInterpreter::the_interpreter->interpret(rules); }
  static TreeModifier* modifier(const char* name) {
    return static_cast<TreeModifier*>(get_named_obj(name, "TreeModifier", 0));
  }
  // Defines the rules under a fresh name and applies them to the tree.
  void run(const std::string& rules) {
    static int serial = 0;
    const std::string name = "m" + std::to_string(++serial);
    define(("(def-tree-rules " + name + " " + rules + ")").c_str());
    ASSERT_NE(modifier(name.c_str()), nullptr);
    modifier(name.c_str())->apply_rules(top());
  }

  Deps deps_;
};

// ---- Patterns ----

struct PatternCase {
  const char* pattern;
  const char* at;
  const char* match;  // match_shape of the result
};

const PatternCase kPatternCases[] = {
    {"(node (w A))", "A", "A"},
    {"(node (w B))", "A", "nil"},
    {"(node)", "A", "nil"},
    {"(node (is-leaf))", "B", "B"},
    {"(node (is-leaf))", "C", "nil"},
    // tree: any order, each SUB takes a child not taken yet.
    {"(tree (w A) (node (w C)) (node (w B)))", "A", "A(C B)"},
    {"(tree (w A) (node (t)) (node (t)))", "A", "A(B C)"},
    {"(tree (w A) (node (w C)) (node (w C)))", "A", "nil"},
    {"(tree (w A) (node (w C)) (t? (node (w C))))", "A", "A(C _)"},
    {"(tree (w A) (node (w C)) (t* (node (w X))))", "A", "A(C _)"},
    {"(tree (w B))", "A", "nil"},
    {"(tree (w A) (tree (w F) (node (w G))))", "A", "A(F(G))"},
    // treeu: in order.
    {"(treeu (w A) (node (w C)) (node (w B)))", "A", "nil"},
    {"(treeu (w A) (node (w B)) (node (w E)))", "A", "A(B E)"},
    {"(treeu (w A) (node (w F)) (t? (node (w B))))", "A", "A(F _)"},
    {"(treeu (w A) (node (w F)) (node (t)))", "A", "nil"},
    // treeq: every SUB must match, optional or not.
    {"(treeq (w C) (node (w D)))", "C", "C(D)"},
    {"(treeq (w C) (node (w D)) (node (t)))", "C", "nil"},
    {"(treeq (w C) (node (w D)) (t? (node (t))))", "C", "nil"},
    // path: the root record stands for the last node.
    {"(path (node (w A)) (node (w F)) (node (w G)))", "A", "G(F(G))"},
    {"(path (node (w A)) (t? (node (w X))) (node (w C)))", "A", "C(C)"},
    {"(path (node (w A)) (node (w X)))", "A", "nil"},
    {"(path)", "A", "nil"},
    // t+ / t*: repetitions down a chain of descendants.
    {"(t+ (node (not (w B))))", "A", "A(C(D))"},
    {"(t+ (node (t)))", "F", "F(G)"},
    {"(t+ (node (w X)))", "A", "nil"},
    {"(t* (node (w A)))", "A", "A"},
    {"(t? (node (w A)))", "A", "A"},
    // attachment-points: parent, selected ancestors, right edge of the
    // preceding sibling.
    {"(attachment-points (t) (t) (t))", "D", "D(C A TOP)"},
    {"(attachment-points (t) (t) (t))", "E", "E(A TOP C D)"},
    {"(attachment-points (t) (t) (not (w A)))", "E", "E(A C D)"},
    {"(attachment-points (t) (w D) (t))", "E", "E(A D)"},
    {"(attachment-points (w X) (t) (t))", "E", "nil"},
    {"(attachment-points)", "E", "nil"},
};

TEST_F(TreeRulesTest, PatternsMatchOrFail) {
  for (const PatternCase& c : kPatternCases) {
    SCOPED_TRACE(std::string(c.pattern) + " at " + c.at);
    EXPECT_EQ(match_shape(match(c.pattern, c.at).get()), c.match);
    EXPECT_EQ(tree(), "A(B C(D) E F(G))");
  }
}

TEST_F(TreeRulesTest, PatternVariablesHoldTheMatchedNodes) {
  LVariable::open_scope(11);
  std::unique_ptr<LExp> ok = LExp::get_exp("(tree x (w A) (node y (w C)))");
  std::unique_ptr<LExp> failing = LExp::get_exp("(tree (w A) (node z (w B)) (node (w X)))");
  VarRef x(LVariable::getVar("x"));
  VarRef y(LVariable::getVar("y"));
  VarRef z(LVariable::getVar("z"));
  LVariable::close_scope();
  ASSERT_TRUE(x && y && z);
  EXPECT_EQ(x->type(), rstree_type());

  delete as_match(ok->eval(node("A"), rstree_type()));
  EXPECT_EQ(x->value(), node("A"));
  EXPECT_EQ(y->value(), node("C"));
  // A node pattern binds even when the enclosing pattern fails later.
  EXPECT_EQ(failing->eval(node("A"), rstree_type()), nullptr);
  EXPECT_EQ(z->value(), node("B"));
}

TEST_F(TreeRulesTest, PatternsRefuseOtherInputTypes) {
  std::unique_ptr<LExp> p = compile("(node (t))");
  CaptureStderr();
  EXPECT_EQ(p->eval(node("A"), tree_match_type()), nullptr);
  EXPECT_NE(GetCapturedStderr().find("received a wrong type of argument"), std::string::npos);
}

// ---- Tree functions ----

struct FunctionCase {
  const char* exp;
  const char* at;
  const char* result;  // the label of the resulting node, or a number
  bool number = false;
};

const FunctionCase kFunctionCases[] = {
    {"(exist-child (w C))", "A", "C"},
    {"(exist-child)", "A", "B"},
    {"(exist-child)", "B", "nil"},
    {"(exist-child (w D))", "A", "nil"},
    {"(all-children (is-leaf))", "A", "nil"},
    {"(all-children (is-leaf))", "F", "F"},
    {"(all-children)", "A", "A"},
    {"(all-children (w X))", "B", "B"},
    {"(num-children)", "A", "4", true},
    {"(num-children (is-leaf))", "A", "2", true},
    {"(num-children)", "G", "0", true},
    {"(self-or-exist-ancestor (w A))", "D", "A"},
    {"(self-or-exist-ancestor (w D))", "D", "D"},
    {"(self-or-exist-ancestor)", "D", "nil"},
    {"(exist-decendent (w G))", "A", "G"},
    {"(exist-decendent (w G) (w F))", "A", "nil"},
    {"(exist-decendent (w A) (w A))", "A", "A"},
    {"(exist-decendent (not (w A)) (w B))", "A", "C"},
    {"(exist-decendent)", "A", "nil"},
    {"(exist-c-commander (w B))", "G", "B"},
    {"(exist-c-commander (w D))", "G", "nil"},
    {"(exist-c-commander (w E) (w F))", "G", "nil"},
    {"(exist-c-commander (w A))", "G", "nil"},
    {"(exist-c-commander (w D))", "C", "D"},
    {"(exist-c-commander (w A))", "TOP", "A"},
    {"(exist-c-commander (w B))", "TOP", "nil"},
    {"(exist-c-commander-or-ancestor (w A))", "G", "A"},
    {"(exist-c-commander-or-ancestor (w F))", "G", "F"},
    {"(exist-c-commander-or-ancestor (w G))", "G", "nil"},
    {"(exist-c-commander-or-ancestor (w A) (w A))", "G", "nil"},
    {"(first-child)", "B", "B"},
    {"(first-child)", "C", "nil"},
    {"(first-child)", "TOP", "TOP"},
    {"(last-child)", "F", "F"},
    {"(last-child)", "E", "nil"},
    {"(get-node (w F) (w G))", "A", "G"},
    {"(get-node (w F) (w X))", "A", "nil"},
    {"(get-node)", "A", "A"},
    {"(parent)", "D", "C"},
    {"(parent (parent))", "D", "A"},
    {"(parent)", "TOP", "nil"},
    {"(tree-root)", "G", "TOP"},
    {"(tree-root (exist-child))", "G", "A"},
    {"(ancestor-of (tree-root) (ident))", "G", "1", true},
    {"(ancestor-of (ident) (ident))", "G", "0", true},
    {"(ancestor-of (ident) (parent))", "G", "0", true},
    {"(exist-match (node (w D)))", "A", "A"},
    {"(exist-match (node (w D)))", "F", "nil"},
};

TEST_F(TreeRulesTest, TreeFunctionsFindTheirNodes) {
  for (const FunctionCase& c : kFunctionCases) {
    SCOPED_TRACE(std::string(c.exp) + " at " + c.at);
    std::unique_ptr<LExp> e = compile(c.exp);
    ASSERT_NE(e, nullptr);
    void* v = e->eval(node(c.at), rstree_type());
    EXPECT_EQ(c.number ? std::to_string(value_to_int(v)) : label(v), c.result);
  }
}

TEST_F(TreeRulesTest, AncestorOfRefusesOperandsThatAreNotNodes) {
  CaptureStderr();
  std::unique_ptr<LExp> e = compile("(ancestor-of (int 1) (ident))");
  EXPECT_EQ(GetCapturedStderr(), "(ancestor-of <lexp> <lexp>): both arguments must return RSTree*\n");
  EXPECT_EQ(e->eval(node("G"), rstree_type()), int_to_value(0));
}

TEST_F(TreeRulesTest, ConditionsOfAllChildrenRunOnEveryChild) {
  compile("(all-children (prog (say) (w C)))")->eval(node("A"), rstree_type());
  EXPECT_EQ(g_log, "B C E F ");
}

TEST_F(TreeRulesTest, ExistMatchRunsItsActionOnceInPostOrder) {
  std::unique_ptr<LExp> e = compile("(exist-match (node (is-leaf)) :action (match (say)))");
  EXPECT_EQ(label(e->eval(node("A"), rstree_type())), "A");
  EXPECT_EQ(g_log, "B ");
}

class MatchFunctionsTest : public TreeRulesTest {
 protected:
  MatchFunctionsTest() : m_(match("(tree (w A) (node (w B)) (tree (w F) (node (w G))))", "A")) {}
  void* on_match(const char* exp) { return compile(exp)->eval(m_.get(), tree_match_type()); }
  std::unique_ptr<TreeMatch> m_;
};

TEST_F(MatchFunctionsTest, MatchFollowsTheRecordPath) {
  ASSERT_EQ(match_shape(m_.get()), "A(B F(G))");
  struct Case {
    const char* exp;
    const char* node;
    const char* err;
  };
  const Case cases[] = {
      {"(match)", "A", ""},
      {"(match 1)", "B", ""},
      {"(match 2 1)", "G", ""},
      {"(match 2 (parent))", "A", ""},
      {"(match 3)", "nil", "(match ...) resulted in nil\n"},
      {"(match 1 1)", "nil", "(match ...) resulted in nil\n"},
      {"(match 0)", "nil", "(match ...) resulted in nil\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exp);
    CaptureStderr();
    EXPECT_EQ(label(on_match(c.exp)), c.node);
    EXPECT_EQ(GetCapturedStderr(), c.err);
  }
}

TEST_F(MatchFunctionsTest, ForAllSubtreeMatchesVisitsEveryRecordInPreOrder) {
  EXPECT_EQ(on_match("(forall-subtree-matches v (get-val v (say)))"), m_.get());
  EXPECT_EQ(g_log, "A B F G ");
  g_log.clear();
  // The first evaluation fails; the later records are still visited.
  EXPECT_EQ(on_match("(forall-subtree-matches v (get-val v (prog (say) (not (w A)))))"), nullptr);
  EXPECT_EQ(g_log, "A B F G ");
}

// ---- Editing functions ----

struct EditCase {
  const char* exp;
  std::vector<const char*> nodes;  // the match: root record node, then sub-records
  const char* tree;                // the tree afterwards
  const char* result;
  const char* err = "";
};

const EditCase kEditCases[] = {
    {"(adopt-following (match 1))", {"A", "C"}, "A(B C(D E F(G)))", "C"},
    {"(insert-before (match 1) (match 2))", {"A", "C", "G"}, "A(B E F(C(D) G))", "F"},
    {"(insert-after (match 1) (match 2))", {"A", "C", "G"}, "A(B E F(G C(D)))", "F"},
    {"(insert-node (match 1) (match 2))", {"A", "F", "A"}, "A(F(G) B C(D) E)", "nil"},
    {"(append-node (match 1) (match 2))", {"A", "C", "G"}, "A(B E F(G(C(D))))", "nil"},
    {"(detach-node (match 1))", {"A", "C"}, "A(B E F(G))", "C"},
    {"(inherit-children (match 1))", {"A", "C"}, "A(C(B D E F(G)))", "C"},
    {"(inherit-children (match 1))", {"C", "TOP"}, "A(B C(D) E F(G))", "TOP"},
    // Moves of the match's root node are refused while it has a parent.
    {"(inherit-children (match))",
     {"C"},
     "A(B C(D) E F(G))",
     "nil",
     "The root node of a tree match cannot inherit children\n"},
    {"(insert-before (match) (match 1))",
     {"C", "G"},
     "A(B C(D) E F(G))",
     "nil",
     "Cannot insert the root node of a tree match\n"},
    {"(insert-after (match) (match 1))",
     {"C", "G"},
     "A(B C(D) E F(G))",
     "nil",
     "Cannot insert the root node of a tree match\n"},
    {"(insert-node (match) (match 1))",
     {"C", "G"},
     "A(B C(D) E F(G))",
     "nil",
     "Cannot insert the root node of a tree match\n"},
    {"(append-node (match) (match 1))",
     {"C", "G"},
     "A(B C(D) E F(G))",
     "nil",
     "Cannot append the root node of a tree match\n"},
    // A move below itself, or next to a node without parent, changes nothing.
    {"(append-node (match 1) (match 2))", {"G", "A", "G"}, "A(B C(D) E F(G))", "nil"},
    {"(insert-before (match 1) (match 2))", {"G", "F", "G"}, "A(B C(D) E F(G))", "nil"},
    {"(insert-after (match 1) (match 2))", {"G", "C", "TOP"}, "A(B C(D) E F(G))", "nil"},
    {"(detach-node (match 2))", {"G", "C"}, "A(B C(D) E F(G))", "nil",
     "(match ...) resulted in nil\n"},
};

TEST_F(TreeRulesTest, EditingFunctionsMoveNodes) {
  for (const EditCase& c : kEditCases) {
    SCOPED_TRACE(c.exp);
    deps_.clear();
    deps_.read(kTree);
    TreeMatch m(node(c.nodes[0]));
    for (std::size_t i = 1; i < c.nodes.size(); ++i) {
      m.add(std::make_unique<TreeMatch>(node(c.nodes[i])));
    }
    std::unique_ptr<LExp> e = compile(c.exp);
    ASSERT_NE(e, nullptr);
    CaptureStderr();
    void* v = e->eval(&m, tree_match_type());
    EXPECT_EQ(GetCapturedStderr(), c.err);
    EXPECT_EQ(label(v), c.result);
    EXPECT_EQ(tree(), c.tree);
  }
}

TEST_F(TreeRulesTest, EditingFunctionsRefuseArgumentsThatAreNotNodes) {
  deps_.clear();
  deps_.read(kTree);
  const std::string before = tree();
  TreeMatch m(node("A"));
  CaptureStderr();
  std::unique_ptr<LExp> e = compile("(detach-node (int 5))");
  EXPECT_EQ(GetCapturedStderr(),
            "In (detach-node ...) argument 1 must return RSTree*, not int\n");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->eval(&m, tree_match_type()), nullptr);
  CaptureStderr();
  e = compile("(insert-node (int 1) (int 2))");
  GetCapturedStderr();
  EXPECT_EQ(e->eval(&m, tree_match_type()), nullptr);
  EXPECT_EQ(tree(), before);
}

TEST_F(TreeRulesTest, EditingFunctionsCarryTheirHelpTexts) {
  std::ostringstream out;
  ObjFactory::the_factory.list_objects(out, "insert-after", "LExp");
  EXPECT_EQ(out.str(),
            "insert-after\n"
            "(insert-after <node> <anchor>) insert <node> after <anchor>:\n"
            "(A (B)          (insert-before C G)  (A (B)     \n"
            "   (C (D))              ==>             (E)\n"
            "   (E)                                  (F (G)\n"
            "   (F (G)))                                (C (D))))\n\n\n");
  out.str("");
  ObjFactory::the_factory.list_objects(out, "attachment-points", "LExp");
  EXPECT_EQ(out.str(), "attachment-points\nNo documentation provided\n\n");
}

// ---- Rules ----

struct WalkCase {
  const char* rules;
  const char* log;
};

const WalkCase kWalkCases[] = {
    {"(down (node (t)) (match (say)))", "TOP A B C D E F G "},
    {"(up (node (t)) (match (say)))", "B D C E G F A TOP "},
    {"(root (say))", "TOP "},
    {"(root (say) (say))", "TOP "},
    // shallow: a successful action cuts the walk short.
    {"(down (node (or (w C) (w D) (w F))) (match (say)))", "C D F "},
    {"(down shallow (node (or (w C) (w D) (w F))) (match (say)))", "C F "},
    {"(down shallow (node (or (w C) (w D) (w F))) (prog (match (say)) (nil)))", "C D F "},
    {"(up (node (or (w B) (w C) (w D) (w A))) (match (say)))", "B D C A "},
    {"(up shallow (node (or (w B) (w C) (w D) (w A))) (match (say)))", "B A "},
    {"(down :name n1 shallow :comments \"a rule\" (node (w C)) (match (say)))", "C "},
    // Several rules run one after the other, in definition order.
    {"(down (node (w G)) (match (say))) (up (node (w B)) (match (say)))", "G B "},
    // flat: conditions collected in post-order.
    {"(flat ((node (w B)) (node (w G))) (prog (match 1 (say)) (match 2 (say)) (match (say))))",
     "B G nil "},
    {"(flat ((node (w B)) ? (node (w X))) (prog (match 1 (say)) (match 2 (say))))", "B nil "},
    {"(flat (:max (node (is-leaf)) (node (w F))) (match 1 (say)))", "G "},
    {"(flat ((node (is-leaf)) (node (w F))) (match 1 (say)))", "B "},
    {"(flat ((node (is-leaf))) (match 1 (say)))", "B D E G "},
    {"(flat shallow ((node (is-leaf))) (match 1 (say)))", "B "},
    {"(flat (? (node (w X)) ? (node (w C))) (match 2 (say)))", "C "},
    {"(flat ((node (w C)) (node (w C))) (prog (match 1 (say)) (match 2 (say))))", "C C "},
    {"(flat ((node (w C)) (node (t))) (prog (match 1 (say)) (match 2 (say))))", "C B "},
    {"(flat (? :max (node (is-leaf)) (node (w C))) (match 1 (say)))", "D "},
    // Kinds and markers are case-sensitive.
    {"(UP (node (t)) (match (say)))", ""},
};

TEST_F(TreeRulesTest, RulesWalkTheTree) {
  for (const WalkCase& c : kWalkCases) {
    SCOPED_TRACE(c.rules);
    g_log.clear();
    CaptureStderr();
    run(c.rules);
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(g_log, c.log);
    EXPECT_EQ(TreeRule::the_iterator, nullptr);
  }
}

TEST_F(TreeRulesTest, RuleNamesAndCommentsAreKept) {
  define("(def-tree-rules named (up :comments \"why\" :name n1 (node (t)) (t)) (down (node (t)) (t)))");
  TreeModifier* m = modifier("named");
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->size(), 2);
  EXPECT_STREQ(m->rule(0)->name(), "n1");
  EXPECT_STREQ(m->rule(0)->comments(), "why");
  EXPECT_EQ(m->rule(1)->name(), nullptr);
}

TEST_F(TreeRulesTest, DetachingTheWalksNodeGoesOnAfterIt) {
  run("(down (node (t)) (prog (match (say)) (if (match (w C)) (detach-node (match)))))");
  EXPECT_EQ(g_log, "TOP A B C E F G ");
  EXPECT_EQ(tree(), "A(B E F(G))");
  g_log.clear();
  deps_.clear();
  deps_.read(kTree);
  run("(up (node (t)) (prog (match (say)) (if (match (w C)) (detach-node (match)))))");
  EXPECT_EQ(g_log, "B D C E G F A TOP ");
  EXPECT_EQ(tree(), "A(B E F(G))");
}

TEST_F(TreeRulesTest, LaterRulesSeeTheChangesOfEarlierOnes) {
  run("(down (tree (w A) (node x (w C))) (adopt-following (get-val x)))"
      "(down (node (t)) (match (say)))");
  EXPECT_EQ(tree(), "A(B C(D E F(G)))");
  EXPECT_EQ(g_log, "TOP A B C D E F G ");
  g_log.clear();
  run("(up (tree p (w F) (node x (w G))) (insert-node (get-val x) (match (parent))))"
      "(root (exist-child (say)))");
  EXPECT_EQ(tree(), "A(B C(G D E F))");
  EXPECT_EQ(g_log, "A ");
}

TEST_F(TreeRulesTest, DefiningUnderOneNameAppendsAndClearEmpties) {
  define("(def-tree-rules twice (root (say)))");
  define("(def-tree-rules TWICE (down (node (w A)) (match (say))))");
  TreeModifier* m = modifier("twice");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->size(), 2);
  m->apply_rules(top());
  m->apply_rules(nullptr);
  EXPECT_EQ(g_log, "TOP A ");
  define("(clear-tree-rules twice)");
  EXPECT_EQ(modifier("twice"), m);
  EXPECT_EQ(m->size(), 0);
  CaptureStderr();
  define("(clear-tree-rules no-such-modifier) (clear-tree-rules)");
  EXPECT_EQ(GetCapturedStderr(), "");
}

// ---- A rule set from a file ----

std::string data_file(const char* name) {
  const char* dir = std::getenv("LORVAN_TEST_DATA");
  std::string path = dir != nullptr ? dir : "";
  if (dir == nullptr) {
    const std::string self = __FILE__;
    path = self.substr(0, self.rfind('/')) + "/../data";
  }
  std::ifstream in(path + "/treerules/" + name);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << name;
  return text.str();
}

TEST_F(TreeRulesTest, FixtureRuleSetRewritesAParsedStructure) {
  CaptureStderr();
  define(data_file("rules.lsp").c_str());
  EXPECT_EQ(GetCapturedStderr(), "");
  Deps deps;
  deps.read(data_file("sentence.deps").c_str());
  TreeModifier* m = modifier("tidy");
  ASSERT_NE(m, nullptr);
  m->apply_rules(deps.tree());
  std::ostringstream out;
  deps.print(out, nullptr);
  EXPECT_EQ(out.str(), data_file("expected.deps"));
}

// ---- Bad rule text ----

struct BadCase {
  const char* rules;
  const char* err;
  const char* log = "";  // what still fires
};

const BadCase kBadCases[] = {
    {"(up (w A) (match (say)))", "w cannot be used as a condition in tree rules.\n"},
    {"(down (say) (match (say)))", "say cannot be used as a condition in tree rules.\n"},
    {"(down (tree (w A) (w B)) (match (say)))",
     "w cannot be used as a subtree condition in (tree ...) \n", "A "},
    {"(down (path (node (w A)) (w B)) (match (say)))",
     "PathCond: all arguments must be LExps that return 'TreeMatch*'", "A "},
    {"(down (t+ (w A)) (match (say)))", "In (t+ <LEXP>) <LEXP> must return TreeMatch*\n"},
    {"(down (node (is-leaf (w A))) (t))",
     "In (is-leaf <LEXP>) <LEXP> must return TreeMatch*\n"},
    {"(flat ((w A)) (match (say)))", "w cannot be used as a condition in tree rules.\n"},
    {"(root (exist-match (w A) :action (match (say))))",
     "In (exist-match <LEXP>) <LEXP> must return TreeMatch*\n"},
    {"(down (nosuch) (match (say)))", "LExp::get_exp:  unknown type: 'nosuch'\n"},
    {"(down SHALLOW (node (w C)) (match (say)))", "LExp::get_exp: SHALLOW is not a LExp\n"},
    {"(up)", ""},
    {"(flat)", ""},
    {"(flat x (say))", ""},
    {"(root)", ""},
    {"(sideways (node (t)) (match (say)))", ""},
    {"((up) (node (t)) (match (say)))", ""},
    {"up", ""},
};

TEST_F(TreeRulesTest, BadRuleTextIsReportedAndLeftOut) {
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.rules);
    g_log.clear();
    CaptureStderr();
    run(c.rules);
    EXPECT_EQ(GetCapturedStderr(), c.err);
    EXPECT_EQ(g_log, c.log);
    EXPECT_EQ(tree(), "A(B C(D) E F(G))");
  }
}

TEST_F(TreeRulesTest, FlatItemLeftOutTakesItsMarkersAlong) {
  CaptureStderr();
  // The second item is left out; its `?` does not pass to the third, which
  // stays required.
  run("(flat ((node (w B)) ? (w X) (node (w X))) (match 1 (say)))");
  EXPECT_EQ(GetCapturedStderr(), "w cannot be used as a condition in tree rules.\n");
  EXPECT_EQ(g_log, "");
}

TEST_F(TreeRulesTest, FlatRuleWithTooManyConditionsIsRefused) {
  std::string items;
  for (int i = 0; i < FlatRule::kMaxConditions; ++i) items += "? (node (t)) ";
  run("(flat shallow (" + items + ") (match 1 (say)))");
  EXPECT_EQ(g_log, "B ");
  g_log.clear();
  CaptureStderr();
  run("(flat shallow (" + items + "(node (t))) (match 1 (say)))");
  EXPECT_EQ(GetCapturedStderr(), "(flat ...) holds at most 32 conditions; the rule is ignored\n");
  EXPECT_EQ(g_log, "");
}

TEST_F(TreeRulesTest, ANameOfAnotherTypeIsNotTaken) {
  static int other = 0;
  register_named_obj("taken", &other, "Other");
  CaptureStderr();
  define("(def-tree-rules taken (root (say))) (def-tree-rules)");
  EXPECT_NE(GetCapturedStderr().find("not the expected type 'TreeModifier'"), std::string::npos);
  EXPECT_EQ(get_named_obj("taken", "Other", 0), &other);
}

TEST_F(TreeRulesTest, CommandsCarryTheirHelpTexts) {
  std::ostringstream out;
  CmdInterpreter::the_interpreter->list_entries(out, "def-tree-rules");
  CmdInterpreter::the_interpreter->list_entries(out, "clear-tree-rules");
  EXPECT_EQ(out.str(),
            "def-tree-rules\n(def-tree-rules <name> <rule> ... <rule>)\n\n"
            "clear-tree-rules\n(clear-tree-rules <name>)\n\n");
}

}  // namespace
}  // namespace lorvan
