#include "parser/vantic_parser.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "command/irslist.h"
#include "command/named_obj.h"
#include "deptree/deps.h"
#include "features/att_interpreter_list.h"
#include "features/avlist.h"
#include "features/traceatt.h"
#include "lexical/lex_analyzer.h"
#include "lexical/lex_item.h"
#include "lexical/lex_item_freq.h"
#include "lexical/tokenizer.h"
#include "lexicon/avmeaning.h"
#include "lexicon/lex_entry.h"
#include "parser/builtin_atts.h"
#include "parser/gcate.h"
#include "parser/pitem.h"
#include "parser/weight_commands.h"
#include "searchpath.h"
#include "timer.h"

namespace lorvan {

VanticParser* VanticParser::the_parser = nullptr;
int VanticParser::MAX_PITEMS = 40000;

namespace {

constexpr unsigned kDefaultTableSize = 197;
// Bounds on :hashtable-size, so a wild value cannot exhaust memory.
constexpr long kMinTableSize = 11;
constexpr long kMaxTableSize = 1L << 20;
constexpr unsigned kBadTripleBuckets = 19997;
constexpr int kDistBuckets = 1979;
constexpr std::size_t kInitialPool = 2000;
constexpr std::size_t kInitialSeeds = 200;
constexpr float kDefaultFreqCount = 18.0f;

const char* keyword_text(IRSlist* args, const char* key, const char* fallback) {
  const char* text = fallback;
  args->get_arg_val(key, text, true);
  return text;
}

std::unique_ptr<LExp> keyword_exp(IRSlist* args, const char* key) {
  IRSlist* e = args->get_arg(key, true);
  return e != nullptr && e->is_list() ? LExp::get_exp(e) : nullptr;
}

// Adds to `set` the index of every attribute of `type` named in the list
// after `key`; other names print `what` ": " name " is not an attribute
// name".  With `remove` the indices are taken out instead.
void read_att_list(IRSlist* args, const char* key, const AttInterpreterList& type, LBitSet& set,
                   const char* what, bool remove) {
  IRSlist* list = args->get_arg(key, true);
  if (list == nullptr) return;
  for (IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    int index = -1;
    if (e->val() == nullptr || type.search_att_index(e->val(), index) == nullptr) {
      std::cerr << what << ": " << (e->val() != nullptr ? e->val() : "")
                << " is not an attribute name\n";
      continue;
    }
    if (remove) {
      set.clear(index);
    } else {
      set.set(index);
    }
  }
}

// Sets the weight of a lexical item that has none from the word
// frequencies of its entry: a compound item sums its components.
void freq_weight_of(LexItem* item) {
  const char* key = item->lex_entry() != nullptr ? item->lex_entry()->key() : item->root();
  if (key == nullptr || key[0] == '\0' || item->weight() != 0.0f) return;
  if (item->components().empty()) {
    set_freq_count(item, kDefaultFreqCount);
    return;
  }
  float total = 0.0f;
  for (LexItem* c : item->components()) {
    freq_weight_of(c);
    total += c->weight();
  }
  item->weight(static_cast<float>(static_cast<long>(total)));
}

}  // namespace

VanticParser::VanticParser(const char* name)
    : name_(name != nullptr ? name : ""),
      gcates_(std::make_unique<TSymTab<GCate*>>(kDefaultTableSize)),
      case_marks_(SENTENCELENGTH),
      oblique_marks_(SENTENCELENGTH),
      dist_(std::make_unique<DepDist>()),
      bad_triples_(kBadTripleBuckets) {
  pool_.reserve(kInitialPool);
  seeds_.reserve(kInitialSeeds);
}

VanticParser::~VanticParser() = default;

// ---- Definition ----

void VanticParser::init(IRSlist* args) {
  long size = kDefaultTableSize;
  args->get_arg_long(":hashtable-size", size, true);
  size = std::clamp(size, kMinTableSize, kMaxTableSize);
  gcates_ = std::make_unique<TSymTab<GCate*>>(static_cast<unsigned>(size));
  long cache = 0;
  args->get_arg_long(":max-cache-size", cache, true);
  max_cache_size_ = cache > 0 ? static_cast<std::size_t>(cache) : 0;
  const char* type_name = nullptr;
  if (args->get_arg_val(":attribute-vector-type", type_name, false)) {
    att_type_ = static_cast<AttInterpreterList*>(get_named_obj(type_name, "AttInterpreterList", 1));
  }
  if (att_type_ != nullptr) {
    init_att_sets(args);
  } else {
    std::cerr << "def-vantic-parser " << name_
              << ": no attribute-vector type; the parser cannot parse\n";
  }
  weights_of_words_ = keyword_exp(args, ":weights-of-words");
  word_modifier_ = keyword_exp(args, ":word-modifier");
  const char* analyzer = nullptr;
  if (args->get_arg_val(":lexical-analyzer", analyzer, true)) {
    lex_analyzer_ = static_cast<LexAnalyzer*>(get_named_obj(analyzer, "LexAnalyzer", 1));
  }
  const char* bad = nullptr;
  if (args->get_arg_val(":bad-triples", bad, true) && bad != nullptr) read_bad_triples(bad);
  read_dist(keyword_text(args, ":dist", "dist.txt"));
  empty_category_ = new_category(keyword_text(args, ":empty-category", "EC"));
  empty_rel_ = empty_category_->new_relation(empty_category_.get());
  empty_rel_->type(keyword_text(args, ":empty-category-rel", "ECR"));
}

void VanticParser::init_att_sets(IRSlist* args) {
  const int n = att_type_->num_attributes();
  non_lexical_ = LBitSet(n);
  if (n > 0) non_lexical_.set(0, n - 1);
  read_att_list(args, ":lexical-attributes", *att_type_, non_lexical_, "lexical attributes", true);
  if (args->get_arg(":show-attributes", true) != nullptr) {
    has_show_ = true;
    show_ = LBitSet(n);
    read_att_list(args, ":show-attributes", *att_type_, show_, "show attributes", false);
  }
  read_att_list(args, ":default-percolating-attributes", *att_type_, default_percolating_,
                "default percolating attributes", false);
}

void VanticParser::read_bad_triples(const char* file) {
  if (file[0] == '-') return;
  std::unique_ptr<std::ifstream> in = open_file_on_search_path(file);
  if (in == nullptr) return;
  std::string line;
  while (std::getline(*in, line)) {
    if (bad_triples_.find(line.c_str()) == nullptr) bad_triples_.enter(line.c_str(), nullptr);
  }
}

void VanticParser::read_dist(const char* file) {
  std::unique_ptr<std::ifstream> in = open_file_on_search_path(file);
  if (in == nullptr) {
    std::cerr << "def-vantic-parser " << name_ << ": no distance distribution read from " << file
              << "\n";
    return;
  }
  dist_ = std::make_unique<DepDist>(*in, kDistBuckets);
}

void VanticParser::show_attributes(const LBitSet* s) {
  has_show_ = s != nullptr;
  show_ = s != nullptr ? *s : LBitSet();
}

// ---- Categories ----

GCate* VanticParser::get_category(const char* name, int create) {
  if (name == nullptr) return nullptr;
  GCate* c = gcates_->val(name);
  if (c != nullptr || create != 1) return c;
  owned_categories_.push_back(new_category(name));
  c = owned_categories_.back().get();
  gcates_->enter(name, c);
  return c;
}

std::unique_ptr<GCate> VanticParser::new_category(const char* name) {
  return std::make_unique<GCate>(this, name);
}

GCate* VanticParser::adjunct() {
  if (adjunct_ == nullptr) adjunct_ = get_category("Adjunct", 0);
  return adjunct_;
}

GCate* VanticParser::create_category(LexItem* item) {
  const AVMeaning* meaning = AVMeaning::castToAVMeaning(item->meaning());
  if (meaning == nullptr) return nullptr;
  const AttVec& vec = meaning->vec();
  const bool named = node_name(vec, node_name_);
  if (GCate* c = named ? get_category(node_name_.c_str(), 0) : nullptr) return c;
  const char* plain_name = category(value_of(vec, builtin_atts().cat));
  GCate* plain = get_category(plain_name, 0);
  if (plain == nullptr) {
    std::cerr << "The category '" << plain_name << "' is not defined\n";
    std::exit(1);
  }
  const auto* args = reinterpret_cast<const AVList*>(value_of(vec, builtin_atts().args));
  if (args == nullptr || args->empty() || !named) return plain;
  return make_subcategory(plain, node_name_.c_str(), vec);
}

GCate* VanticParser::make_subcategory(GCate* plain, const char* name, const AttVec& vec) {
  const BuiltinAtts& atts = builtin_atts();
  GCate* sub = get_category(name, 1);
  sub->is_subcat(1);
  sub->visible_atts(plain->visible_atts() | plain->subcat_atts());
  DepRel* rel = plain->new_relation(sub);
  rel->type("subcat");
  plain->add_modifier(rel, plain->head());
  if (atts.cat >= 0) rel->percolate(atts.cat);
  if (atts.lexitem >= 0) rel->percolate(atts.lexitem);
  sub->add_modifiee(rel);
  sub->make_args(vec);
  return sub;
}

void VanticParser::roots(IRSlist* list) {
  roots_.clear();
  for (IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    if (!e->is_list()) continue;
    const char* name = e->get_val();
    GCate* c = get_category(name, 0);
    if (c == nullptr) {
      std::cerr << "roots: the category " << (name != nullptr ? name : "") << " is not defined\n";
      continue;
    }
    RootCate& root = roots_.emplace_back();
    root.category(c);
    IRSlist* cond = e->first();
    IRSlist* weight = cond != nullptr ? cond->next() : nullptr;
    if (cond != nullptr && cond->is_list()) root.cond(LExp::get_exp(cond));
    if (weight != nullptr && weight->is_list()) root.weight(LExp::get_exp(weight));
  }
}

// ---- Sentence ----

int VanticParser::sentleng() const { return lex_analyzer_ != nullptr ? lex_analyzer_->sentleng() : 0; }

const char* VanticParser::word(int i) const {
  return lex_analyzer_ != nullptr ? lex_analyzer_->word(i) : nullptr;
}

const char* VanticParser::words(int a, int b) {
  return lex_analyzer_ != nullptr ? lex_analyzer_->words(a, b) : nullptr;
}

// ---- Output ----

Deps* VanticParser::deps() {
  if (deps_ == nullptr) deps_ = std::make_unique<Deps>();
  return deps_.get();
}

std::unique_ptr<Deps> VanticParser::take_deps() { return std::move(deps_); }

void VanticParser::deps(std::unique_ptr<Deps> d) { deps_ = std::move(d); }

// ---- Item pool ----

PItem* VanticParser::new_pitem() {
  if (free_ > 0) {
    PItem* item = pool_[--free_].get();
    item->init();
    return item;
  }
  if (static_cast<int>(pool_.size()) >= MAX_PITEMS || att_type_ == nullptr) return nullptr;
  pool_.push_back(std::make_unique<PItem>(att_type_));
  return pool_.back().get();
}

// ---- Parsing ----

void VanticParser::reset() {
  if (lex_analyzer_ == nullptr) return;
  const int n = lex_analyzer_->sentleng();
  spans_.clear(n);
  for (const SymTab::Entry& e : *gcates_) TSymTab<GCate*>::value_of(e)->reset(n);
  if (empty_category_ != nullptr) empty_category_->reset(n);
  free_ = static_cast<int>(pool_.size());
  case_marks_.clear();
  oblique_marks_.clear();
  if (DEBUGW != 0) prob_cache_.clear_table();
  apply_cache_limit();
}

// The cache is emptied between sentences once its keys outgrow the limit.
void VanticParser::apply_cache_limit() {
  if (max_cache_size_ == 0 || reldb_ == nullptr || prob_cache_.totalSize() <= max_cache_size_) {
    return;
  }
  prob_cache_.cleanUp();
}

void VanticParser::prepare_to_parse(const char* const* words) {
  if (lex_analyzer_ == nullptr) return;
  reset();
  lex_analyzer_->clear();
  for (; *words != nullptr; ++words) {
    lex_analyzer_->add_space(" ");
    lex_analyzer_->add_word(*words);
  }
  lex_analyzer_->lexical_search();
}

void VanticParser::prepare_to_parse(const char* text, TokenizerBase* tokenizer) {
  if (lex_analyzer_ == nullptr) return;
  std::unique_ptr<Tokenizer> own;
  if (tokenizer == nullptr) {
    own = std::make_unique<Tokenizer>(" \t\n", "(){}[];!?$`'\"-", "(){}[];,:?!@`\"-", "<> &;.",
                                      '\0', '\0', BUFFERSIZE, 512);
    tokenizer = own.get();
  }
  tokenizer->clear();
  reset();
  lex_analyzer_->clear();
  tokenizer->set_string_input(text != nullptr ? text : "");
  lex_analyzer_->add_tokens(*tokenizer);
  lex_analyzer_->lexical_search();
}

void VanticParser::prepare_to_parse(const IRSlist& list) {
  if (lex_analyzer_ == nullptr) return;
  reset();
  lex_analyzer_->clear();
  lex_analyzer_->init(list);
  lex_analyzer_->lexical_search();
}

const char* VanticParser::intern_role(const char* role) {
  if (role == nullptr) return nullptr;
  return roles_.emplace(role).first->c_str();
}

// Gives every pending movement of a seed a trace that records the seed as
// the movement's origin under the movement's role.
void VanticParser::init_traces(PItem* item) {
  const BuiltinAtts& atts = builtin_atts();
  AVList* moves = item->own_move_list();
  if (moves == nullptr || atts.trace < 0) return;
  for (int k = 0; k < moves->length(); ++k) {
    AttVec* v = moves->own(k);
    auto* trace = new TraceVal();
    trace->push({intern_role(defines(*v, atts.role) ? v->str_val(atts.role) : nullptr), item});
    if (atts.role >= 0) v->undefine(atts.role);
    v->set_val(atts.trace, reinterpret_cast<AttVal>(trace));
  }
}

bool VanticParser::seed_chart() {
  seeds_.clear();
  for (LexAnalyzerIterator it(lex_analyzer_); !it.finished(); it.next()) {
    LexItem* lexitem = it.current();
    GCate* c = create_category(lexitem);
    if (c == nullptr) continue;
    PItem* item = c->make_pitem(lexitem);
    if (item == nullptr) return false;
    freq_weight_of(lexitem);
    item->location(c);
    item->add_weight(lexitem->weight());
    init_traces(item);
    seeds_.push_back(item);
  }
  std::stable_sort(seeds_.begin(), seeds_.end(), cmp_pitem_bounds_and_weight);
  return true;
}

bool VanticParser::parse() {
  if (lex_analyzer_ == nullptr || att_type_ == nullptr) {
    std::cerr << "VanticParser " << name_ << " cannot parse: "
              << (att_type_ == nullptr ? "no attribute-vector type" : "no lexical analyzer")
              << "\n";
    return false;
  }
  if (!seed_chart()) {
    if (deps_ != nullptr) deps_->clear();
    return false;
  }
  for (PItem* seed : seeds_) seed->location()->select(seed, nullptr);
  if (output_tree_ == 0) {
    if (deps_ != nullptr) deps_->clear();
    get_deps();
  }
  return true;
}

void VanticParser::parse(const IRSlist& list) {
  prepare_to_parse(list);
  std::cout << ";; length: " << sentleng() - 1 << "\n";
  Timer timer;
  parse();
  std::cout << ";; parse time: " << timer.net_sec() << " sec. \n";
  if (output_tree_ == 0) deps()->print(std::cout, show_attributes());
}

void VanticParser::insertEmptyCate(PItem* n, PItem* m) {
  if (empty_category_ == nullptr) return;
  PItem* empty = new_pitem();
  if (empty == nullptr) return;
  empty->low(m->low());
  empty->high(m->low() - 1);
  empty->location(empty_category_.get());
  PItem* filled = empty_category_->merge(empty, m, nullptr);
  // Without the filled gap the movement stays pending on n.
  if (filled == nullptr) return;
  filled->deprel(empty_rel_);
  filled->remove_movement(0);
  n->modifier(filled);
  n->undefine(builtin_atts().move);
}

std::unique_ptr<Deps> parse(const char* text, TokenizerBase* tokenizer, VanticParser* parser) {
  if (parser == nullptr) return nullptr;
  parser->prepare_to_parse(text, tokenizer);
  parser->parse();
  std::unique_ptr<Deps> result = parser->take_deps();
  parser->reset();
  return result;
}

void delVanticParser(void* object) {
  auto* parser = static_cast<VanticParser*>(object);
  if (VanticParser::the_parser == parser) {
    VanticParser::the_parser = nullptr;
    GCate::the_category = nullptr;
    DepRel::the_deprel = nullptr;
  }
  delete parser;
}

}  // namespace lorvan
