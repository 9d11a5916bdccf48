// Black-box tests of attribute-vector types, vectors and aliases through
// parsedemo: the start-up file declares a type, command lines make vectors
// as aliases and print them.  Every input line prints parsedemo's command
// flag "1" before its own output, and the end of the input one more "1".
#include <gtest/gtest.h>

#include <string>

#include "support/run_parsedemo.h"

namespace lorvan::testsupport {
namespace {

const char* const kStartUp =
    "(def-att-list syn\n"
    "  (defattribute plu BinAtt)\n"
    "  (defattribute num DisjAtt (allowable-values sg pl))\n"
    "  (defattribute per IntAtt)\n"
    "  (defattribute agr VecAtt))\n"
    "(alias 3sg (make-av ((num sg) (per 3))))\n";

TEST(FeaturesBlackBox, VectorsMadeOnCommandLinesPrintWithAndWithoutAliases) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(alias x (make-av (+plu (num pl sg) (agr (3sg)))))\n"
                              "~(alias y (make-av (3sg -plu)))\n"
                              "~(print-alias *)\n"
                              "~(print-alias y)\n");
  EXPECT_EQ(r.status, 0);
  // y is more specific than 3sg, so 3sg waits for it; x, comparable to
  // neither, keeps its place.  Nested vectors print with aliases.
  EXPECT_EQ(r.out,
            "111x: (+plu (num sg pl) (agr (3sg)))\n"
            "y: (-plu (num sg) (per 3))\n"
            "3sg: ((num sg) (per 3))\n"
            "1(-plu (num sg) (per 3))\n"
            "1\n");
  EXPECT_EQ(r.err, "");
}

TEST(FeaturesBlackBox, BadDefinitionsAndVectorTextsAreReportedAndSkipped) {
  RunResult r = run_parsedemo(std::string(kStartUp) +
                                  "(def-att-list syn (defattribute plu BinAtt) (defattribute w Wrong))\n",
                              "~(alias bad (make-av (+plu bogus (per 2) () (num sg))))\n"
                              "~(make-av nosuch (+plu))\n"
                              "~(print-alias bad)\n"
                              "~(print-alias none)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "111(+plu (per 2))\n1none is not an alias1\n");
  EXPECT_EQ(r.err,
            "Mutiplely defined attribute: plu\n"
            "AttInterpreter::get_attitp:  unknown type: Wrong\n"
            "Unknown attribute bogus\n"
            "() is used as attribute name.\n"
            "The named object 'nosuch' (type=AttInterpreterList) is not found\n");
}

TEST(FeaturesBlackBox, AliasesSurviveASaveClearAndLoad) {
  RunResult r = run_parsedemo(kStartUp,
                              "~(alias pl (make-av (+plu (num pl))))\n"
                              "~(save-aliases \"saved.dat\")\n"
                              "~(clear-alias all)\n"
                              "~(print-alias *)\n"
                              "~(load-aliases saved)\n"
                              "~(print-alias *)\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1111113sg: ((num sg) (per 3))\npl: (+plu (num pl))\n1\n");
  EXPECT_EQ(r.err, "");
}

TEST(FeaturesBlackBox, ACutAliasFileIsReportedAndTheProgramGoesOn) {
  // One whole record for "a" (+plu), then a record cut short.
  const std::string file = std::string("\0\0\0\x04" "a\0\x00\x05", 8) + std::string("\0\0\0\x09" "b\0", 6);
  RunResult r = run_parsedemo(kStartUp,
                              "~(clear-alias all)\n"
                              "~(load-aliases cut)\n"
                              "~(print-alias *)\n",
                              {"-d"}, {{"cut.dat", file}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "111a: (+plu)\n1\n");
  EXPECT_NE(r.err.find("load-aliases: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("cut.dat: truncated record\n"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace lorvan::testsupport
