// S-expression nodes: reading, printing, argument accessors and copying.
#include "command/irslist.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "filestreams.h"
#include "lexical/tokenizer.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

// The text of a token that opens a quote of `t`: without the opening
// quote, and without the closing one when there is one.  Edits the token in
// place.
char* string_text(const TokenizerBase& t, char* token) {
  const std::size_t n = std::strlen(token);
  if (n >= 2 && t.closes_quote(token[0], token[n - 1])) token[n - 1] = '\0';
  return token + 1;
}

bool is_key(const IRSlist* node, const char* key) {
  return node->atom() && node->val() != nullptr &&
         lorvan::strcasecmp(node->val(), key) == 0;
}

IRSlist* find_key(const IRSlist& list, const char* key) {
  for (IRSlist* c = list.first(); c != nullptr; c = c->next()) {
    if (is_key(c, key)) return c;
  }
  return nullptr;
}

void report_missing(const char* key, bool quiet) {
  if (!quiet) std::cerr << "argument " << key << " is not found\n";
}

// How a childless node is written: its quote_white text, or "()".
const char* childless_form(const IRSlist& node) {
  return node.val() != nullptr ? StrBufs::quote_white(node.val()) : "()";
}

void put(std::ostream& out, const char* s) { out << s; }
void put(StrBufs& out, const char* s) { out.push(s); }

// Writes the elements of `list` separated by single spaces, each list
// element in parentheses.  Walks by the parent links instead of recursing.
template <class Sink>
void write_elements(Sink& out, const IRSlist& list) {
  const IRSlist* n = list.first();
  bool first_in_list = true;
  while (n != nullptr) {
    if (!first_in_list) put(out, " ");
    if (n->is_list()) {
      put(out, "(");
      n = n->first();
      first_in_list = true;
      continue;
    }
    put(out, childless_form(*n));
    first_in_list = false;
    while (n->next() == nullptr) {
      n = n->parent();
      if (n == &list) return;
      put(out, ")");
    }
    n = n->next();
  }
}

// Parses the start of `text` as a decimal integer / real number; false
// when it does not begin with one (`out` is then left alone).
bool parse_long(const char* text, long& out) {
  char* end;
  const long v = std::strtol(text, &end, 10);
  if (end == text) return false;
  out = v;
  return true;
}

bool parse_float(const char* text, float& out) {
  char* end;
  const float v = std::strtof(text, &end);
  if (end == text) return false;
  out = v;
  return true;
}

// The value of a positional argument's text by `parse`; 0 when it does not
// begin with a number.  No text prints "IRSlist::<accessor> expecting a
// string".
template <class T>
T number_of(const char* text, bool (*parse)(const char*, T&), const char* accessor) {
  T v = 0;
  if (text == nullptr) {
    std::cerr << "IRSlist::" << accessor << " expecting a string" << '\n';
  } else {
    parse(text, v);
  }
  return v;
}

// The number after the keyword `key` of `list` by `parse`, as get_arg_long
// and get_arg_float give it; `kind` names the number in the message.
template <class T>
bool keyword_number(const IRSlist& list, const char* key, T& out, bool quiet,
                    bool (*parse)(const char*, T&), const char* kind) {
  const IRSlist* value = list.get_arg(key, quiet);
  if (value == nullptr) return false;
  if (value->val() == nullptr) {
    std::cerr << "There must be " << kind << " after " << key << '\n';
    return false;
  }
  parse(value->val(), out);
  return true;
}

void report_not_an_atom(const IRSlist& node) {
  std::cerr << "expecting an atom. This is found instead:" << '\n' << '(';
  node.print_line(std::cerr);
  std::cerr << ')' << '\n';
}

// The text of an element taken as an atom: null for none; a list element
// is reported and gives null.
const char* atom_value(const IRSlist* element) {
  if (element == nullptr) return nullptr;
  if (element->is_list()) {
    report_not_an_atom(*element);
    return nullptr;
  }
  return element->val();
}

