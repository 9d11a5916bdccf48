#include "parser/parser_weights.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>

#include "command/arg_types.h"
#include "features/avlist.h"
#include "features/traceatt.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lex_item.h"
#include "parser/builtin_atts.h"
#include "parser/dep_rel.h"
#include "parser/gcate.h"
#include "parser/pitem.h"
#include "parser/vantic_parser.h"
#include "parser/weight_commands.h"
#include "strbufs.h"

namespace lorvan {

namespace {

// Fixed costs of the triple weights.
constexpr float kBadTripleWeight = 80.0f;
constexpr float kMaxTraceWeight = 40.0f;
constexpr float kMinDistanceWeight = 0.1f;
// First block of the arena the strings of one triple weight are built in.
constexpr std::size_t kTripleArenaBlock = 1280;

bool is_prep_item(const PItem* item) {
  const BuiltinAtts& atts = builtin_atts();
  return atts.cat_p != 0 && item->val_is(atts.cat, atts.cat_p);
}

bool is_empty(const char* s) { return s == nullptr || *s == '\0'; }

// The role of the first trace of the head's first movement that the
// modifier can fill, or null.
const char* movement_role(const DepRel* rel, const PItem* head, const PItem* modifier) {
  const BuiltinAtts& atts = builtin_atts();
  unsigned mask = rel->check_slash();
  if (modifier->defined(atts.check)) mask |= static_cast<unsigned>(modifier->get_val(atts.check));
  const AVList* moves = avlist_val(head->attvec(), atts.move);
  if (moves == nullptr || atts.slash < 0) return nullptr;
  for (int k = 0; k < moves->length(); ++k) {
    const AttVec* v = (*moves)[k];
    if (v == nullptr || !v->defined(atts.slash)) continue;
    if ((static_cast<unsigned>(v->get_val(atts.slash)) & mask) == 0) continue;
    if (!modifier->unifiable(*v)) continue;
    const TraceVal* t = trace_val(*v);
    if (t != nullptr && !t->empty()) return t->list().front().name;
  }
  return nullptr;
}

// The probability the relation database gives the triple; 1 without one.
// No module makes triple databases yet (set-reldb finds none and says so),
// so every triple is certain and only distances and forbidden triples
// weigh; the database's getProb(head, rel, modifier) belongs here.
double triple_prob(TripleDb*, const char*, const char*, const char*) { return 1.0; }

}  // namespace

const AVList* avlist_val(const AttVec& vec, int att) {
  return att >= 0 && vec.defined(att) ? reinterpret_cast<const AVList*>(vec.get_val(att)) : nullptr;
}

const TraceVal* trace_val(const AttVec& vec) {
  const int att = builtin_atts().trace;
  return att >= 0 && vec.defined(att) ? reinterpret_cast<const TraceVal*>(vec.get_val(att))
                                      : nullptr;
}

const LexItem* lexitem_val(const AttVec& vec) {
  const int att = builtin_atts().lexitem;
  return att >= 0 && vec.defined(att) ? reinterpret_cast<const LexItem*>(vec.get_val(att))
                                      : nullptr;
}

const char* arg_role(const PItem* item, int k) {
  const BuiltinAtts& atts = builtin_atts();
  const AVList* args = avlist_val(item->attvec(), atts.args);
  if (args == nullptr || k < 0 || k >= args->length() || atts.role < 0) return nullptr;
  const AttVec* arg = (*args)[k];
  return arg != nullptr && arg->defined(atts.role) ? arg->str_val(atts.role) : nullptr;
}

const char* get_dep_type(DepRel* rel, PItem* head, PItem* modifier) {
  const BuiltinAtts& atts = builtin_atts();
  if (is_prep_item(modifier) && modifier->defined(atts.pform)) return modifier->str_val(atts.pform);
  if (rel == nullptr) return nullptr;
  const char* type = rel->type();
  if (type != nullptr && std::strncmp(type, "comp", 4) == 0 && head->defined(atts.args)) {
    // The first complement of a head-final category sits at position 0,
    // which has no element before it; it is weighed under the type.
    const char* role = arg_role(head, rel->position() - 1);
    return role != nullptr ? role : type;
  }
  if (head->defined(atts.move)) {
    const char* role = movement_role(rel, head, modifier);
    if (role != nullptr) return role;
  }
  return type;
}

const char* get_pos(PItem* item, StrBufs& arena) {
  const GCate* c = item->location();
  const char* name = c != nullptr ? c->name() : "";
  if (std::strcmp(name, "NN") == 0) return "N";
  if (std::strcmp(name, "I") == 0) return "V";
  const char* underscore = std::strchr(name, '_');
  if (underscore == nullptr) return name;
  return arena.copy(std::string_view(name, static_cast<std::size_t>(underscore - name)));
}

PItem* init_item(PItem* item) {
  while (item != nullptr && item->head() != nullptr) item = item->head();
  return item;
}

const char* PItem::head_word(bool root) {
  LexItem* l = lexitem();
  const DepRel* r = deprel();
  const bool subcat_head = head() != nullptr && r != nullptr && r->type() != nullptr &&
                           std::strcmp(r->type(), "subcat") == 0;
  if (l == nullptr && (modifier() != nullptr || subcat_head)) return head()->head_word(root);
  if (l == nullptr) return "";
  if (root) {
    const char* text = l->root();
    if (is_empty(text)) return "";
    const char* slash = text[0] == '{' ? std::strchr(text, '/') : nullptr;
    if (slash == nullptr) return text;
    return l->analyzer()->strbufs().copy(
        std::string_view(text + 1, static_cast<std::size_t>(slash - text - 1)));
  }
  if (l->head() > 0) return l->analyzer()->word(l->head());
  return "";
}

const char* VanticParser::get_head_word(PItem* item) {
  const char* word = item->head_word(true);
  if (!is_empty(word)) return word;
  const char* cform = item->str_val(builtin_atts().cform);
  return is_empty(cform) ? "~" : cform;
}

float VanticParser::weight_of_word(const char* word) {
  LExp* e = weights_of_words();
  if (e == nullptr || word == nullptr) return 0.0f;
  static const int char_type = arg_type_id("char*");
  return static_cast<float>(value_to_int(e->eval(const_cast<char*>(word), char_type)));
}

float VanticParser::get_weight(PItem* item) {
  PItem* h = item->head();
  PItem* m = item->modifier();
  DepRel* r = item->deprel();
  if (h == nullptr || m == nullptr) return 0.0f;
  const float rel_weight = r != nullptr ? r->weight() : 0.0f;
  const float residual =
      std::max(0.0f, 0.5f * (item->weight() - h->weight() - m->weight() - rel_weight));
  if (h->defined(builtin_atts().lexitem) || is_prep_item(h)) h = init_item(h);
  const TraceVal* traces = trace_val(item->attvec());
  if (traces == nullptr) return get_weight(h, m, get_dep_type(r, h, m)) + residual;
  PItem* target = m->defined(builtin_atts().move) ? h : m;
  float best = kMaxTraceWeight;
  for (const TraceRec& rec : traces->list()) {
    if (rec.item != nullptr) best = std::min(best, get_weight(rec.item, target, rec.name));
  }
  return best + residual;
}

float VanticParser::get_weight(PItem* head, PItem* modifier, const char* type) {
  if (modifier == nullptr) return -1.0f;
  float best = get_weight_aux(head, modifier, type);
  for (PItem* m = modifier->eq_pitem(); m != nullptr; m = m->eq_pitem()) {
    best = std::min(best, get_weight_aux(head, m, type));
  }
  return best;
}

float VanticParser::get_weight_aux(PItem* head, PItem* modifier, const char* type) {
  static StrBufs arena(kTripleArenaBlock);
  arena.clear();
  const BuiltinAtts& atts = builtin_atts();
  const char* hw = get_head_word(head);
  const char* mw = get_head_word(modifier);
  const int a = head->head_position();
  const int b = modifier->head_position();
  const int d = lex_analyzer() != nullptr ? lex_analyzer()->dist(a, b) : std::abs(a - b);
  const float dw = std::max(kMinDistanceWeight, -std::log(dist().get_prob(type, d)));

  const char* hp = get_pos(head, arena);
  const char* rel = type != nullptr ? type : "";
  if (is_prep_item(head) && type != nullptr && std::strcmp(type, "subj") == 0) {
    const LexItem* l = head->lexitem();
    hp = l != nullptr && l->cate() != nullptr ? l->cate() : "C";
    const char* pform = head->str_val(atts.pform);
    rel = arena.concat(type, "-", pform != nullptr ? pform : "");
  }
  const char* mp = get_pos(modifier, arena);
  if (std::strcmp(mw, "_NUM") == 0 || std::strcmp(mp, "Appo") == 0 ||
      std::strcmp(mp, "PRO") == 0 || std::strcmp(mp, "P") == 0) {
    mp = "N";
  }
  const char* key_rel = arena.concat(hp, ":", rel, ":", mp);
  if (std::strcmp(hp, "Prep") == 0) return dw;

  const char* key = arena.concat(hw, "\t", key_rel, "\t", mw);
  if (is_bad_triple(key)) return kBadTripleWeight;
  float w = 0.0f;
  if (prob_cache().find(key, w)) return w + dw;
  // + 0 turns the -0 of a certain triple into 0.
  w = static_cast<float>(-std::log(triple_prob(reldb(), hw, key_rel, mw))) + 0.0f;
  prob_cache().store(key, w);
  if (DEBUGW != 0) {
    std::cerr << hw << "\t" << key_rel << "\t" << mw << "\t" << "0" << "/" << "0" << "=" << w
              << " distp=" << dw << "\n";
  }
  return w + dw;
}

}  // namespace lorvan
