// IRSlist: a node of an S-expression, the form of everything the program is
// told at run time (command files, lexicon files, rule files, command lines).
//
// A node is exactly one of
//   - a list node: at least one child; val() is null;
//   - an atom: no children and a non-null text (possibly "");
//   - an empty node: no children and a null text, written "()".
// atom() (from RSlist) is true for atoms and empty nodes alike.
//
// Ownership: a node owns its children (destroying a node destroys its
// subtree).  It never owns its text: atoms made by the reader point into
// the token arena of the tokenizer that read them, so they are valid only
// until that tokenizer's clear().  The command interpreter clears it before
// each top-level command; a handler that keeps a string copies it.
//
// Command handlers receive their argument list as one IRSlist and take
// arguments with the accessors below.  Keyword and flag look-ups compare
// atoms with the case-insensitive lorvan::strcasecmp and never match list
// or empty elements.  A keyword accessor whose `quiet` flag is false prints
// "argument <key> is not found" on std::cerr when the keyword, or the
// element after it, is missing.
//
// Reading, printing and copying walk the tree without recursion, so deeply
// nested input cannot exhaust the stack.
#ifndef LORVAN_COMMAND_IRSLIST_H_
#define LORVAN_COMMAND_IRSLIST_H_

#include <iosfwd>
#include <memory>

#include "iterator.h"
#include "lexical/tokenizer.h"
#include "rslist.h"
#include "slist.h"
#include "strbufs.h"

namespace lorvan {

class IRSlist : public RSlist {
 public:
  // A node without children whose text is `text` (null: an empty node).
  explicit IRSlist(const char* text = nullptr) : val_(text) {}

  // ---- Node ----

  const char* val() const { return val_; }
  void set_val(const char* text) { val_ = text; }
  bool is_list() const { return !atom(); }

  IRSlist* parent() const { return static_cast<IRSlist*>(RSlist::parent()); }
  IRSlist* first() const { return static_cast<IRSlist*>(RSlist::first()); }
  IRSlist* last() const { return static_cast<IRSlist*>(RSlist::last()); }
  IRSlist* next() const { return static_cast<IRSlist*>(RSlist::next()); }
  IRSlist* prev() const { return static_cast<IRSlist*>(RSlist::prev()); }
  IRSlist* nth(int i) const { return static_cast<IRSlist*>(RSlist::nth(i)); }
  bool append(IRSlist* child) { return RSlist::append(child); }
  bool insert(IRSlist* child) { return RSlist::insert(child); }
  // Detaches and returns the first child (the caller owns it), or null.
  IRSlist* remove_first() {
    return static_cast<IRSlist*>(RSlist::remove_first());
  }

  // ---- Reading ----

  // Reads one expression from `t` into this node: a list's elements are
  // appended to the children, an atom's text becomes val().  Returns 1 when
  // an expression was read; 0 when the next token is `close` (val() is then
  // null) or the input is exhausted.  A token that begins with one of the
  // tokenizer's quote characters is a string: the quotes are removed.  A list left open at the end
  // of the input is taken as closed.
  int read(TokenizerBase* t, char open = '(', char close = ')');
  // Appends elements read from `t` until a `close` token or the end of the
  // input.
  void read_list(TokenizerBase* t, char open = '(', char close = ')');

  // ---- Printing ----

  // Indented form followed by a line end: a list child starts a new line
  // two spaces deeper, and an atom after a list child starts a new line.
  // "(a b (c d) e)" prints as "(a b\n  (c d)\n  e)\n".
  void print(std::ostream& out) const;
  // This node's elements on one line, separated by single spaces, without
  // the outer parentheses and without a line end.  Atoms are written with
  // StrBufs::quote_white, empty nodes as "()".
  void print_line(std::ostream& out) const;
  // The complete one-line form ("(" elements ")" for a list) appended to
  // the arena's current string, which is left unfinished for the caller.
  void print(StrBufs& out) const;

  // ---- Positional arguments ----

  // Removes the first element and returns its text; null when there is no
  // element or it is an empty node.  A list element prints "expecting an
  // atom. This is found instead:" and the list, and gives null; the element
  // is consumed either way.
  const char* get_val();
  // The same without removing the element.
  const char* top_val() const;
  // The text of element i (0-based); null when out of range or textless.
  const char* get_val(int i) const;
  // get_val() / get_val(i) read as a decimal integer; 0 when the text does
  // not begin with a number.  No text: prints "IRSlist::get_long_val
  // expecting a string" and gives 0.
  long get_long_val();
  long get_long_val(int i) const;
  // The same for a real number ("IRSlist::get_float_val expecting a
  // string").
  float get_float_val();
  float get_float_val(int i) const;