// Points `t` at `text` (null: no text) instead of its stream.
void read_text(Tokenizer& t, const char* text) {
  t.set_input_stream(nullptr);
  t.set_string_input(text != nullptr ? text : "", -1);
}

}  // namespace

char* token_text(const TokenizerBase& t, char* token) {
  return t.opens_quote(token[0]) ? string_text(t, token) : token;
}

// ---------------------------------------------------------------- reading

int IRSlist::read(TokenizerBase* t, char open, char close) {
  char* token = t->get_non_space_token();
  if (token == nullptr) return 0;
  val_ = nullptr;
  if (token[0] == open) {
    read_list(t, open, close);
    return 1;
  }
  if (token[0] == close) return 0;
  val_ = token_text(*t, token);
  return 1;
}

void IRSlist::read_list(TokenizerBase* t, char open, char close) {
  IRSlist* list = this;  // the innermost list still open
  for (char* token; (token = t->get_non_space_token()) != nullptr;) {
    if (token[0] == close) {
      if (list == this) return;
      list = list->parent();
      continue;
    }
    const bool opens = token[0] == open;
    auto* element = new IRSlist(opens ? nullptr : token_text(*t, token));
    list->append(element);
    if (opens) list = element;
  }
}

std::unique_ptr<IRSlist> make_irslist(const char* text, Tokenizer* t) {
  read_text(*t, text);
  auto node = std::make_unique<IRSlist>();
  node->read(t, '(', ')');
  return node;
}

std::unique_ptr<Tokenizer> make_command_tokenizer() {
  return std::make_unique<Tokenizer>(" \t\n\r", "();", "();,", "\"", '\\',
                                     ';', 4096, 512);
}

// --------------------------------------------------------------- printing

const IRSlist* irslist_print_root(const IRSlist* node, std::ostream& out) {
  if (node->is_list()) return nullptr;
  out << childless_form(*node);
  return node;
}

void IRSlist::print(std::ostream& out) const {
  RSlist::print(
      [](const RSlist* node, std::ostream& o) {
        irslist_print_root(static_cast<const IRSlist*>(node), o);
      },
      out, 0);
}

void IRSlist::print_line(std::ostream& out) const {
  write_elements(out, *this);
}

void IRSlist::print(StrBufs& out) const {
  if (!is_list()) {
    out.push(childless_form(*this));
    return;
  }
  out.push('(');
  write_elements(out, *this);
  out.push(')');
}

void prirsl(const IRSlist* node) {
  if (node == nullptr) {
    std::cerr << "nil";
  } else {
    node->print(std::cerr);
  }
}

// ------------------------------------------------------ positional values

const char* IRSlist::get_val() {
  const std::unique_ptr<IRSlist> element(remove_first());
  return atom_value(element.get());
}

const char* IRSlist::top_val() const { return atom_value(first()); }

const char* IRSlist::get_val(int i) const {
  const IRSlist* element = nth(i);
  return element != nullptr ? element->val() : nullptr;
}

long IRSlist::get_long_val() { return number_of(get_val(), parse_long, "get_long_val"); }
long IRSlist::get_long_val(int i) const {
  return number_of(get_val(i), parse_long, "get_long_val");
}
float IRSlist::get_float_val() { return number_of(get_val(), parse_float, "get_float_val"); }
float IRSlist::get_float_val(int i) const {
  return number_of(get_val(i), parse_float, "get_float_val");
}

// ---------------------------------------------------------------- keywords

IRSlist* IRSlist::get_arg(const char* key, bool quiet) const {
  const IRSlist* k = find_key(*this, key);
  IRSlist* value = k != nullptr ? k->next() : nullptr;
  if (value == nullptr) report_missing(key, quiet);
  return value;
}

bool IRSlist::get_arg_val(const char* key, const char*& out,
                          bool quiet) const {
  const IRSlist* value = get_arg(key, quiet);
  if (value == nullptr) return false;
  out = value->val();
  return true;
}

