#include "features/att_interpreter.h"

#include <iostream>

#include "byte_reader.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "command/obj_factory.h"
#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "strbufs.h"

namespace lorvan {
namespace {

constexpr const char* kMakerName = "AttIntepreter";

void* duplicate_prototype(void* prototype) {
  return prototype != nullptr ? static_cast<const AttInterpreter*>(prototype)->new_interp()
                              : nullptr;
}

// The maker holding the kind prototypes, made on first use.  It has no
// deleter: prototypes are entered straight into its table, so they are
// permanent and stay with the kinds that made them.
ObjMaker& prototype_maker() {
  ObjMaker* maker = ObjFactory::the_factory.val(kMakerName);
  if (maker == nullptr) {
    maker = new ObjMaker(duplicate_prototype, nullptr, 23);
    ObjFactory::the_factory.enter(kMakerName, maker, "Maker for the kinds of attributes");
  }
  return *maker;
}

// A node written on one line: an atom's text, a list's elements.
void print_on_one_line(std::ostream& out, const IRSlist* s) {
  if (s == nullptr) return;
  if (s->is_list()) {
    s->print_line(out);
  } else if (s->val() != nullptr) {
    out << s->val();
  }
}

}  // namespace

// ---------------------------------------------------------------- base

AttInterpreter::~AttInterpreter() = default;

const char* AttInterpreter::type_name() const { return "AttInterpreter"; }

AttVal AttInterpreter::name2val(const char* text) {
  std::cerr << "Oops! The attribute '" << name() << "' cannot have '"
            << (text != nullptr ? text : "") << "' as value\n";
  return 0;
}

void AttInterpreter::init(IRSlist* facets) {
  if (facets == nullptr || facets->first() == nullptr) return;
  std::cerr << "Unrecognized facet description for attribute " << name() << " ";
  facets->print_line(std::cerr);
  std::cerr << '\n';
}

void AttInterpreter::intersect(AttVec* v, const AttVec* w) {
  if (!v->defined(index_)) return;
  if (!w->defined(index_) || cmp_vals(att_val(v), att_val(w)) != 0) v->undefine(index_);
}

void AttInterpreter::minus(AttVec* v, const AttVec* w) {
  if (v->defined(index_) && w->defined(index_) && cmp_vals(att_val(v), att_val(w)) == 0) {
    v->undefine(index_);
  }
}

int AttInterpreter::unify_val(AttVec* v, int index, AttVal x, int doit) {
  if (v->defined(index)) return att_val(v) == x ? 1 : 0;
  if (doit != 0) v->set_val(index, x);
  return 1;
}

void AttInterpreter::modify_val(AttVec* v, int index, AttVal x) { v->set_val(index, x); }

void AttInterpreter::del_val(AttVec*) {}

int AttInterpreter::cmp_vals(AttVal a, AttVal b) const { return a == b ? 0 : 2; }

void AttInterpreter::print(std::ostream& out, const AttVec* v) {
  const char* s = str_val(att_val(v));
  if (s == nullptr) return;
  if (s[0] == '+' || s[0] == '-' || s[0] == '~') {
    out << s[0] << name();
  } else {
    out << '(' << name() << ' ' << s << ')';
  }
}

const char* AttInterpreter::str_val(AttVal) {
  std::cerr << "invalid AttType for AttVec::str_val\n";
  return nullptr;
}

AttVal AttInterpreter::make_val(IRSlist* s) {
  const char* text = s != nullptr && s->is_list() ? s->get_val(0) : get_att_val(s);
  if (text != nullptr && text[0] == '~') return 0;
  std::cerr << "AttInterpreter " << name() << " doesn't know how to make value: ";
  print_on_one_line(std::cerr, s);
  std::cerr << '\n';
  return 0;
}

AttVal AttInterpreter::get_val(const char*) {
  std::cerr << "AttInterpreter::get_val(const char* value) should not be called by "
            << type_name() << '\n';
  return static_cast<AttVal>(-1);
}

bool AttInterpreter::releases_values() const { return true; }

void AttInterpreter::discard_val(AttVal) {}

// ------------------------------------------------------ static operations

void AttInterpreter::attitp_proto(const AttInterpreter* proto) {
  if (proto == nullptr) return;
  prototype_maker().table().enter(proto->type_name(), const_cast<AttInterpreter*>(proto));
}

const AttInterpreter* AttInterpreter::get_attitp_proto(const char* kind) {
  if (kind == nullptr) return nullptr;
  return static_cast<const AttInterpreter*>(prototype_maker().prototype(kind));
}

AttInterpreter* AttInterpreter::get_attitp(const char* kind) {
  const AttInterpreter* proto = get_attitp_proto(kind);
  if (proto == nullptr) {
    std::cerr << "AttInterpreter::get_attitp:  unknown type: " << (kind != nullptr ? kind : "")
              << '\n';
    return nullptr;
  }
  return proto->new_interp();
}

const char* AttInterpreter::get_att_val(IRSlist* s) {
  if (s == nullptr) return nullptr;
  return s->is_list() ? s->top_val() : s->val();
}

void AttInterpreter::name(const char* text) {
  if (text == nullptr) {
    std::cerr << "AttInterpreter::name(<name>): <name> must not be nil.\n";
    return;
  }
  name_ = text;
}

// ---------------------------------------------------------------- LongVAtt

void LongVAtt::update_list(AttInterpreterList* list) {
  storage_position(list->take_word_position());
}

AttVal LongVAtt::att_val(const AttVec* v) const { return v->word(storage_position()); }

void LongVAtt::set_val(AttVec* v, AttVal x) { v->set_word(storage_position(), x); }

void LongVAtt::pack(const AttVec* v, StrBufs& out) const {
  out.push_long(static_cast<long>(static_cast<std::uint32_t>(att_val(v))));
}

void LongVAtt::unpack(AttVec* v, ByteReader& in) {
  const unsigned x = in.get_unsigned_int();
  if (in.ok()) set_val(v, x);
}

bool LongVAtt::releases_values() const { return false; }

// ---------------------------------------------------------------- CharAtt

void CharAtt::update_list(AttInterpreterList* list) {
  storage_position(list->take_byte_position());
}

AttVal CharAtt::att_val(const AttVec* v) const { return v->byte(storage_position()); }

void CharAtt::set_val(AttVec* v, AttVal x) {
  v->set_byte(storage_position(), static_cast<unsigned char>(x & 0xff));
}

void CharAtt::pack(const AttVec* v, StrBufs& out) const {
  out.push_char(static_cast<char>(att_val(v)));
}

void CharAtt::unpack(AttVec* v, ByteReader& in) {
  const char c = in.get_char();
  if (in.ok()) set_val(v, static_cast<unsigned char>(c));
}

bool CharAtt::releases_values() const { return false; }

// -------------------------------------------------------------- ComplexAtt

void ComplexAtt::init(IRSlist* facets) {
  if (facets == nullptr) return;
  for (IRSlist* facet = facets->first(); facet != nullptr; facet = facet->next()) {
    if (!facet->is_list()) continue;
    const char* head = facet->get_val(0);
    if (head == nullptr || std::string_view(head) != "interpreter") continue;
    const char* type = facet->get_val(1);
    nested_ = type != nullptr
                  ? static_cast<AttInterpreterList*>(get_named_obj(type, "AttInterpreterList", 1))
                  : nullptr;
  }
}

bool ComplexAtt::releases_values() const { return true; }

AttInterpreterList* ComplexAtt::nested_type() const {
  return nested_ != nullptr ? nested_ : owner();
}

const char* ComplexAtt::keep_text(std::string text) {
  text_ = std::move(text);
  return text_.c_str();
}

}  // namespace lorvan
