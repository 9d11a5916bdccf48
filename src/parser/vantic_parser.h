// VanticParser: the chart parser.  It holds no grammar of its own: command
// files define its categories (GCate) and relations (DepRel), its root
// categories and its links to the lexical analyzer, the attribute-vector
// type and the statistical data.  Per sentence it is prepared (reset, the
// words fed to the lexical analyzer), parse() fills the chart, and the
// dependency structure of the best analysis is read off into deps().
//
//   parser.prepare_to_parse("the dog barks", nullptr);
//   parser.parse();
//   use(parser.deps());
//
// The most recently defined parser is the current one, the_parser, which
// every definition and parse command uses.
//
// Ownership: a parser owns its category table (and so every category and
// relation), the empty category, its item pool, its expressions, its
// probability cache, distance distribution, bad-triples set and deps().  The
// lexical analyzer, attribute type, databases and tree modifier are named
// objects of their own and are not owned.  Items stay valid until the next
// reset(); deps() until it is taken or the next parse.
//
// Not thread-safe; the whole program is single-threaded.
#ifndef LORVAN_PARSER_VANTIC_PARSER_H_
#define LORVAN_PARSER_VANTIC_PARSER_H_

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "expr/lexp.h"
#include "lbitset.h"
#include "parser/dep_dist.h"
#include "parser/dep_prob_cache.h"
#include "parser/root_cate.h"
#include "spanset.h"
#include "strbufs.h"
#include "symtab.h"

namespace lorvan {

class AttInterpreterList;
class AttVec;
class Deps;
class DepRel;
class GCate;
class IRSlist;
class LexAnalyzer;
class LexItem;
class PairDb;
class ParseForest;
class PItem;
class TokenizerBase;
class TreeModifier;
class TripleDb;

// Compile-time constants of the parser.
inline constexpr int NUMBER_OF_CHARS = 256;
inline constexpr int MAXROLLBACK = 10;
inline constexpr int SENTENCELENGTH = 200;
inline constexpr int BUFFERSIZE = 4096;
inline constexpr float BIGWEIGHT = 20.0f;
// The largest distance between the head words of two merged items.
inline constexpr int MAX_DIST_BETWEEN_HEADS = 20;
inline constexpr float M = 10.0f;

class VanticParser {
 public:
  // The current parser, or null.
  static VanticParser* the_parser;
  // The largest number of items the pool may hold.
  static int MAX_PITEMS;

  explicit VanticParser(const char* name);
  ~VanticParser();
  VanticParser(const VanticParser&) = delete;
  VanticParser& operator=(const VanticParser&) = delete;

  // Reads the keyword arguments of def-vantic-parser (after the name).  A
  // missing or unknown :attribute-vector-type is reported; such a parser
  // defines categories but refuses to parse (usable() is false).
  void init(IRSlist* args);
  // Whether the parser has an attribute type and can make items.
  bool usable() const { return att_type_ != nullptr; }

  const char* name() const { return name_.c_str(); }

  // ---- Categories ----
  // The category called `name` (case-insensitive); when missing and
  // `create` is 1, a new one entered into the table; else null.
  GCate* get_category(const char* name, int create);
  // A new category that is not entered into the table.
  std::unique_ptr<GCate> new_category(const char* name);
  // The table, name -> GCate*, in the order of entry.
  const TSymTab<GCate*>& gcates() const { return *gcates_; }
  // The category "Adjunct" (looked up once it exists), or null.
  GCate* adjunct();
  // The category for a lexical item (a subcategory made from its "args"
  // when needed), or null when its meaning has no attribute vector.  A
  // plain category that is not defined ends the program (status 1).
  GCate* create_category(LexItem* item);
  // Replaces the root list from (CATEGORY COND [WEIGHT]) elements.
  void roots(IRSlist* list);
  const std::vector<RootCate>& roots() const { return roots_; }
  GCate* empty_category() const { return empty_category_.get(); }
  DepRel* empty_category_rel() const { return empty_rel_; }

  // ---- Links ----
  LexAnalyzer* lex_analyzer() const { return lex_analyzer_; }
  void lex_analyzer(LexAnalyzer* a) { lex_analyzer_ = a; }
  const AttInterpreterList* att_type() const { return att_type_; }
  const LBitSet& non_lexical_atts() const { return non_lexical_; }
  const LBitSet& default_percolating_atts() const { return default_percolating_; }
  void default_percolating_atts(const LBitSet& s) { default_percolating_ = s; }
  // The attributes shown when printing, or null for none chosen.
  const LBitSet* show_attributes() const { return has_show_ ? &show_ : nullptr; }
  void show_attributes(const LBitSet* s);
  LExp* weights_of_words() const { return weights_of_words_.get(); }
  LExp* word_modifier() const { return word_modifier_.get(); }
  TripleDb* reldb() const { return reldb_; }
  void reldb(TripleDb* db) { reldb_ = db; }
  PairDb* pairdb() const { return pairdb_; }
  void pairdb(PairDb* db) { pairdb_ = db; }
  TreeModifier* deps_modifier() const { return deps_modifier_; }
  void deps_modifier(TreeModifier* m) { deps_modifier_ = m; }

