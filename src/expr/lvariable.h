// LVariable: a variable of the expression language, and the stack of
// compile-time scopes in which variables are declared and found.
//
// A variable holds one value and the type id of the values it accepts (-1:
// any); assign() refuses a value of another type with a message.  push() and
// pop() save and restore (value, type) around a binding form (let, function
// calls), which is what makes nested bindings of one variable work; push()
// also makes the variable untyped until the matching pop().
//
// Scopes exist only while expressions are compiled: a referring expression
// binds the LVariable object itself when it is compiled, never a name at
// evaluation time.  The stack starts with the global scope (23 buckets),
// which is never removed; declarations go into the innermost scope and
// look-ups search from the innermost outwards, case-insensitively.  A
// compiler that binds variables (let, defun, tree rules) opens a scope with
// declare_variables() or open_scope(), compiles, then calls close_scope().
//
// Ownership: variables are reference-counted through VarRef and destroyed
// when the last reference goes.  Each scope holds a reference to every
// variable declared in it, so a variable lives at least as long as its
// scope; the global scope, and so every global variable, lives until the
// process ends.
//
// Process-wide and unguarded: the program is single-threaded.
#ifndef LORVAN_EXPR_LVARIABLE_H_
#define LORVAN_EXPR_LVARIABLE_H_

#include <string>
#include <utility>
#include <vector>

namespace lorvan {

class IRSlist;
class VarRef;

class LVariable {
 public:
  LVariable(const LVariable&) = delete;
  LVariable& operator=(const LVariable&) = delete;

  const std::string& name() const { return name_; }
  void* value() const { return value_; }
  int type() const { return type_; }
  int ref_count() const { return refs_; }

  // Stores `value` when the variable is untyped or `t` is its type;
  // otherwise prints "the variable <name> is assigned an incompatible type:
  // <t's name>. The expected type is: <type's name>" and keeps the old
  // value.  The type never changes by assignment.
  void assign(void* value, int t);
  // Saves (value, type) and makes the variable untyped; the value stays.
  void push();
  // Restores the (value, type) saved last; nothing when none is saved.
  void pop();

  // ---- Scopes ----

  // Declares a variable of type `type` in the innermost scope and returns
  // it.  A name already declared in that scope prints "Duplicate definition
  // of <name>" and gives the variable already there.
  static LVariable* declareVar(const char* name, int type);
  // The variable called `name` in the innermost scope that has one, or null.
  static LVariable* getVar(const char* name);
  // For a list node: opens a scope sized for its elements and declares each
  // -- an atom is a name of type -1, a list is (name type-name) -- appending
  // a reference to each to `out`; returns true.  A null list, an atom or an
  // empty node opens nothing and returns false.
  static bool declare_variables(const IRSlist* list, std::vector<VarRef>& out);
  // Pushes a new innermost scope of `size` buckets (at least 11).
  static void open_scope(unsigned size);
  // Removes the innermost scope, releasing its references; never removes
  // the global scope.
  static void close_scope();
  // The number of scopes, the global one included.
  static int scope_depth();

 private:
  friend class VarRef;
  LVariable(const char* name, int type) : name_(name), type_(type) {}

  void add_ref() { ++refs_; }
  void release() {
    if (--refs_ == 0) delete this;
  }

  int refs_ = 0;
  std::string name_;
  void* value_ = nullptr;
  int type_;
  std::vector<std::pair<void*, int>> saved_;
};

// A counted reference to a variable (or none).
class VarRef {
 public:
  VarRef() = default;
  explicit VarRef(LVariable* v) : v_(v) {
    if (v_ != nullptr) v_->add_ref();
  }
  VarRef(const VarRef& other) : VarRef(other.v_) {}
  VarRef(VarRef&& other) noexcept : v_(std::exchange(other.v_, nullptr)) {}
  VarRef& operator=(VarRef other) noexcept {
    std::swap(v_, other.v_);
    return *this;
  }
  ~VarRef() {
    if (v_ != nullptr) v_->release();
  }

  LVariable* get() const { return v_; }
  LVariable* operator->() const { return v_; }
  explicit operator bool() const { return v_ != nullptr; }

 private:
  LVariable* v_ = nullptr;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_LVARIABLE_H_
