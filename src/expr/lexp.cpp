#include "expr/lexp.h"

#include <iostream>
#include <vector>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "expr/comp_exp.h"
#include "expr/lexp_init.h"

namespace lorvan {

namespace {

// Compilation recurses once per nesting level (and once per macro expansion
// inside it).  Deeper than this -- in practice only a macro that expands to
// itself -- compilation is abandoned instead of exhausting the stack.
constexpr int kMaxNesting = 2000;

int nesting_depth = 0;
// Set when the limit was hit; everything compiled until the outermost
// get_exp returns is then dropped without further messages.
bool nesting_exceeded = false;

class NestingLevel {
 public:
  NestingLevel() { ++nesting_depth; }
  ~NestingLevel() {
    if (--nesting_depth == 0) nesting_exceeded = false;
  }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;

  // False (after one message for the whole compilation) once too deep.
  bool allowed(const char* name) const {
    if (nesting_exceeded) return false;
    if (nesting_depth <= kMaxNesting) return true;
    nesting_exceeded = true;
    std::cerr << "LExp::get_exp: expressions nested deeper than " << kMaxNesting
              << " levels at '" << name << "'; the expression is left out\n";
    return false;
  }
};

ObjMaker* lexp_maker() {
  static ObjMaker* maker = nullptr;
  if (maker == nullptr) {
    lexp_init();
    maker = ObjFactory::the_factory.val("LExp");
  }
  return maker;
}

// Compiles every top-level expression of a macro expansion: null for none,
// the expression itself for one, a prog of them for several.
std::unique_ptr<LExp> compile_expansion(const char* text) {
  std::vector<std::unique_ptr<LExp>> parts;
  IRSlistInputIterator it(text);
  for (IRSlist* e = it.current(); e != nullptr; e = it.next()) {
    if (std::unique_ptr<LExp> part = LExp::get_exp(e)) parts.push_back(std::move(part));
  }
  if (parts.empty()) return nullptr;
  if (parts.size() == 1) return std::move(parts.front());
  auto prog = std::make_unique<CompExp>();
  for (std::unique_ptr<LExp>& part : parts) prog->add(std::move(part));
  return prog;
}

}  // namespace

const char* LExp::doc() const { return "No documentation provided"; }

void LExp::init(IRSlist* /*args*/) {}

bool LExp::valid_arg_type(int t) const {
  if (input_type_ == -1 || t == -1 || t == input_type_) return true;
  arg_type_error(t);
  return false;
}

void LExp::arg_type_error(int t) const {
  std::cerr << type_name() << " received a wrong type of argument:'" << arg_type_label(t)
            << "' (" << t << ")\n"
            << "The expected type of argument is:'" << arg_type_label(input_type_) << "' ("
            << input_type_ << ")\n";
}

void LExp::exp_proto(std::unique_ptr<LExp> proto, const char* name, const char* doc) {
  if (proto == nullptr) return;
  ObjMaker* maker = lexp_maker();
  if (name == nullptr) name = proto->type_name();
  if (doc == nullptr) doc = proto->doc();
  maker->enter(name, proto.release(), doc);
}

LExp* LExp::get_exp_proto(const char* name) {
  if (name == nullptr) return nullptr;
  return static_cast<LExp*>(lexp_maker()->prototype(name));
}

std::unique_ptr<LExp> LExp::get_exp(IRSlist* e) {
  if (e == nullptr) return nullptr;
  if (!e->is_list()) {
    std::cerr << "LExp::get_exp: " << (e->val() != nullptr ? e->val() : "()")
              << " is not a LExp\n";
    return nullptr;
  }
  const char* name = e->get_val();
  if (name == nullptr) return nullptr;
  NestingLevel level;
  if (!level.allowed(name)) return nullptr;
  if (const char* expansion = getmacro(name, e)) return compile_expansion(expansion);
  const LExp* proto = get_exp_proto(name);
  if (proto == nullptr) {
    std::cerr << "LExp::get_exp:  unknown type: '" << name << "'\n";
    return nullptr;
  }
  std::unique_ptr<LExp> exp = proto->duplicate();
  exp->set_input_type(proto->input_type());
  exp->set_output_type(proto->output_type());
  exp->init(e);
  return exp;
}

std::unique_ptr<LExp> LExp::get_exp(const char* text) {
  if (text == nullptr) return nullptr;
  IRSlistInputIterator it(text);
  return get_exp(it.current());
}

std::unique_ptr<LExp> LExp::make_copy(const LExp* e) {
  return e != nullptr ? e->duplicate() : nullptr;
}

std::vector<SubExp> compile_each(IRSlist* args) {
  std::vector<SubExp> out;
  if (args == nullptr) return out;
  for (IRSlist* a = args->first(); a != nullptr; a = a->next()) out.emplace_back(LExp::get_exp(a));
  return out;
}

void* dup_lexp(void* prototype) {
  if (prototype == nullptr) return nullptr;
  return static_cast<LExp*>(prototype)->duplicate().release();
}

void delLExp(void* e) { delete static_cast<LExp*>(e); }

}  // namespace lorvan
