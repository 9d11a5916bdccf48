#include "parser/builtin_atts.h"

#include <cstdint>

#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "features/avlist.h"

namespace lorvan {

namespace {

constexpr const char* kSyn = "syn";

struct NamedIndex {
  const char* name;
  int BuiltinAtts::*index;
};

constexpr NamedIndex kIndices[] = {
    {"args", &BuiltinAtts::args},         {"cm", &BuiltinAtts::cm},
    {"cat", &BuiltinAtts::cat},           {"cform", &BuiltinAtts::cform},
    {"check", &BuiltinAtts::check},       {"control", &BuiltinAtts::control},
    {"govern", &BuiltinAtts::govern},     {"guest", &BuiltinAtts::guest},
    {"head_final", &BuiltinAtts::head_final}, {"last_conj", &BuiltinAtts::last_conj},
    {"lexitem", &BuiltinAtts::lexitem},   {"move", &BuiltinAtts::move},
    {"node", &BuiltinAtts::node},         {"opt", &BuiltinAtts::opt},
    {"pform", &BuiltinAtts::pform},       {"rare", &BuiltinAtts::rare},
    {"ref", &BuiltinAtts::ref},           {"role", &BuiltinAtts::role},
    {"slash", &BuiltinAtts::slash},       {"trace", &BuiltinAtts::trace},
};

struct NamedValue {
  const char* attribute;
  const char* value;
  AttVal BuiltinAtts::*slot;
  const char* category;  // the category name of a "cat" value
};

constexpr NamedValue kValues[] = {
    {"cat", "n", &BuiltinAtts::cat_n, "N"},   {"cat", "v", &BuiltinAtts::cat_v, "V"},
    {"cat", "p", &BuiltinAtts::cat_p, "P"},   {"cat", "a", &BuiltinAtts::cat_a, "A"},
    {"cat", "i", &BuiltinAtts::cat_i, "I"},   {"cat", "c", &BuiltinAtts::cat_c, "C"},
    {"cat", "d", &BuiltinAtts::cat_d, "Det"}, {"cat", "j", &BuiltinAtts::cat_j, "Conn"},
    {"slash", "wh", &BuiltinAtts::slash_wh, nullptr},
};

}  // namespace

bool defines(const AttVec& v, int i) { return i >= 0 && v.defined(i); }

AttVal value_of(const AttVec& v, int i) { return defines(v, i) ? v.get_val(i) : 0; }

bool positive_in(const AttVec& v, int i) {
  return defines(v, i) && static_cast<long>(static_cast<std::intptr_t>(v.get_val(i))) > 0;
}

BuiltinAtts& builtin_atts() {
  static BuiltinAtts atts;
  return atts;
}

void lookup_builtin_atts() {
  BuiltinAtts& atts = builtin_atts();
  for (const NamedIndex& n : kIndices) atts.*n.index = AttInterpreterList::get_att(kSyn, n.name);
  for (const NamedValue& v : kValues) {
    atts.*v.slot = AttInterpreterList::get_val(kSyn, v.attribute, v.value);
  }
}

void* init_attributes(IRSlist* /*args*/) {
  lookup_builtin_atts();
  return nullptr;
}

const char* category(AttVal cat_value) {
  const BuiltinAtts& atts = builtin_atts();
  if (cat_value == 0) return "";
  for (const NamedValue& v : kValues) {
    if (v.category != nullptr && atts.*v.slot == cat_value) return v.category;
  }
  return "";
}

bool node_name(const AttVec& vec, std::string& out) {
  const BuiltinAtts& atts = builtin_atts();
  out.clear();
  if (defines(vec, atts.node)) {
    const char* node = vec.str_val(atts.node);
    if (node != nullptr) out = node;
    return !out.empty();
  }
  const char* own = category(value_of(vec, atts.cat));
  if (own[0] == '\0') return false;
  const auto* args = reinterpret_cast<const AVList*>(value_of(vec, atts.args));
  const bool head_final = positive_in(vec, atts.head_final);
  if (!head_final) out = own;
  for (int i = 0; args != nullptr && i < args->length(); ++i) {
    if (!head_final) out += '_';
    out += category(value_of(*(*args)[i], atts.cat));
    if (head_final) out += '_';
  }
  if (head_final) out += own;
  return true;
}

}  // namespace lorvan
