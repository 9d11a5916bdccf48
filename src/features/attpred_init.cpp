#include "features/attpred_init.h"

#include <memory>

#include "expr/lexp.h"
#include "features/attpred.h"
#include "features/attpred_consts.h"
#include "features/attpred_unify2.h"
#include "features/features_commands.h"
#include "features/listatt_exps.h"

namespace lorvan {

void attpred_init() {
  static bool done = false;
  if (done) return;
  done = true;
  attvec_init();
  LExp::exp_proto(std::make_unique<AttDefPred>(), nullptr,
                  "(defined [<att-type>] (<att> ...))\n"
                  "    Returns the input if all the listed attributes are defined in it,\n"
                  "    0 otherwise.");
  LExp::exp_proto(std::make_unique<AttDefOnePred>(), nullptr,
                  "(defined-one-of [<att-type>] (<att> ...))\n"
                  "    Returns the input if one of the listed attributes is defined in it,\n"
                  "    0 otherwise.");
  LExp::exp_proto(std::make_unique<AttUnDefPred>(), nullptr,
                  "(undefine [<att-type>] (<att> ...))\n"
                  "    Removes the values of the listed attributes from the input.\n"
                  "    Returns the input.");
  LExp::exp_proto(std::make_unique<AttDefAndUnifiablePred>(), nullptr,
                  "(strict-unifiable [<att-type>] (<att> ...) (<attvec>))\n"
                  "    Returns the input if one of the listed attributes is defined in it\n"
                  "    and <attvec> is unifiable with it, 0 otherwise.");
  LExp::exp_proto(std::make_unique<AttUnifiablePred>(), nullptr,
                  "(unifiable [<att-type>] (<attvec>))\n"
                  "    Returns the input if <attvec> can be unified into it, 0 otherwise.\n"
                  "    The input is not changed.");
  LExp::exp_proto(std::make_unique<AttUnifyPred>(), nullptr,
                  "(unify [<att-type>] (<attvec>))\n"
                  "    Unifies <attvec> into the input. Returns the input, or 0 if the\n"
                  "    unification fails.");
  LExp::exp_proto(std::make_unique<AttModifyPred>(), nullptr,
                  "(modify [<att-type>] (<attvec>))\n"
                  "    Overwrites the attributes of the input with those of <attvec>.\n"
                  "    Returns the input.");
  LExp::exp_proto(std::make_unique<AttContainPred>(), nullptr,
                  "(contain [<att-type>] (<attvec>))\n"
                  "    Returns the input if it is at least as specific as <attvec> on the\n"
                  "    attributes of <attvec>, 0 otherwise.");
  LExp::exp_proto(std::make_unique<AttValPred>(), nullptr,
                  "(value <att> [<value-type>] [<att-type>] [<lexp>])\n"
                  "    Returns the value of <att> in the input (0 if undefined). With\n"
                  "    <lexp>, returns the result of <lexp> on the value, which is passed\n"
                  "    as a <value-type> (AttVal by default).");
  LExp::exp_proto(std::make_unique<AttStrVal>(), nullptr,
                  "(att-str-val <att> [<att-type>])\n"
                  "    Returns the value of <att> in the input as a string, 0 if undefined.");
  LExp::exp_proto(std::make_unique<AttVec2Str>(), nullptr,
                  "(attvec2str)\n"
                  "    Returns the input printed as a string, using the aliases.");
  LExp::exp_proto(std::make_unique<AttVecConst>(), nullptr,
                  "(attvec [<att-type>] (<attvec>))\n"
                  "    Always returns the attribute value vector <attvec>.");
  LExp::exp_proto(std::make_unique<AttSetConst>(), nullptr,
                  "(att-set [<att-type>] [not] (<att> ...))\n"
                  "    Always returns the set of the listed attributes; with not, the set\n"
                  "    of all the other attributes.");
  LExp::exp_proto(std::make_unique<AttIndex>(), nullptr,
                  "(att-index <att-type> <att>)\n"
                  "    Always returns the index of <att> in <att-type> (-1 if unknown).");
  LExp::exp_proto(std::make_unique<AttUnify2Pred>(), nullptr,
                  "(unify2 [<att-type>] <lexp1> <lexp2> [(<att> ...)])\n"
                  "    Unifies the attribute value vector returned by <lexp2> into the one\n"
                  "    returned by <lexp1>, on the listed attributes only when they are\n"
                  "    given. Returns the vector of <lexp1>.");
  LExp::exp_proto(std::make_unique<AttUnifiable2Pred>(), nullptr,
                  "(unifiable2 [<att-type>] <lexp1> <lexp2> [(<att> ...)])\n"
                  "    Returns 1 if the attribute value vector returned by <lexp2> can be\n"
                  "    unified into the one returned by <lexp1> (on the listed attributes\n"
                  "    only when they are given) or if either is missing, 0 otherwise.");
  listatt_init();
}

}  // namespace lorvan