bool IRSlist::get_arg_long(const char* key, long& out, bool quiet) const {
  return keyword_number(*this, key, out, quiet, parse_long, "an integer");
}

bool IRSlist::get_arg_float(const char* key, float& out, bool quiet) const {
  return keyword_number(*this, key, out, quiet, parse_float, "a number");
}

std::unique_ptr<IRSlist> IRSlist::remove_arg(const char* key, bool quiet) {
  IRSlist* k = find_key(*this, key);
  if (k == nullptr) {
    report_missing(key, quiet);
    return nullptr;
  }
  IRSlist* value = k->next();
  delete k;  // detaches itself first
  if (value == nullptr) {
    report_missing(key, quiet);
    return nullptr;
  }
  value->detach();
  return std::unique_ptr<IRSlist>(value);
}

const char* IRSlist::remove_val(const char* key, bool quiet) {
  const std::unique_ptr<IRSlist> value = remove_arg(key, quiet);
  return value != nullptr ? value->val() : nullptr;
}

bool IRSlist::get_flag(const char* key) const {
  return find_key(*this, key) != nullptr;
}

bool IRSlist::remove_flag(const char* key) {
  IRSlist* k = find_key(*this, key);
  delete k;
  return k != nullptr;
}

// ----------------------------------------------------------------- helpers

void IRSlist::copy(const IRSlist& src, StrBufs& arena) {
  auto text_copy = [&arena](const IRSlist& n) {
    return arena.copy(n.val() != nullptr ? n.val() : "");
  };
  if (!src.is_list()) {
    val_ = text_copy(src);
    return;
  }
  // Walk src in pre-order by its parent links, mirroring it below `to`.
  IRSlist* to = this;
  const IRSlist* n = src.first();
  while (n != nullptr) {
    auto* c = new IRSlist(n->is_list() ? nullptr : text_copy(*n));
    to->append(c);
    if (n->is_list()) {
      to = c;
      n = n->first();
      continue;
    }
    while (n->next() == nullptr) {
      n = n->parent();
      if (n == &src) return;
      to = to->parent();
    }
    n = n->next();
  }
}

void IRSlist::getWords(const IRSlist* src, StrBufs& arena,
                       TSlist<const char*>& out) {
  if (src == nullptr) return;
  if (src->is_list()) {
    for (const IRSlist* c = src->first(); c != nullptr; c = c->next()) {
      out.append(arena.copy(c->val() != nullptr ? c->val() : ""));
    }
    return;
  }
  if (src->val() == nullptr) return;
  std::istream* in = make_istream(src->val());
  if (in == nullptr) return;
  while (const char* line = arena.getline(*in, true)) out.append(line);
  release_istream(in);
}

// ---------------------------------------------------------------- iterator

IRSlistInputIterator::IRSlistInputIterator(std::istream& in)
    : tokenizer_(make_command_tokenizer()) {
  reset(in);
}

IRSlistInputIterator::IRSlistInputIterator(const char* text)
    : tokenizer_(make_command_tokenizer()) {
  reset(text);
}

IRSlistInputIterator::~IRSlistInputIterator() = default;

void IRSlistInputIterator::clear() {
  current_.clear();
  current_.set_val(nullptr);
  tokenizer_->clear();
}

void IRSlistInputIterator::read_current() {
  read_one_ = current_.read(tokenizer_.get(), '(', ')') == 1;
}

void IRSlistInputIterator::reset(std::istream& in) {
  clear();
  tokenizer_->set_input_stream(&in);
  read_current();
}

void IRSlistInputIterator::reset(const char* text) {
  clear();
  read_text(*tokenizer_, text);
  read_current();
}

IRSlist* IRSlistInputIterator::next() {
  clear();
  read_current();
  return current();
}

IRSlist* IRSlistInputIterator::current() {
  return read_one_ || !tokenizer_->finished() ? &current_ : nullptr;
}

bool IRSlistInputIterator::finished() const {
  return tokenizer_->finished();
}

}  // namespace lorvan
