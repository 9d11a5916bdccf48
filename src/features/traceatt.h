// TraceAtt: the attribute kind that records traces of moved constituents.
// Only the parser fills it; command files cannot write trace values.
//
// The value word points to a shared TraceVal, or is null: a reference
// count and a singly linked list of TraceRec entries, each a role name and
// the parse item where the movement originated (neither owned).  Two
// defined values unify by union: with doit, every entry of the other list
// that the stored one lacks (same name pointer, same item) is put at the
// front of the stored list, after copy-on-write of a shared list.  Values
// compare equal only when they are the same list.  Traces are not
// serialised: pack and unpack do nothing.
//
// Printing shows each entry's name and, for an item that holds a lexical
// item, that item's root and category.  The parser, which knows its items,
// supplies that part through set_item_printer().
//
// Ownership: a TraceVal owns its entries, not what they point to; values
// are reference-counted by the vectors holding them (set_val / del_val).
#ifndef LORVAN_FEATURES_TRACEATT_H_
#define LORVAN_FEATURES_TRACEATT_H_

#include <forward_list>
#include <iosfwd>

#include "features/att_interpreter.h"
#include "features/attvec.h"
#include "features/shared_value.h"

namespace lorvan {

class PItem;

// One trace entry.
struct TraceRec {
  const char* name = nullptr;  // the role; not owned
  PItem* item = nullptr;       // where the movement originated; not owned

  bool operator==(const TraceRec&) const = default;
};

class TraceVal : public RefCounter {
 public:
  using List = std::forward_list<TraceRec>;

  TraceVal() = default;
  // A copy of the entries, in the same order; the new count is 0.
  TraceVal(const TraceVal& other) : RefCounter(), list_(other.list_) {}
  TraceVal& operator=(const TraceVal&) = delete;

  List& list() { return list_; }
  const List& list() const { return list_; }
  bool empty() const { return list_.empty(); }
  // Puts r at the front.
  void push(const TraceRec& r) { list_.push_front(r); }
  bool contains(const TraceRec& r) const;

 private:
  List list_;
};

class TraceAtt : public LongVAtt {
 public:
  // Writes " " root " " category for an item that holds a lexical item in
  // its "lexitem" attribute, nothing otherwise.
  using ItemPrinter = void (*)(std::ostream& out, const PItem* item);
  // Sets the printer used for every trace entry (null: entries show their
  // names only).
  static void set_item_printer(ItemPrinter printer);

  const char* type_name() const override;
  AttInterpreter* new_interp() const override;
  bool releases_values() const override;

  // Stores x (a hold on it) unless it is the stored value already; the
  // value it replaces loses a hold.
  void set_val(AttVec* v, AttVal x) override;
  // Drops the hold on the stored value and stores null.
  void del_val(AttVec* v) override;
  // Not defined in v: stores x when `doit`; 1.  Defined: x null ->
  // whether the stored value is null; stored null -> 0; otherwise 1, and
  // with `doit` the union described above.
  int unify_val(AttVec* v, int index, AttVal x, int doit) override;
  // Always 0; an argument list with an element prints
  // "TraceAtt::make_val(IRSlist*) fails with argument: ", the list on one
  // line and a line end.
  AttVal make_val(IRSlist* s) override;
  // ~name for null, nothing for an empty list, else "(" name, then for
  // each entry " (" its name (or "unknown") and the item printer's text
  // ")", then ")".
  void print(std::ostream& out, const AttVec* v) override;
  void pack(const AttVec* v, StrBufs& out) const override;
  void unpack(AttVec* v, ByteReader& in) override;

 private:
  static TraceVal* as_trace(AttVal x) { return reinterpret_cast<TraceVal*>(x); }
  TraceVal* stored(const AttVec* v) const {
    return shared_value<TraceVal>(v, storage_position());
  }
  // Copy-on-write: the stored value, made private to v first when shared.
  TraceVal* own_stored(AttVec* v) { return own_shared<TraceVal>(v, storage_position()); }

  static ItemPrinter item_printer_;
};

// Registers the TraceAtt prototype.  Runs once.
void traceatt_init();

}  // namespace lorvan

#endif  // LORVAN_FEATURES_TRACEATT_H_
