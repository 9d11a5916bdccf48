// Shared set-up of the dependency-structure tests: one interpreter with the
// property and attribute-vector registrations, the properties
//   dt-label (StrValue), dt-count (IntValue), dt-list (StrListValue),
// the attribute-vector type "dt-agr" (+/-plu, (per N), (num sg|pl)), and
// the printing switches back at their start values before every test.
#ifndef LORVAN_TESTS_DEPTREE_DEPS_TEST_FIXTURE_H_
#define LORVAN_TESTS_DEPTREE_DEPS_TEST_FIXTURE_H_

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "deptree/deps.h"
#include "deptree/deps_printer.h"
#include "deptree/trel_init.h"
#include "features/att_interpreter_list.h"
#include "features/features_commands.h"
#include "lbitset.h"

namespace lorvan::testing_deps {

class DepsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
    CmdInterpreter::the_interpreter->interactive(0);
    namedobj_init();
    trel_init();
    attvec_init();
    CmdInterpreter::the_interpreter->interpret(
        "(define-attribute dt-label StrValue)"
        "(define-attribute dt-count IntValue)"
        "(define-attribute dt-list StrListValue)"
        "(def-att-list dt-agr (defattribute plu BinAtt) (defattribute per IntAtt)"
        " (defattribute num DisjAtt (allowable-values sg pl)))");
  }

  DepsTest() {
    PRINT_GOV = 1;
    USE_ALIAS = 1;
    PRINT_DEPTREE_WEIGHT = 1;
  }

  // Most expected texts leave the governor roots and weights out.
  static void plain() {
    PRINT_GOV = 0;
    PRINT_DEPTREE_WEIGHT = 0;
  }

  static const AttInterpreterList* agr() { return AttInterpreterList::get_att_list("dt-agr"); }

  // Every attribute of dt-agr.
  static LBitSet all_atts() {
    LBitSet set;
    set.set(0, agr()->num_attributes() - 1);
    return set;
  }

  static std::string printed(Deps& deps, const LBitSet* atts = nullptr) {
    std::ostringstream out;
    deps.print(out, atts);
    return out.str();
  }

  // The text form of `text` read into a structure of `type`.
  static std::string reprinted(const std::string& text, const AttInterpreterList* type = nullptr,
                               const LBitSet* atts = nullptr) {
    Deps deps(type);
    deps.read(text.c_str());
    return printed(deps, atts);
  }
};

}  // namespace lorvan::testing_deps

#endif  // LORVAN_TESTS_DEPTREE_DEPS_TEST_FIXTURE_H_
