// Expression kinds that change the list-valued attributes (ListAtt and
// StackAtt, whose values are AVLists) of their input vector ("AttVec*"):
//
//   (delete-from-avlist ATT)             removes the first element of ATT
//   (move-att FROM TO)                   moves the first element of FROM to
//                                        the end of TO; FROM left empty is
//                                        undefined, TO undefined gets a
//                                        new list
//   (insert-into-avlist ATT EXP)         puts a copy of EXP's vector in
//                                        front of ATT
//   (rotate-and-insert-into-avlist ATT EXP)
//                                        replaces the first element of ATT
//                                        by a copy of EXP's vector and
//                                        appends the replaced one at the end
//
// Each takes ":interpreter TYPE" anywhere among its arguments (the current
// type by default); the attribute names come first.  Each returns its
// input, or null when the input is null, ATT (FROM) is undefined, or EXP
// gives null.  On an empty list delete-from-avlist and move-att change
// nothing, and rotate-and-insert-into-avlist only inserts.  EXP is
// evaluated on the kind's own input and type.
//
// An attribute that is not of a list kind is refused when compiled
// ("<kind>: the attribute <name> is not a list attribute") and the
// expression then yields null; so is an input whose attribute at that
// index is not a list ("<kind>: attribute <index> of the input is not a
// list attribute"), which happens when the input has another type.
//
// Sharing.  A list held by other vectors too is first replaced, in the
// input only, by a copy that shares the elements (copy-on-write), so the
// other holders keep the old list.  Elements are shared between lists;
// inserted vectors are fresh copies held by the list alone.
#ifndef LORVAN_FEATURES_LISTATT_EXPS_H_
#define LORVAN_FEATURES_LISTATT_EXPS_H_

#include <memory>

#include "expr/lexp.h"

namespace lorvan {

class AVList;
class AttInterpreterList;
class AttVec;

// The base: reads the keyword and the list attributes, checks the input.
class AVListExp : public LExp {
 public:
  AVListExp();
  void* eval(void* input, int type) final;

 protected:
  // Removes ":interpreter TYPE" from `args` and resolves the type (null,
  // after a message, makes the expression yield null).
  const AttInterpreterList* take_interpreter(IRSlist* args);
  // The index of the list attribute `name` of `type`, or -1 after a
  // message (the expression then yields null).
  int list_att(const AttInterpreterList* type, const char* name);
  // Whether attribute i of v is of a list kind; prints the message above
  // if not.
  bool is_list_att(const AttVec& v, int i) const;
  virtual void* eval_vec(AttVec& v, int type) = 0;

 private:
  bool usable_ = true;
};

class DeleteFromAVList : public AVListExp {
 public:
  const char* type_name() const override { return "delete-from-avlist"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<DeleteFromAVList>(*this);
  }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v, int type) override;

 private:
  int att_ = -1;
};

class MoveAtt : public AVListExp {
 public:
  const char* type_name() const override { return "move-att"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<MoveAtt>(*this); }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v, int type) override;

 private:
  int from_ = -1;
  int to_ = -1;
};

class InsertIntoAVList : public AVListExp {
 public:
  const char* type_name() const override { return "insert-into-avlist"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<InsertIntoAVList>(*this);
  }
  void init(IRSlist* args) override;

 protected:
  void* eval_vec(AttVec& v, int type) override;
  // The list of attribute att_ of v, made private to v (a new one when
  // there is none yet), and a fresh copy of EXP's vector for it; the list
  // is null when EXP gives null or att_ is undefined.  The copy is handed
  // over with no hold on it.
  AVList* prepare(AttVec& v, int type, AttVec*& copy);

 private:
  int att_ = -1;
  SubExp exp_;
};

class RotateAndInsertIntoAVList : public InsertIntoAVList {
 public:
  const char* type_name() const override { return "rotate-and-insert-into-avlist"; }
  std::unique_ptr<LExp> duplicate() const override {
    return std::make_unique<RotateAndInsertIntoAVList>(*this);
  }

 protected:
  void* eval_vec(AttVec& v, int type) override;
};

// Registers the four kinds above (and, through attvec_init, the list
// attribute kinds they work on).  Runs once; needs
// CmdInterpreter::the_interpreter.
void listatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_LISTATT_EXPS_H_