  // ---- Statistical data ----
  DepProbCache& prob_cache() { return prob_cache_; }
  std::size_t max_cache_size() const { return max_cache_size_; }
  const DepDist& dist() const { return *dist_; }
  // Whether "head\trel\tmodifier" is a forbidden triple (case-insensitive).
  bool is_bad_triple(const char* key) const { return bad_triples_.find(key) != nullptr; }
  StrBufs& strbufs() { return strbufs_; }

  // ---- Sentence ----
  // The analyzer's sentence length (0 without an analyzer).
  int sentleng() const;
  // Word i / words a..b of the analyzer; null without one.
  const char* word(int i) const;
  const char* words(int a, int b);
  void case_mark(int i) { case_marks_.set(i); }
  bool is_case_marked(int i) const { return case_marks_.test(i); }
  void oblique_case_mark(int i) { oblique_marks_.set(i); }
  bool is_oblique_case_marked(int i) const { return oblique_marks_.test(i); }
  // Records a span no merged item may cross / whether a..b crosses one.
  void add_span(int a, int b) { spans_.add_span(a, b); }
  bool intersect(int a, int b) const { return spans_.intersect(a, b); }

  // ---- Output ----
  // The dependency structure, made on first use.
  Deps* deps();
  // The structure without making one, or null.
  Deps* current_deps() const { return deps_.get(); }
  // Hands the structure to the caller; deps() starts over.
  std::unique_ptr<Deps> take_deps();
  void deps(std::unique_ptr<Deps> d);
  int output_tree() const { return output_tree_; }
  void output_tree(int flag) { output_tree_ = flag; }

  // ---- Item pool ----
  // A fresh item, or null when the pool holds MAX_PITEMS items in use.
  PItem* new_pitem();
  int pool_size() const { return static_cast<int>(pool_.size()); }
  int pool_free() const { return free_; }

  // ---- Parsing ----
  // Empties the chart, the spans and the case marks for a new sentence.
  void reset();
  // Prepares from a null-terminated array of words.
  void prepare_to_parse(const char* const* words);
  // Prepares from a text split by `tokenizer` (the default sentence
  // tokenizer when null).
  void prepare_to_parse(const char* text, TokenizerBase* tokenizer);
  // Prepares from a list of words (the analyzer's init()).
  void prepare_to_parse(const IRSlist& list);
  // Fills the chart and, unless output_tree() is set, the dependency
  // structure.  Returns false when the pool ran out while seeding.
  bool parse();
  // prepare_to_parse(list), parse(), with length, time and the structure
  // printed on the standard output.
  void parse(const IRSlist& list);
  // Puts an empty-category item in place of the modifier m of n.
  void insertEmptyCate(PItem* n, PItem* m);

  // ---- Weights and extraction (the weights and forest modules) ----
  float get_weight(PItem* item);
  float get_weight(PItem* head, PItem* modifier, const char* type);
  float get_weight_aux(PItem* head, PItem* modifier, const char* type);
  const char* get_head_word(PItem* item);
  float weight_of_word(const char* word);
  void make_parse_forest(ParseForest& forest);
  void get_deps();

 private:
  void init_att_sets(IRSlist* args);
  void read_bad_triples(const char* file);
  void read_dist(const char* file);
  // Makes the seed items; false when the pool ran out.
  bool seed_chart();
  void init_traces(PItem* item);
  // A copy of `role` that lives as long as the parser.
  const char* intern_role(const char* role);
  void apply_cache_limit();
  GCate* make_subcategory(GCate* plain, const char* name, const AttVec& vec);

  std::string name_;
  std::unique_ptr<TSymTab<GCate*>> gcates_;
  std::vector<std::unique_ptr<GCate>> owned_categories_;
  std::size_t max_cache_size_ = 0;
  LexAnalyzer* lex_analyzer_ = nullptr;
  const AttInterpreterList* att_type_ = nullptr;
  LBitSet non_lexical_;
  LBitSet case_marks_;
  LBitSet oblique_marks_;
  LBitSet default_percolating_;
  std::vector<RootCate> roots_;
  SpanSet spans_;
  std::vector<std::unique_ptr<PItem>> pool_;
  int free_ = 0;
  LBitSet show_;
  bool has_show_ = false;
  SubExp weights_of_words_;
  SubExp word_modifier_;
  GCate* adjunct_ = nullptr;
  std::unique_ptr<Deps> deps_;
  int output_tree_ = 0;
  TripleDb* reldb_ = nullptr;
  PairDb* pairdb_ = nullptr;
  DepProbCache prob_cache_;
  std::unique_ptr<DepDist> dist_;
  TreeModifier* deps_modifier_ = nullptr;
  SymTab bad_triples_;
  StrBufs strbufs_;
  std::unique_ptr<GCate> empty_category_;
  DepRel* empty_rel_ = nullptr;
  std::vector<PItem*> seeds_;
  std::unordered_set<std::string> roles_;
  std::string node_name_;  // scratch for create_category
};

// Parses `text` with `parser` and hands over the dependency structure;
// null without a parser.  The parser is reset afterwards.
std::unique_ptr<Deps> parse(const char* text, TokenizerBase* tokenizer, VanticParser* parser);

// The deleter of parsers registered as named objects.
void delVanticParser(void* parser);

}  // namespace lorvan

#endif  // LORVAN_PARSER_VANTIC_PARSER_H_
