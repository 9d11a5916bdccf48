// LExp: a compiled expression of the expression language, the small
// functional language in which rules, filters, hooks and conditions are
// written throughout the system.
//
// An expression is an S-expression whose head names an expression kind, for
// example (and (eq (int 1) (int 1)) (not (nil))).  LExp::get_exp compiles it
// once into a tree of LExp objects, which is then evaluated many times, each
// time on one input value.  Values are untyped pointers; integers travel as
// pointer-sized values (int_to_value / value_to_int).  Alongside every value
// travels an integer type id from the argument-type registry
// (command/arg_types.h); -1 means untyped and accepts anything.  A result is
// true when it is non-zero; predicates return 1 or their input for true.
//
// Every kind is a prototype registered by name (case-insensitively) in the
// "LExp" maker of the object factory.  Compiling a list duplicates the
// prototype named by its head, gives the copy the prototype's input and
// output types and lets it read its arguments in init().  A macro of the
// current name space with that name takes precedence: its expansion is
// compiled instead.
//
// Adding a kind.  Derive from LExp or one of the bases (CompExp, BinaryFunc,
// TernaryFunc, LAdaptor, MArgExp) and register one prototype from the
// module's _init function:
//
//   class StrLength : public LExp {
//    public:
//     StrLength() {
//       set_input_type(arg_type_id("char*"));
//       set_output_type(arg_type_id("int"));
//     }
//     const char* type_name() const override { return "str-length"; }
//     std::unique_ptr<LExp> duplicate() const override {
//       return std::make_unique<StrLength>(*this);
//     }
//     void* eval(void* input, int type) override {
//       if (!valid_arg_type(type) || input == nullptr) return nullptr;
//       return int_to_value(std::strlen(static_cast<const char*>(input)));
//     }
//   };
//   LExp::exp_proto(std::make_unique<StrLength>(), nullptr,
//                   "(str-length)\n    the length of the input string");
//
// For a plain function of the input and up to four argument values,
// construct a ZeroArgExp ... FourArgExp (expr/marg_exp.h) instead:
//
//   void* both(void* input, void* a, void* b) { ... }
//   LExp::exp_proto(std::make_unique<TwoArgExp>("both", both, "char*", "int",
//                                               "int", "int"),
//                   nullptr, "(both <lexp> <lexp>)");
//
// Ownership: an expression owns its sub-expressions (held as SubExp, which
// copies deeply), so duplicate() -- usually just the copy constructor -- never
// shares them.  get_exp and make_copy hand the new expression to the caller.
// Prototypes belong to the "LExp" maker.
//
// Process-wide and unguarded: the program is single-threaded.
#ifndef LORVAN_EXPR_LEXP_H_
#define LORVAN_EXPR_LEXP_H_

#include <cstdint>
#include <memory>
#include <vector>

namespace lorvan {

class IRSlist;

// Integers are carried as pointer-sized values.
inline void* int_to_value(long n) {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(n));
}
inline long value_to_int(const void* v) {
  return static_cast<long>(reinterpret_cast<std::intptr_t>(v));
}

class LExp {
 public:
  LExp() = default;
  LExp(const LExp&) = default;
  LExp& operator=(const LExp&) = delete;
  // Destroys the owned sub-expressions.
  virtual ~LExp() = default;

  // The help text; "No documentation provided" unless overridden.
  virtual const char* doc() const;
  // The kind's name, used in messages and as the default registration name.
  virtual const char* type_name() const = 0;
  // A deep copy.
  virtual std::unique_ptr<LExp> duplicate() const = 0;
  // Reads the arguments of a freshly duplicated prototype (the list after
  // the head; never null).  Argument errors are reported, never fatal.  The
  // default reads nothing.
  virtual void init(IRSlist* args);
  // The result on `input`, whose type id is `input_type` (-1: unknown).
  virtual void* eval(void* input, int input_type) = 0;

  // The type id accepted as input (-1: any) and the type id of the results
  // (-1: unknown or variable).
  int input_type() const { return input_type_; }
  int output_type() const { return output_type_; }
  void set_input_type(int t) { input_type_ = t; }
  void set_output_type(int t) { output_type_ = t; }

  // True when this kind accepts any input, `t` is untyped, or they agree;
  // otherwise reports arg_type_error(t) and gives false.  Kinds that declare
  // an input type call it first thing in eval().
  bool valid_arg_type(int t) const;
  // Prints on std::cerr "<type_name> received a wrong type of argument:'<t's
  // name>' (<t>)" and "The expected type of argument is:'<input type's
  // name>' (<input type>)", each on its own line.
  void arg_type_error(int t) const;

  // Registers `proto` under `name` (its type_name() when null) with the help
  // text `doc` (its doc() when null), running lexp_init() first if it has not
  // run.  A name already registered prints "Duplicate definition of <name>";
  // the first prototype stays and `proto` is destroyed.
  static void exp_proto(std::unique_ptr<LExp> proto, const char* name, const char* doc);
  // The prototype registered under `name` (case-insensitive), or null.
  static LExp* get_exp_proto(const char* name);

  // Compiles `e` into a new expression, or null.  Consumes the head of `e`.
  // An atom or empty node prints "LExp::get_exp: <text> is not a LExp"; an
  // unknown head prints "LExp::get_exp:  unknown type: '<name>'".  A macro
  // expanding to several expressions compiles to a prog of them.
  static std::unique_ptr<LExp> get_exp(IRSlist* e);
  // Compiles the first expression written in `text`.
  static std::unique_ptr<LExp> get_exp(const char* text);
  // e->duplicate(), or null for null.
  static std::unique_ptr<LExp> make_copy(const LExp* e);

 private:
  int input_type_ = -1;
  int output_type_ = -1;
};

// An owned sub-expression, possibly absent, that copies deeply: copying a
// SubExp duplicates the expression it holds.  Members of this type give
// expression classes correct copy constructors for free.
class SubExp {
 public:
  SubExp() = default;
  // Implicit, so a compiled expression can be stored where a SubExp is held.
  SubExp(std::unique_ptr<LExp> e) : e_(std::move(e)) {}
  SubExp(const SubExp& other) : e_(LExp::make_copy(other.get())) {}
  SubExp& operator=(const SubExp& other) {
    if (this != &other) e_ = LExp::make_copy(other.get());
    return *this;
  }
  SubExp(SubExp&&) noexcept = default;
  SubExp& operator=(SubExp&&) noexcept = default;

  LExp* get() const { return e_.get(); }
  LExp* operator->() const { return e_.get(); }
  LExp& operator*() const { return *e_; }
  explicit operator bool() const { return e_ != nullptr; }
  std::unique_ptr<LExp> release() { return std::move(e_); }

  // The held expression's result, or null when there is none.
  void* eval(void* input, int type) const {
    return e_ != nullptr ? e_->eval(input, type) : nullptr;
  }
  // The held expression's output type, or -1 when there is none.
  int output_type() const { return e_ != nullptr ? e_->output_type() : -1; }

 private:
  std::unique_ptr<LExp> e_;
};

// Compiles every element of `args` in order (null args: none).  An element
// that does not compile leaves an empty SubExp in its place, so positions
// are kept.
std::vector<SubExp> compile_each(IRSlist* args);

// The duplicate function of the "LExp" maker: a new copy of the prototype
// (an LExp*), or null for null.
void* dup_lexp(void* prototype);
// The deleter of the "LExp" maker and of named expressions.
void delLExp(void* e);

}  // namespace lorvan

#endif  // LORVAN_EXPR_LEXP_H_
