#include "lexical/lex_analyzer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <limits>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "lexical/tokenizer.h"
#include "lexicon/ending.h"
#include "lexicon/lexicon.h"
#include "stats/word_seq_counter.h"
#include "strfuncs.h"

namespace lorvan {

unsigned char NOT_TO_REMOVE_PUNC_MARKS = 0;
int DEBUG_LEX_RULES = 0;

namespace {

constexpr std::size_t kArenaBlock = 4096;
constexpr int kItemsPerWord = 6;
// Meanings of this type only record the phrases of an entry; they are no
// reading of the word.
constexpr const char* kPhraseListMeaning = "phrases";

int lexitem_type() {
  static const int id = arg_type_id("LexItem*");
  return id;
}

int meaning_type() {
  static const int id = arg_type_id("Meaning*");
  return id;
}

bool is_position(int p) {
  return p >= std::numeric_limits<std::int16_t>::min() &&
         p <= std::numeric_limits<std::int16_t>::max();
}

// A word that sentence-final punctuation may be split from: it begins with
// a letter, a digit or a byte >= 128, or is longer than one character and
// begins with '#', '$' or an apostrophe.
bool is_real_word(const char* w) {
  if (w == nullptr || *w == '\0') return false;
  const unsigned char c = static_cast<unsigned char>(*w);
  if (c >= 128 || std::isalnum(c)) return true;
  return w[1] != '\0' && (c == '#' || c == '$' || c == '\'');
}

// A character that ends the word part of a token: letters, digits, bytes
// >= 128 and the five characters [ ] < > %.
bool ends_word_part(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return c >= 128 || std::isalnum(c) || (c != 0 && std::strchr("[]<>%", c) != nullptr);
}

// Empties an arena.  One that outgrew its first block of `block` bytes
// starts over with a single block roomy enough for what it held, so that
// sentences like the last one need no new block.
void clear_arena(StrBufs& arena, std::size_t& block) {
  const std::size_t used = arena.totalSize();
  if (used > block) {
    block = used + used / 2;
    arena.reset(block);
  } else {
    arena.clear();
  }
}

bool same_root(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

// The nearest word `w` (case-insensitive) from i + step onwards in steps of
// `step`, passing over words that begin with punctuation; -1 at any other
// word or at the edge of 1..n-1.
int nearest_word(const LexAnalyzer& a, int i, int step, const char* w) {
  if (w == nullptr) return -1;
  for (int k = i + step; k >= 1 && k < a.sentleng(); k += step) {
    const char* x = a.word(k);
    if (strcasecmp(x, w) == 0) return k;
    if (!std::ispunct(static_cast<unsigned char>(*x))) return -1;
  }
  return -1;
}

}  // namespace

// ---- Construction ----

LexAnalyzer::LexAnalyzer(int length)
    : length_(std::clamp(length, 1, kPositionLimit)),
      foci_(length_),
      first_conjunctions_(length_),
      last_conjunctions_(length_),
      adverbs_(length_),
      skipable_(length_),
      strings_(kArenaBlock),
      strings_block_(kArenaBlock),
      words_arena_(kArenaBlock),
      words_block_(kArenaBlock) {
  const auto n = static_cast<std::size_t>(length_) + 1;
  words_.reserve(n);
  spaces_.reserve(n);
  tags_.reserve(n);
  ends_.reserve(n);
  starts_.reserve(n);
  pool_.reserve(n * kItemsPerWord);
}

LexAnalyzer::LexAnalyzer(const LexAnalyzer& other) : LexAnalyzer(other.length_) {
  lexicon_ = other.lexicon_;
  word_list_ = other.word_list_;
  rules_ = other.rules_;
  hook_ = LExp::make_copy(other.hook_.get());
  selector_ = LExp::make_copy(other.selector_.get());
}

LexAnalyzer::~LexAnalyzer() = default;

// ---- Feeding ----

void LexAnalyzer::add_space(const char* text) {
  if (spaces_.empty()) {
    spaces_.push_back(nullptr);
    words_.push_back(nullptr);
  }
  while (spaces_.size() < words_.size()) spaces_.push_back("");
  if (text == nullptr) return;
  if (spaces_.size() > words_.size()) {
    spaces_.back() = strings_.concat(spaces_.back(), text);
  } else {
    spaces_.push_back(strings_.copy(text));
  }
}

int LexAnalyzer::add_word(const char* text) {
  if (words_.empty()) {
    words_.push_back(nullptr);
    spaces_.push_back(nullptr);
  }
  if (tags_.empty()) tags_.push_back(nullptr);
  if (text == nullptr) return sentleng();
  const int position = sentleng();
  if (focus_marker_ != 0 && text[0] == focus_marker_) {
    foci_.set(position);
    ++text;
  }
  char* copy = strings_.copy(text);
  if (pos_marker_ != 0) {
    if (char* marker = std::strchr(copy, pos_marker_)) {
      *marker = '\0';
      tags_.resize(words_.size(), nullptr);
      tags_.push_back(marker + 1);
    }
  }
  words_.push_back(copy);
  if (spaces_.size() < words_.size()) spaces_.push_back(nullptr);
  if (tags_.size() < words_.size()) tags_.resize(words_.size(), nullptr);
  return sentleng();
}

void LexAnalyzer::append_word(char* text, const char* space) {
  spaces_.resize(words_.size(), "");
  spaces_.push_back(space);
  tags_.resize(words_.size(), nullptr);
  tags_.push_back(nullptr);
  words_.push_back(text);
}

void LexAnalyzer::init(const IRSlist& list) {
  bool nogap = false;
  for (const IRSlist* e = list.first(); e != nullptr; e = e->next()) {
    if (e->is_list() || e->val() == nullptr) continue;
    if (strcasecmp(e->val(), ":nogap") == 0) {
      nogap = true;
      continue;
    }
    add_space(nogap ? "" : " ");
    add_word(e->val());
    nogap = false;
  }
}

void LexAnalyzer::insert_space(const char* text, int i) {
  if (i < 0 || text == nullptr) return;
  if (spaces_.empty()) add_space(nullptr);
  const auto at = static_cast<std::size_t>(i);
  if (at < spaces_.size()) {
    const char* old = spaces_[at];
    spaces_[at] = old != nullptr ? strings_.concat(old, text) : strings_.copy(text);
  } else {
    spaces_.push_back(strings_.copy(text));
  }
}

void LexAnalyzer::add_tokens(TokenizerBase& t) {
  while (char* token = t.get_token()) {
    if (*token == '\0') {
      if (t.finished()) break;
      continue;
    }
    if (t.is_white(*token)) {
      add_space(" ");
    } else {
      add_word(token);
    }
  }
}

void LexAnalyzer::add_words(std::span<const char* const> words) {
  for (const char* w : words) {
    add_space(" ");
    add_word(w);
  }
}

void LexAnalyzer::clear() {
  for (int i = 0; i < used_; ++i) pool_[static_cast<std::size_t>(i)]->reset();
  used_ = 0;
  for (ItemList& list : ends_) list.clear();
  for (ItemList& list : starts_) list.clear();
  clear_arena(strings_, strings_block_);
  clear_arena(words_arena_, words_block_);
  mixed_case_ = 1;
  first_conjunctions_.clear();
  last_conjunctions_.clear();
  adverbs_.clear();
  skipable_.clear();
  foci_.clear();
  words_.clear();
  spaces_.clear();
  tags_.clear();
}

// ---- Reading ----

const char* LexAnalyzer::word(int i) const {
  return i >= 0 && i < sentleng() ? words_[static_cast<std::size_t>(i)] : nullptr;
}

const char* LexAnalyzer::space(int i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= spaces_.size()) return "";
  const char* s = spaces_[static_cast<std::size_t>(i)];
  return s != nullptr ? s : "";
}

bool LexAnalyzer::nogap(int i) const {
  const char* s = space(i);
  return *s == '\0' || *s == '<';
}

const char* LexAnalyzer::tag(int i) const {
  return i >= 0 && i < tag_count() ? tags_[static_cast<std::size_t>(i)] : nullptr;
}

const char* LexAnalyzer::words(int i, int j) {
  i = std::max(i, 1);
  j = std::min(j, sentleng() - 1);
  if (i > j) return "";
  if (i == j) return word(i);
  clear_arena(words_arena_, words_block_);
  for (int k = i; k <= j; ++k) {
    if (k > i && *space(k) != '\0') words_arena_.push(' ');
    words_arena_.push(word(k));
  }
  return words_arena_.finish();
}

void LexAnalyzer::print_words(std::ostream& out, int i, int j) const {
  if (i < 0 || j >= sentleng()) return;
  for (int k = i; k <= j; ++k) {
    const char* w = word(k);
    const bool high_byte = w != nullptr && static_cast<unsigned char>(*w) >= 128;
    if (k > i && !high_byte) {
      for (const char* s = space(k); *s != '\0'; ++s) out << (*s == '\n' ? ' ' : *s);
    }
    if (w != nullptr) out << w;
  }
}

int LexAnalyzer::before(int i, const char* w) const { return nearest_word(*this, i, -1, w); }

int LexAnalyzer::after(int i, const char* w) const { return nearest_word(*this, i, 1, w); }

int LexAnalyzer::mixed_case(int flag) {
  if (flag == 0 || flag == 1) mixed_case_ = flag;
  return mixed_case_;
}

void LexAnalyzer::set_span(LBitSet& set, int low, int high) {
  low = std::max(low, 0);
  high = std::min(high, kPositionLimit - 1);
  if (low <= high) set.set(low, high);
}

unsigned LexAnalyzer::random_number() { return static_cast<unsigned>(random_()); }

// ---- The lattice ----

LexAnalyzer::ItemList* LexAnalyzer::list_at(std::vector<ItemList>& lists, int i) {
  if (i < 0 || i >= kPositionLimit) return nullptr;
  const auto at = static_cast<std::size_t>(i);
  if (at >= lists.size()) lists.resize(at + 1);
  return &lists[at];
}

LexAnalyzer::ItemList* LexAnalyzer::made_list(std::vector<ItemList>& lists, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < lists.size() ? &lists[static_cast<std::size_t>(i)]
                                                              : nullptr;
}

LexAnalyzer::ItemList* LexAnalyzer::bucket(int i) { return list_at(ends_, i); }
LexAnalyzer::ItemList* LexAnalyzer::pbucket(int i) { return list_at(starts_, i); }

LexItem* LexAnalyzer::item(int i) const {
  return i >= 0 && i < used_ ? pool_[static_cast<std::size_t>(i)].get() : nullptr;
}

LexItem* LexAnalyzer::new_item(int low, int high) {
  if (static_cast<std::size_t>(used_) == pool_.size()) pool_.emplace_back(new LexItem(this));
  LexItem* item = pool_[static_cast<std::size_t>(used_++)].get();
  item->reset();
  item->low(low);
  item->high(high);
  item->head(low);
  return item;
}

LexItem* LexAnalyzer::make_lexitem(const char* root, const Meaning* meaning, int low, int high,
                                   std::span<const char* const> affixes) {
  if (!is_position(low) || !is_position(high)) return nullptr;
  LexItem* item = new_item(low, high);
  item->root(root);
  item->own_duplicate(meaning);
  for (const char* a : affixes) item->add_affix(a);
  return item;
}

LexItem* LexAnalyzer::lexicon_item(const char* root, const Meaning* m, LexEntry* entry, int low,
                                   int high, const char* affix) {
  if (!is_position(low) || !is_position(high)) return nullptr;
  LexItem* item = new_item(low, high);
  item->root_ = root;
  item->share_meaning(m);
  item->entry_ = entry;
  if (affix != nullptr) item->affixes_.push_back(affix);
  return item;
}

LexItem* LexAnalyzer::find_equal(const LexItem& item) {
  ItemList* list = made_list(ends_, item.high());
  if (list == nullptr) return nullptr;
  for (LexItem* e : *list) {
    if (e != &item && e->low() == item.low() && same_root(e->root(), item.root()) &&
        e->meaning() != nullptr && e->meaning()->cmp(*item.meaning()) == 0) {
      return e;
    }
  }
  return nullptr;
}

void LexAnalyzer::run_hook(LexItem* item) {
  hook_->eval(item, lexitem_type());
  for (std::size_t k = 0; k < item->components().size(); ++k) run_hook(item->components()[k]);
}

LexItem* LexAnalyzer::add(LexItem* item, bool check) {
  if (item == nullptr || item->in_lattice_) return item;
  item->deleted_ = 0;
  if (check && item->meaning() != nullptr) {
    if (LexItem* same = find_equal(*item)) return same;
  }
  if (hook_ != nullptr) {
    run_hook(item);
    // The hook may have entered the item itself.
    if (item->in_lattice_) return item;
  }
  file_item(item);
  return item;
}

void LexAnalyzer::add_lex_items(std::span<LexItem* const> items) {
  for (LexItem* item : items) add(item, true);
}

void LexAnalyzer::file_item(LexItem* item) {
  if (ItemList* ends = bucket(item->high())) {
    auto at = std::find_if(ends->begin(), ends->end(),
                           [item](const LexItem* e) { return e->low() <= item->low(); });
    ends->insert(at, item);
  }
  if (ItemList* starts = pbucket(item->low())) {
    auto at = std::find_if(starts->begin(), starts->end(),
                           [item](const LexItem* e) { return e->high() <= item->high(); });
    starts->insert(at, item);
  }
  item->in_lattice_ = true;
}

void LexAnalyzer::unfile_item(LexItem* item) {
  auto take_out = [item](ItemList* list) {
    if (list == nullptr) return;
    auto at = std::find(list->begin(), list->end(), item);
    if (at != list->end()) list->erase(at);
  };
  take_out(made_list(ends_, item->high()));
  take_out(made_list(starts_, item->low()));
  item->in_lattice_ = false;
}

void LexAnalyzer::del(LexItem* item) {
  if (item == nullptr) return;
  item->deleted_ = 1;
  unfile_item(item);
}

template <class Pred>
void LexAnalyzer::del_from(ItemList* list, Pred doomed) {
  if (list == nullptr) return;
  for (std::size_t k = 0; k < list->size();) {
    LexItem* e = (*list)[k];
    if (doomed(e)) del(e);
    // del() takes the item out of this list, unless its span was changed
    // while it was filed here.
    if (k < list->size() && (*list)[k] == e) ++k;
  }
}

void LexAnalyzer::del_smaller_items(int a, int b) {
  if (a == b) return;
  const int d = std::min(b, sentleng() - 1);
  a = std::max(a, 0);
  for (int p = d; p >= a; --p) {
    del_from(made_list(ends_, p), [a, d](const LexItem* e) {
      return e->low() > a || (e->low() == a && e->high() < d);
    });
  }
}

void LexAnalyzer::print(std::ostream& out) {
  for (LexAnalyzerIterator it(this); !it.finished(); it.next()) it.current()->print(out, 0);
}

// ---- Lexical search ----

int LexAnalyzer::analysed_length() const { return std::min(sentleng(), kPositionLimit); }

void LexAnalyzer::lexical_search() {
  if (lexicon_ != nullptr && NOT_TO_REMOVE_PUNC_MARKS == 0) removePunctuationMarks(sentleng() - 1);
  if (sentleng() > kPositionLimit) {
    std::cerr << "Lexical analysis: the sentence has " << sentleng() - 1
              << " words; the words after position " << kPositionLimit - 1
              << " are not analysed\n";
  }
  if (lexicon_ != nullptr) {
    const int n = analysed_length();
    for (int i = 1; i < n; ++i) look_up_word(word(i), i, i);
  } else {
    retrieveWordInWordList();
  }
  if (rules_ != nullptr) apply_rules(*rules_);
  if (pos_marker_ != 0) {
    for (int i = 1; i < tag_count(); ++i) {
      if (const char* t = tag(i)) posTag(i, i, t);
    }
  }
  if (DEBUG_LEX_RULES != 0) print(std::cerr);
}

void LexAnalyzer::look_up_word(const char* word, int low, int high) {
  if (lexicon_ == nullptr || word == nullptr) return;
  const std::size_t base = readings_.size();
  lexicon_->morphSearch(word, readings_);
  const std::size_t end = readings_.size();
  for (std::size_t r = base; r < end; ++r) {
    const MorphReading reading = readings_[r];
    const char* name = reading.ending != nullptr ? reading.ending->name() : nullptr;
    const char* affix = name != nullptr ? strings_.copy(name) : nullptr;
    const std::size_t first = pending_.size();
    make_lex_items(reading.entry, low, high, affix);
    for (std::size_t k = first; k < pending_.size(); ++k) add(pending_[k], true);
    pending_.resize(first);
  }
  readings_.resize(base);
}

const char* LexAnalyzer::remove_comma(const char* key) {
  const char* comma = std::strchr(key, ',');
  // A comma inside a word, as in 1,000, does not split the key.
  if (comma == nullptr || (comma[1] != ' ' && static_cast<unsigned char>(comma[1]) < 128)) {
    return key;
  }
  const char* rest = comma + 1;
  while (*rest == ' ') ++rest;
  if (*rest == '\0') return key;
  strings_.push(rest);
  strings_.push(' ');
  strings_.push(std::string_view(key, static_cast<std::size_t>(comma - key)));
  return strings_.finish();
}

bool LexAnalyzer::admits(const Meaning* m) const {
  if (std::strcmp(m->type_name(), kPhraseListMeaning) == 0) return false;
  return selector_ == nullptr || selector_->eval(const_cast<Meaning*>(m), meaning_type()) != nullptr;
}

void LexAnalyzer::make_lex_items(LexEntry* entry, int low, int high, const char* affix) {
  const char* root = remove_comma(entry->key());
  // By index: a selector may cause look-ups that add to the entry.
  for (std::size_t k = 0; k < entry->meanings().size(); ++k) {
    const Meaning* m = entry->meanings()[k].get();
    if (!admits(m)) continue;
    if (LexItem* item = lexicon_item(root, m, entry, low, high, affix)) pending_.push_back(item);
  }
  make_phrase_items(entry, low, affix);
}

void LexAnalyzer::make_phrase_items(LexEntry* entry, int low, const char* affix) {
  // By index: loading a phrase entry from disk may add phrases here.
  for (std::size_t k = 0; k < entry->phrases().size(); ++k) {
    const Phrase* phrase = entry->phrases()[k].get();
    if (!lexicon_->contain_phrase(words_.data(), sentleng(), low, *phrase)) continue;
    LexEntry* own = lexicon_->search_entry(phrase->text());
    if (own == nullptr) {
      std::cerr << "Phrasal entry '" << phrase->text() << "' is not found" << std::endl;
      continue;
    }
    make_lex_items(own, low - phrase->before(), low + phrase->after(), affix);
  }
}

void LexAnalyzer::removePunctuationMarks(int len) {
  len = std::min(len, sentleng() - 1);
  int k = len;
  while (k >= 1 && !is_real_word(word(k))) --k;
  if (k < 1) return;
  char* w = words_[static_cast<std::size_t>(k)];
  if (lexicon_ != nullptr && lexicon_->search_entry(w) != nullptr) return;
  const int n = static_cast<int>(std::strlen(w));
  int cut = n - 1;
  while (cut >= 1 && !ends_word_part(w[cut])) --cut;
  if (cut < 1 || cut == n - 1) return;
  char* rest = strings_.copy(w + cut + 1);
  w[cut + 1] = '\0';
  if (k == sentleng() - 1) {
    append_word(rest, "");
  } else {
    insert_space(rest, k + 1);
  }
}

void LexAnalyzer::retrieveWordInWordList() {
  for (std::size_t i = 1; i < words_.size() && i < spaces_.size(); ++i) spaces_[i] = " ";
  const int n = analysed_length();
  for (int j = 1; j < n; ++j) {
    if (word_list_ != nullptr) {
      add_sequences_from(j);
    } else {
      add(lexicon_item(words_[static_cast<std::size_t>(j)], nullptr, nullptr, j, j, nullptr), true);
    }
  }
}

void LexAnalyzer::add_sequences_from(int j) {
  const std::size_t base = sequences_.size();
  if (const WordSeqCounterEntry* entry = word_list_->find_entry(word(j))) {
    // Walk first, make items after: a hook may touch the counter.
    const WordSeqTrie& trie = entry->trie;
    WordSeqTrie::NodeId node = WordSeqTrie::kRoot;
    for (int k = j;; ++k) {
      const WordSeqNode& at = trie.node(node);
      if (at.end && at.value > 0) sequences_.emplace_back(k, at.value);
      if (k + 1 >= analysed_length()) break;
      node = trie.child(node, word_list_->getId(word(k + 1)));
      if (node == WordSeqTrie::kNone) break;
    }
  }
  // A word that begins no stored sequence of its own counts as unknown.
  if (sequences_.size() == base || sequences_[base].first != j) {
    sequences_.insert(sequences_.begin() + static_cast<std::ptrdiff_t>(base),
                      {j, WordSeqCounter::kUnknownCount});
  }
  const std::size_t end = sequences_.size();
  for (std::size_t s = base; s < end; ++s) {
    const auto [k, count] = sequences_[s];
    LexItem* item = lexicon_item(nullptr, nullptr, nullptr, j, k, nullptr);
    item->root(words(j, k));
    item->weight(static_cast<float>(word_list_->weight(count)));
    add(item, true);
  }
  sequences_.resize(base);
}

void LexAnalyzer::removeRedundant() {
  std::vector<LexItem*> all;
  const int n = std::min(sentleng(), static_cast<int>(ends_.size()));
  for (int p = 1; p < n; ++p) {
    const ItemList& list = ends_[static_cast<std::size_t>(p)];
    all.insert(all.end(), list.begin(), list.end());
  }
  std::stable_sort(all.begin(), all.end(), [](const LexItem* a, const LexItem* b) {
    return a->high() - a->low() > b->high() - b->low();
  });
  LBitSet covered;
  for (LexItem* item : all) {
    bool overlaps = false;
    for (int q = std::max(item->low(), 0); q <= item->high(); ++q) {
      overlaps = overlaps || covered.test(q);
      covered.set(q);
    }
    if (overlaps) del(item);
  }
}

void LexAnalyzer::posTag(int i, int j, const char* tag) {
  ItemList* list = made_list(ends_, j);
  if (list == nullptr || tag == nullptr) return;
  auto spans = [i](const LexItem* e) { return e->low() == i; };
  auto tagged = [tag](const LexItem* e) {
    return e->cate() != nullptr && std::strcmp(e->cate(), tag) == 0;
  };
  bool any = std::any_of(list->begin(), list->end(),
                         [&](const LexItem* e) { return spans(e) && tagged(e); });
  if (!any) return;
  del_from(list, [&](const LexItem* e) { return spans(e) && !tagged(e); });
}

// ---- Unigram segmentation ----

void pickLexItemsWithUnigrams(LexAnalyzer& analyzer) {
  const int n = std::min(analyzer.sentleng(), LexAnalyzer::kPositionLimit);
  if (n < 2) return;
  constexpr float kNoCost = 1000;
  std::vector<float> cost(static_cast<std::size_t>(n), kNoCost);
  std::vector<LexItem*> best(static_cast<std::size_t>(n), nullptr);
  for (int b = 1; b < n; ++b) {
    const auto at = static_cast<std::size_t>(b);
    for (LexItem* e : *analyzer.bucket(b)) {
      const int before = e->low() - 1;
      const float base = before < 1 ? 0 : before < n ? cost[static_cast<std::size_t>(before)] : kNoCost;
      const float c = e->weight() + base;
      if (best[at] == nullptr || c < cost[at] || (c == cost[at] && (analyzer.random_number() & 1))) {
        best[at] = e;
        cost[at] = c;
      }
    }
  }
  for (int p = n - 1; p >= 1;) {
    LexItem* keep = best[static_cast<std::size_t>(p)];
    const int from = std::max(keep != nullptr ? std::min<int>(keep->low(), p) : p, 0);
    for (int q = from; q <= p; ++q) analyzer.keep_only(q, keep);
    p = from - 1;
  }
}

void LexAnalyzer::keep_only(int position, const LexItem* keep) {
  for (std::vector<ItemList>* lists : {&ends_, &starts_}) {
    ItemList* list = made_list(*lists, position);
    if (list == nullptr) continue;
    for (std::size_t k = 0; k < list->size();) {
      LexItem* e = (*list)[k];
      if (e != keep) unfile_item(e);
      if (k < list->size() && (*list)[k] == e) ++k;
    }
  }
}

// ---- Iteration, debugging, deletion ----

void LexAnalyzerIterator::reset(LexAnalyzer* analyzer) {
  analyzer_ = analyzer;
  position_ = 0;
  index_ = 0;
  settle();
}

void LexAnalyzerIterator::settle() {
  if (analyzer_ == nullptr) return;
  const auto& ends = analyzer_->ends_;
  while (static_cast<std::size_t>(position_) < ends.size() &&
         index_ >= ends[static_cast<std::size_t>(position_)].size()) {
    ++position_;
    index_ = 0;
  }
}

LexItem* LexAnalyzerIterator::current() const {
  if (analyzer_ == nullptr) return nullptr;
  const auto& ends = analyzer_->ends_;
  const auto p = static_cast<std::size_t>(position_);
  return p < ends.size() && index_ < ends[p].size() ? ends[p][index_] : nullptr;
}

LexItem* LexAnalyzerIterator::next() {
  if (current() == nullptr) return nullptr;
  ++index_;
  settle();
  return current();
}

void prlil(LexAnalyzer* analyzer) {
  if (analyzer == nullptr) {
    std::cout << "nil\n";
    return;
  }
  analyzer->print(std::cout);
}

void delLexAnalyzer(void* analyzer) { delete static_cast<LexAnalyzer*>(analyzer); }

}  // namespace lorvan
