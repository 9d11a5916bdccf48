#include "parser/definition_commands.h"

#include <iostream>
#include <memory>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/att_interpreter_list.h"
#include "features/attvec.h"
#include "parser/builtin_atts.h"
#include "parser/dep_rel.h"
#include "parser/gcate.h"
#include "parser/vantic_parser.h"

namespace lorvan {

namespace {

VanticParser* parser() { return VanticParser::the_parser; }

GCate* current_category() { return parser() != nullptr ? GCate::the_category : nullptr; }

DepRel* current_relation() { return parser() != nullptr ? DepRel::the_deprel : nullptr; }

void interpret_rest(IRSlist* args) { CmdInterpreter::the_interpreter->interpret(args); }

// The attribute set named by the list `names` in the parser's type; other
// names print "GCate::get_atts: " name " is not an attribute name".
LBitSet get_atts(IRSlist* names) {
  const AttInterpreterList* type = parser()->att_type();
  LBitSet set(type != nullptr ? type->num_attributes() : 0);
  if (names == nullptr || type == nullptr) return set;
  for (IRSlist* e = names->first(); e != nullptr; e = e->next()) {
    int index = -1;
    if (e->val() != nullptr && type->search_att_index(e->val(), index) != nullptr) {
      set.set(index);
    } else {
      std::cerr << "GCate::get_atts: " << (e->val() != nullptr ? e->val() : "")
                << " is not an attribute name\n";
    }
  }
  return set;
}

// The attribute set of the names in `names`, in the parser's type.
LBitSet make_att_set(IRSlist* names) {
  LBitSet set;
  if (const AttInterpreterList* type = parser()->att_type()) type->make_att_set(set, names);
  return set;
}

std::unique_ptr<LExp> first_exp(IRSlist* args) {
  IRSlist* e = args->first();
  if (e == nullptr) return nullptr;
  return LExp::get_exp(e);
}

// ---- The parser ----

void* def_category(IRSlist* args) {
  if (parser() == nullptr) return nullptr;
  GCate* c = parser()->get_category(args->get_val(), 1);
  if (c == nullptr) return nullptr;
  GCate::the_category = c;
  interpret_rest(args);
  GCate::the_category = nullptr;
  return c;
}

void* def_modifiers(IRSlist* args) {
  if (parser() == nullptr) return nullptr;
  GCate* c = parser()->get_category(args->get_val(), 0);
  if (c == nullptr) return nullptr;
  GCate::the_category = c;
  c->def_modifiers(args);
  return c;
}

void* def_subcat(IRSlist* args) {
  if (parser() == nullptr) return nullptr;
  const char* name = args->get_val();
  const char* parent_name = args->get_val();
  GCate* c = parser()->get_category(name, 1);
  if (c == nullptr) return nullptr;
  GCate::the_category = c;
  GCate* parent = parser()->get_category(parent_name, 0);
  if (parent == nullptr) return nullptr;
  c->def_modifiers(args);
  LBitSet visible = parent->visible_atts();
  if (builtin_atts().cat >= 0) visible.set(builtin_atts().cat);
  c->visible_atts(visible);
  c->is_subcat(1);
  DepRel* rel = parent->new_relation(c);
  rel->type("subcat");
  parent->add_modifier(rel, parent->head());
  c->add_modifiee(rel);
  return c;
}

void* def_subclass(IRSlist* args) {
  if (parser() == nullptr) return nullptr;
  GCate* parent = parser()->get_category(args->get_val(), 0);
  if (parent == nullptr) return nullptr;
  for (IRSlist* e = args->first(); e != nullptr; e = e->next()) {
    if (!e->is_list()) continue;
    GCate* c = parser()->get_category(e->get_val(), 1);
    if (c == nullptr) continue;
    GCate::the_category = c;
    DepRel* rel = parent->new_relation(c);
    rel->type("subclass");
    rel->subclass(1);
    parent->add_modifier(rel, parent->num_positions());
    c->add_modifiee(rel);
    DepRel::the_deprel = rel;
    interpret_rest(e);
  }
  return parent;
}

void* def_conj_constraints(IRSlist* args) {
  if (parser() == nullptr) return nullptr;
  const char* name = args->get_val();
  GCate* c = parser()->get_category(name, 0);
  if (c == nullptr || c->conj_rel() == nullptr) {
    std::cerr << "def-conj-constraints: " << (name != nullptr ? name : "")
              << (c == nullptr ? " is not a defined category\n" : " has no conj-atts\n");
    return nullptr;
  }
  GCate::the_category = c;
  DepRel::the_deprel = c->conj_rel();
  interpret_rest(args);
  GCate::the_category = nullptr;
  DepRel::the_deprel = nullptr;
  return c;
}

// ---- The current category ----

void* visible_atts(IRSlist* args) {
  if (GCate* c = current_category()) c->visible_atts(get_atts(args->first()));
  return nullptr;
}

void* subcat_atts(IRSlist* args) {
  if (GCate* c = current_category()) c->subcat_atts(get_atts(args->first()));
  return nullptr;
}

void* conj_atts(IRSlist* args) {
  GCate* c = current_category();
  if (c == nullptr) return nullptr;
  IRSlist* identical = args->first();
  IRSlist* consistent = identical != nullptr ? identical->next() : nullptr;
  c->conj_atts(get_atts(identical), get_atts(consistent));
  return nullptr;
}

void* full_pitem_cond(IRSlist* args) {
  if (GCate* c = current_category()) c->full_pitem_cond(first_exp(args));
  return nullptr;
}

void* minimal_modifier_cond(IRSlist* args) {
  if (GCate* c = current_category()) c->minimal_modifier_cond(first_exp(args));
  return nullptr;
}

// ---- The current relation ----

void* modifier_cond(IRSlist* args) {
  if (DepRel* r = current_relation()) r->modifier_cond(first_exp(args));
  return nullptr;
}

void* modifiee_cond(IRSlist* args) {
  if (DepRel* r = current_relation()) r->modifiee_cond(first_exp(args));
  return nullptr;
}

void* merged_cond(IRSlist* args) {
  if (DepRel* r = current_relation()) r->merged_cond(first_exp(args));
  return nullptr;
}

void* head_cond(IRSlist* args) {
  if (DepRel* r = current_relation()) r->head_cond(first_exp(args));
  return nullptr;
}

void* dep_type(IRSlist* args) {
  if (DepRel* r = current_relation()) r->type(args->get_val());
  return nullptr;
}

void* max_dist(IRSlist* args) {
  if (DepRel* r = current_relation()) r->max_dist(static_cast<int>(args->get_long_val()));
  return nullptr;
}

void* check_arg(IRSlist* args) {
  if (DepRel* r = current_relation()) r->check_arg(static_cast<int>(args->get_long_val()));
  return nullptr;
}

void* allow_guest(IRSlist* /*args*/) {
  if (DepRel* r = current_relation()) r->no_guest(0);
  return nullptr;
}

// A new weight moves the relation to its place among the modifier
// category's relations, which are offered items by ascending weight.
void* dep_weight(IRSlist* args) {
  DepRel* r = current_relation();
  if (r == nullptr) return nullptr;
  r->weight(args->get_float_val());
  if (r->modifier() != nullptr) r->modifier()->resort_modifiee(r);
  return nullptr;
}

void* check_slash(IRSlist* args) {
  DepRel* r = current_relation();
  const AttInterpreterList* type = AttVec::the_itp_list;
  int index = -1;
  if (r == nullptr || type == nullptr || type->search_att_index("check", index) == nullptr) {
    return nullptr;
  }
  r->check_slash(static_cast<unsigned>(type->interpreter(index)->make_val(args)));
  return nullptr;
}

void* percolate(IRSlist* args) {
  if (DepRel* r = current_relation()) r->percolating_atts(make_att_set(args));
  return nullptr;
}

void* block(IRSlist* args) {
  if (DepRel* r = current_relation()) r->mutable_percolating_atts() -= make_att_set(args);
  return nullptr;
}

// ---- Parser settings ----

void* default_percolating_atts(IRSlist* args) {
  if (parser() != nullptr) parser()->default_percolating_atts(make_att_set(args));
  return nullptr;
}

void* roots(IRSlist* args) {
  if (parser() != nullptr) parser()->roots(args);
  return nullptr;
}

struct Command {
  const char* name;
  CmdHandler handler;
  const char* help;
};

constexpr Command kCommands[] = {
    {"def-vantic-parser", def_vantic_parser,
     "(def-vantic-parser name size-of-hash att-type lex-attributes output-attributes "
     "default-percolating-attributes max-weight-difference ...)"},
    {"def-category", def_category,
     "(def-category CATEGORY COMMAND1 .... COMMANDn) define a category."},
    {"def-modifiers", def_modifiers,
     "(def-modifiers POSITION1 .... POSITIONn) define the modifiers of a category which this "
     "def-modifiers command is inside the def-category command of."},
    {"def-subcat", def_subcat,
     "(def-subcat cat parent MODIFIER1 .... MODIFIERn) define a subcategory."},
    {"def-subclass", def_subclass,
     "(def-subcat parent CATEGORY1 ... CATEGORYn) define subclasses of parent. CAGEGORYi is in "
     "the same format as the arguments of def-category command."},
    {"def-conj-constraints", def_conj_constraints, nullptr},
    {"visible-atts", visible_atts,
     "(visible-atts (att1 att2 ...)) define the attributes that are to be propagated to the "
     "parent nodes (unless they are explicitly blocked)."},
    {"subcat-atts", subcat_atts,
     "(subcat-atts (att1 att2 ...)) define the attributes that are percolated from "
     "subcategories."},
    {"conj-atts", conj_atts,
     "(conj-atts (att1 ... attn) (att1' ... attn')) the conjuncts must have identical values "
     "for att1 ... attn and consistent values of att1' ... attn'."},
    {"full-pitem-cond", full_pitem_cond,
     "(full-pitem-cond LExp) if a pitem satisfies this condition, it is considered to be "
     "complete and sent to parent nodes."},
    {"minimal-modifier-cond", minimal_modifier_cond,
     "(minimal-modifier-cond LExp) if a modifier satisfies this condition, it is consider to be "
     "minimal modifier. In other words, if something could possibly be a modifier at the "
     "position, then it must be."},
    {"modifier-cond", modifier_cond,
     "(modifier-cond LExp) the condition that must be satisfied by a modifier."},
    {"modifiee-cond", modifiee_cond,
     "(modifiee-cond LExp) the condition that must be satisfied by a modifiee."},
    {"merged-cond", merged_cond,
     "(merged-cond LExp) the condition that must be satisfied by a merged item."},
    {"head-cond", head_cond,
     "(head-cond LExp) the condition that must be satisfied by a head item for it to be "
     "projected to a higher level."},
    {"dep-type", dep_type, "(dep-type name) the name of the type of a dependency relation."},
    {"max-dist", max_dist, "(max-dist dist) the maximum distance between modifier and modifiee."},
    {"check-arg", check_arg,
     "(check-arg index) make sure the args attribute of the head is consistant with the "
     "attribute of the index'th modifier."},
    {"allow-guest", allow_guest, "(allow-guest) allow guest items."},
    {"dep-weight", dep_weight,
     "(dep-weight weight) assign a weight to a dependency relation (this command must be part "
     "of def-modifiers command)."},
    {"check-slash", check_slash,
     "(check-slash att1 att2) att1 and att2 are values of checker attribute"},
    {"percolate", percolate, nullptr},
    {"block", block, nullptr},
    {"default-percolating-atts", default_percolating_atts, nullptr},
    {"roots", roots, "(roots (CATEGORY1 COND1) (CATEGORY2 COND2) ...)"},
};

}  // namespace

void* def_vantic_parser(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "def-vantic-parser: a parser needs a name\n";
    return nullptr;
  }
  auto parser = std::make_unique<VanticParser>(name);
  NamedObjEntry* entry = register_named_obj(name, parser.get(), "VanticParser", delVanticParser);
  if (entry == nullptr || entry->object != parser.get()) return nullptr;
  VanticParser* p = parser.release();
  VanticParser::the_parser = p;
  p->init(args);
  return p;
}

void definition_commands_init() {
  for (const Command& c : kCommands) {
    CmdInterpreter::the_interpreter->enter(c.name, c.handler, c.help);
  }
}

}  // namespace lorvan
