// The built-in attributes of the parser: the attributes of the
// attribute-vector type "syn" that the chart parser itself reads and writes
// (subcategorization lists, movements, case marks, the lexical item behind
// an item ...), looked up once by the command init-attributes, and the few
// values of "cat" and "slash" that the parser compares against.
//
// The indices live in one process-wide record; an index is -1 until
// init-attributes has found the attribute (a missing attribute prints the
// look-up's message and stays -1).  The accessors below and PItem's treat
// an index of -1 as an attribute that is never defined.
#ifndef LORVAN_PARSER_BUILTIN_ATTS_H_
#define LORVAN_PARSER_BUILTIN_ATTS_H_

#include <string>

#include "features/att_interpreter.h"

namespace lorvan {

class AttVec;
class IRSlist;

struct BuiltinAtts {
  int args = -1;        // AVList of subcategorized complements
  int cm = -1;          // case-marking status
  int cat = -1;         // part of speech
  int cform = -1;       // form string used without a head word
  int check = -1;       // mask of movement kinds a head may bind
  int control = -1;     // positive: movement lists are not combined
  int govern = -1;      // government flag of case-mark checking
  int guest = -1;       // negative: not an intervening adjunct
  int head_final = -1;  // positive: complements precede the head
  int last_conj = -1;   // the item already holds a final conjunct
  int lexitem = -1;     // the LexItem* an item was built from
  int move = -1;        // AVList of pending movements
  int node = -1;        // explicit category name of a meaning
  int opt = -1;         // optional argument
  int pform = -1;       // preposition form
  int rare = -1;        // rare-use flag
  int ref = -1;         // reference attribute
  int role = -1;        // role of an argument or movement
  int slash = -1;       // kind of a movement
  int trace = -1;       // TraceVal of an item
  // Values of "cat" (0 until looked up).
  AttVal cat_a = 0, cat_c = 0, cat_d = 0, cat_i = 0, cat_j = 0, cat_n = 0, cat_p = 0, cat_v = 0;
  // The wh-movement value of "slash".
  AttVal slash_wh = 0;
};

// Whether v defines attribute i (false for an index not looked up), and its
// value (0 when undefined).
bool defines(const AttVec& v, int i);
AttVal value_of(const AttVec& v, int i);
// Defined and, read as a signed number, above 0.
bool positive_in(const AttVec& v, int i);

// The process-wide record.
BuiltinAtts& builtin_atts();

// Looks every built-in attribute and value up in the type "syn".  Run by the
// command init-attributes; may be run again after "syn" changed.
void lookup_builtin_atts();

// The handler of the command init-attributes (no arguments; result null).
void* init_attributes(IRSlist* args);

// The category name of a part of speech: the "cat" value n -> "N", v -> "V",
// p -> "P", a -> "A", i -> "I", c -> "C", d -> "Det", j -> "Conn"; any
// other value (or 0) -> "".
const char* category(AttVal cat_value);

// The node name of a lexical vector into `out`: its "node" value when
// defined; otherwise the category name of its "cat" joined by "_" with
// those of its "args" elements -- the arguments first for a head-final
// vector (N_V), after it otherwise (V_N_C).  False (out empty) when the
// vector's own category name is empty.
bool node_name(const AttVec& vec, std::string& out);

}  // namespace lorvan

#endif  // LORVAN_PARSER_BUILTIN_ATTS_H_