  // ---- Keyword arguments (key: an atom such as ":size") ----

  // The element after the first atom equal to `key`, or null.
  IRSlist* get_arg(const char* key, bool quiet) const;
  // True, with `out` set to that element's text (null for a list), when
  // found; otherwise false and `out` is left alone.
  bool get_arg_val(const char* key, const char*& out, bool quiet) const;
  // Found with a text: true, and `out` = its integer value (left alone when
  // the text does not begin with a number).  Found without a text: prints
  // "There must be an integer after <key>" and gives false.
  bool get_arg_long(const char* key, long& out, bool quiet) const;
  // The same for a real number ("There must be a number after <key>").
  bool get_arg_float(const char* key, float& out, bool quiet) const;
  // Removes the key and the element after it and returns that element,
  // which the caller now owns; null when not found.  A key that is the last
  // element counts as not found, but has been removed.
  std::unique_ptr<IRSlist> remove_arg(const char* key, bool quiet);
  // remove_arg(), returning the removed element's text.
  const char* remove_val(const char* key, bool quiet);

  // ---- Flags ----

  // Whether some atom equals `key`.
  bool get_flag(const char* key) const;
  // Removes the first atom equal to `key`; whether there was one.
  bool remove_flag(const char* key);

  // ---- Helpers ----

  // For a source with children: appends a deep copy of them to this node.
  // For a source without: sets this node's text.  Every text is copied
  // into `arena`; a missing text is copied as "" (so an empty node copies
  // as an atom with empty text).
  void copy(const IRSlist& src, StrBufs& arena);

  // Collects words into `out`.  An atom names an input, opened with
  // make_istream() ('-': standard input; otherwise the search path), whose
  // lines (without line ends) are the words; a list contributes the texts
  // of its elements ("" for a textless one); null and empty nodes add
  // nothing.  Every word is copied into `arena`.
  static void getWords(const IRSlist* src, StrBufs& arena,
                       TSlist<const char*>& out);

 private:
  const char* val_;
};

// The atom text of a token `t` read that is neither an open nor a close
// token: one that begins with a quote character of `t` loses its quotes (a
// string left open at the end of the input keeps its last character);
// any other is returned as it is.  Edits the token in place.
char* token_text(const TokenizerBase& t, char* token);

// Writes an atom as its quote_white text, an empty node as "()", and
// returns the node; for a list node writes nothing and returns null.
const IRSlist* irslist_print_root(const IRSlist* node, std::ostream& out);

// Debugging aid: print(std::cerr), or "nil" for null.
void prirsl(const IRSlist* node);

// A tokenizer configured for the command language: white " \t\n\r", start
// "();", middle "();,", the double quote as the only quote, escape '\\',
// comment ';', arena block 4096, input buffer 512.  Has no input yet.
std::unique_ptr<Tokenizer> make_command_tokenizer();

// Reads one expression of `text` into a new node.  `t` is given a copy of
// `text` as its input (its previous input is forgotten); the atoms live in
// `t`'s arena.  The node is empty when `text` holds no expression.
std::unique_ptr<IRSlist> make_irslist(const char* text, Tokenizer* t);

// Walks the top-level expressions of a stream or a text:
//
//   IRSlistInputIterator it(stream);
//   for (IRSlist* e = it.current(); e != nullptr; e = it.next()) use(e);
//
// The iterator owns its command-language tokenizer and the current node.
// Each next() or reset() destroys the current node and invalidates the
// atom texts of the previous expression.  The stream is not owned and must
// outlive the reading.
class IRSlistInputIterator : public Iterator {
 public:
  explicit IRSlistInputIterator(std::istream& in);
  explicit IRSlistInputIterator(const char* text);
  ~IRSlistInputIterator() override;

  IRSlistInputIterator(const IRSlistInputIterator&) = delete;
  IRSlistInputIterator& operator=(const IRSlistInputIterator&) = delete;

  // Start over on a new input and read its first expression.
  void reset(std::istream& in);
  void reset(const char* text);

  // Reads the next expression; returns current().
  IRSlist* next();
  // The current expression; null once the input is exhausted without
  // another expression.  A stray ')' yields an empty node.
  IRSlist* current();
  // Whether the tokenizer has reached the end of its input.
  bool finished() const;

 private:
  // Clears the current node, the arena and the put-back list.
  void clear();
  void read_current();

  std::unique_ptr<Tokenizer> tokenizer_;
  IRSlist current_;
  bool read_one_ = false;  // the last read produced an expression
};

}  // namespace lorvan

#endif  // LORVAN_COMMAND_IRSLIST_H_
