#include "stats/word_seq_counter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <utility>

#include "byte_reader.h"
#include "command/named_obj.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

using NodeId = WordSeqTrie::NodeId;
constexpr unsigned kInitialSymtableSize = 101;

const WordSeqCounterEntry& as_entry(const PLHashEntry& entry) {
  return static_cast<const WordSeqCounterEntry&>(entry);
}

void pack_node_head(const WordSeqNode& node, StrBufs& out) {
  out.push_char(node.end ? 't' : 'f');
  out.push_float(node.value);
}

void pack_trie(const WordSeqTrie& trie, StrBufs& out) {
  struct Frame {
    NodeId node;
    std::size_t next_child;
  };
  std::vector<Frame> stack{{WordSeqTrie::kRoot, 0}};
  pack_node_head(trie.node(WordSeqTrie::kRoot), out);
  while (!stack.empty()) {
    const WordSeqNode& node = trie.node(stack.back().node);
    if (stack.back().next_child == node.children.size()) {
      out.push_char('n');
      stack.pop_back();
      continue;
    }
    auto [id, child] = node.children[stack.back().next_child++];
    out.push_char('y');
    out.push_int(id);
    pack_node_head(trie.node(child), out);
    stack.push_back({child, 0});
  }
}

bool unpack_node_head(ByteReader& in, WordSeqNode& node) {
  char flag = in.get_char();
  if (flag != 't' && flag != 'f') return false;
  node.end = flag == 't';
  node.value = in.get_float();
  return in.ok();
}

// Rebuilds a packed trie whose ids lie in [1, id_limit).
bool unpack_trie(ByteReader& in, int id_limit, WordSeqTrie& trie) {
  if (!unpack_node_head(in, trie.node(WordSeqTrie::kRoot))) return false;
  std::vector<NodeId> stack{WordSeqTrie::kRoot};
  while (!stack.empty()) {
    char tag = in.get_char();
    if (tag == 'n') {
      stack.pop_back();
      continue;
    }
    int id = in.get_int();
    if (tag != 'y' || !in.ok() || id < 1 || id >= id_limit ||
        trie.child(stack.back(), id) != WordSeqTrie::kNone) {
      return false;
    }
    NodeId child = trie.add_child(stack.back(), id);
    if (!unpack_node_head(in, trie.node(child))) return false;
    stack.push_back(child);
  }
  return in.ok();
}

}  // namespace

std::vector<const char*> split_at_spaces(const char* text, std::string& storage) {
  std::vector<const char*> words;
  if (text == nullptr) return words;
  storage = text;
  words.push_back(storage.data());
  for (char& c : storage) {
    if (c != ' ') continue;
    c = '\0';
    words.push_back(&c + 1);
  }
  return words;
}

void delete_word_seq_entry(PLHashEntry* entry) { delete static_cast<WordSeqCounterEntry*>(entry); }

WordSeqCounter* find_word_seq_counter(const char* name) {
  void* object = get_named_obj(name, "WordSeqCounter", 1);
  return object != nullptr ? static_cast<WordSeqCounter*>(static_cast<PLHash*>(object)) : nullptr;
}

WordSeqCounter::WordSeqCounter(unsigned size, bool inverse)
    : TPLHash<WordSeqCounterEntry>(&delete_word_seq_entry, size),
      inverse_(inverse),
      symtable_size_(kInitialSymtableSize),
      word_ids_(std::make_unique<Str2Id>(kInitialSymtableSize)) {}

WordSeqCounter::~WordSeqCounter() = default;

void WordSeqCounter::setSymtable(unsigned size) {
  symtable_size_ = size;
  word_ids_ = std::make_unique<Str2Id>(size);
}

// ---- Sequences ----

WordSeqCounterEntry* WordSeqCounter::entry_for(const char* word) {
  Place place;
  WordSeqCounterEntry* entry = search_entry_and_place(word, place);
  if (entry == nullptr) {
    entry = new WordSeqCounterEntry(word);
    add_entry(place, entry);
  }
  return entry;
}

WordSeqCounterEntry* WordSeqCounter::find_entry(const char* word) {
  Place place;
  return search_entry_and_place(word, place);
}

WordSeqCounterEntry* WordSeqCounter::addEntry(Words words, float count) {
  if (words.empty()) return nullptr;
  WordSeqCounterEntry* entry = entry_for(words[0]);
  NodeId node = WordSeqTrie::kRoot;
  for (const char* word : words.subspan(1)) {
    node = entry->trie.add_child(node, word_ids_->get_id(word, true));
  }
  WordSeqNode& last = entry->trie.node(node);
  last.end = true;
  last.value += count;
  entry->mark_changed();
  inc_total(count);
  return entry;
}

WordSeqCounterEntry* WordSeqCounter::addEntry(const char* word, float count) {
  if (word == nullptr) return nullptr;
  WordSeqCounterEntry* entry = find_entry(word);
  if (entry == nullptr && count == 0) return nullptr;
  if (entry == nullptr) entry = entry_for(word);
  WordSeqNode& root = entry->trie.node(WordSeqTrie::kRoot);
  root.end = true;
  root.value += count;
  entry->mark_changed();
  return entry;
}

NodeId WordSeqCounter::find_node(const WordSeqCounterEntry& entry, Words rest) {
  NodeId node = WordSeqTrie::kRoot;
  for (const char* word : rest) {
    int id = getId(word);
    if (id == 0) return WordSeqTrie::kNone;
    node = entry.trie.child(node, id);
    if (node == WordSeqTrie::kNone) return node;
  }
  return node;
}

float WordSeqCounter::getFreq(Words words) {
  if (words.empty()) return 0;
  const WordSeqCounterEntry* entry = find_entry(words[0]);
  if (entry == nullptr) return 0;
  NodeId node = find_node(*entry, words.subspan(1));
  if (node == WordSeqTrie::kNone || !entry->trie.node(node).end) return 0;
  return entry->trie.node(node).value;
}

float WordSeqCounter::getFreq(const char* text) {
  std::string storage;
  std::vector<const char*> words = split_at_spaces(text, storage);
  return getFreq(Words(words));
}

void WordSeqCounter::searchSeq(Words words, std::vector<const WordSeqNode*>& nodes) {
  const WordSeqCounterEntry* entry = words.empty() ? nullptr : find_entry(words[0]);
  if (entry == nullptr) {
    nodes.clear();
    return;
  }
  NodeId node = WordSeqTrie::kRoot;
  nodes.push_back(&entry->trie.node(node));
  for (const char* word : words.subspan(1)) {
    int id = getId(word);
    node = id == 0 ? WordSeqTrie::kNone : entry->trie.child(node, id);
    if (node == WordSeqTrie::kNone) {
      nodes.clear();
      return;
    }
    nodes.push_back(&entry->trie.node(node));
  }
  if (!nodes.back()->end) nodes.clear();
}

double WordSeqCounter::weight(float count) const {
  return std::log(static_cast<double>(total_count()) / count);
}

// ---- Count files ----

void WordSeqCounter::parse_count_line(char* line, bool reverse, std::vector<const char*>& words,
                                      float& count) const {
  words.clear();
  count = 1;
  char* p = line;
  while (*p != '\0') {
    if (*p == ' ' || *p == '\t') {
      bool tab = *p == '\t';
      *p++ = '\0';
      if (tab && !words.empty()) {
        count = static_cast<float>(std::atof(p));
        break;
      }
      continue;
    }
    words.push_back(p);
    while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
  }
  if (reverse) std::reverse(words.begin(), words.end());
}

void WordSeqCounter::loadCounts(std::istream& in) {
  StrBufs lines(4096);
  std::vector<const char*> words;
  float count = 0;
  while (char* line = lines.getline(in)) {
    parse_count_line(line, inverse_, words, count);
    if (!words.empty()) addEntry(Words(words), count);
    lines.clear();
  }
  set_counts(total() + pending(), 0);
}

void WordSeqCounter::applyCorrections(std::istream& in) {
  StrBufs lines(4096);
  std::vector<const char*> words;
  float count = 0;
  while (char* line = lines.getline(in)) {
    parse_count_line(line, false, words, count);
    float stored = getFreq(Words(words));
    if (!words.empty() && (stored > 0 || count > 0)) addEntry(Words(words), count - stored);
    lines.clear();
  }
}

// ---- Packing ----

void WordSeqCounter::pack_global_info(StrBufs& out) {
  PLHash::pack_global_info(out);
  word_ids_->pack(out);
}

bool WordSeqCounter::unpack_global_info(const char* data, std::size_t length) {
  constexpr std::size_t kTotalSize = 4;
  if (length < kTotalSize) return false;
  auto ids = std::make_unique<Str2Id>(symtable_size_);
  const char* cursor = data + kTotalSize;
  const char* end = data + length;
  if (!ids->unpack(cursor, end) || cursor != end) return false;
  word_ids_ = std::move(ids);
  return PLHash::unpack_global_info(data, kTotalSize);
}

void WordSeqCounter::v_pack_entry(const PLHashEntry& entry, StrBufs& out) const {
  out.push(static_cast<const void*>(entry.key()), std::strlen(entry.key()) + 1);
  pack_trie(as_entry(entry).trie, out);
}

PLHashEntry* WordSeqCounter::v_unpack_entry(const char* data, std::size_t length) const {
  ByteReader in(data, length);
  const char* key = in.get_str();
  if (key == nullptr) return nullptr;
  auto* entry = new WordSeqCounterEntry(key);
  if (!unpack_trie(in, word_ids_->size(), entry->trie)) {
    std::cerr << "format error in serialized TTrie<int, float>\n";
    entry->trie.clear();
  }
  return entry;
}

template <class Map>
void WordSeqCounter::add_trie(WordSeqTrie& into, const WordSeqTrie& from, Map map) {
  std::vector<std::pair<NodeId, NodeId>> stack{{WordSeqTrie::kRoot, WordSeqTrie::kRoot}};
  while (!stack.empty()) {
    auto [source, target] = stack.back();
    stack.pop_back();
    const WordSeqNode& node = from.node(source);
    if (node.end) {
      WordSeqNode& mine = into.node(target);
      mine.end = true;
      mine.value += node.value;
    }
    for (auto [id, child] : node.children) {
      int mapped = map(id);
      if (mapped != 0) stack.emplace_back(child, into.add_child(target, mapped));
    }
  }
}

void WordSeqCounter::combine(PLHashEntry& into, const PLHashEntry& from) {
  add_trie(static_cast<WordSeqCounterEntry&>(into).trie, as_entry(from).trie,
           [](int id) { return id; });
  into.mark_changed();
}

bool WordSeqCounter::accepts_entries_of(const PLHash& source) const {
  const auto* other = dynamic_cast<const WordSeqCounter*>(&source);
  return other != nullptr && other->inverse_ == inverse_;
}

PLHashEntry* WordSeqCounter::import_entry(const PLHash& source, const PLHashEntry& entry) {
  const auto& other = static_cast<const WordSeqCounter&>(source);
  auto* copy = new WordSeqCounterEntry(entry.key());
  add_trie(copy->trie, as_entry(entry).trie, [&](int id) {
    const char* word = other.getStr(id);
    return word != nullptr ? word_ids_->get_id(word, true) : 0;
  });
  return copy;
}

// ---- Printing ----

void WordSeqCounter::print_entry(const PLHashEntry& entry, std::ostream& out) const {
  const WordSeqTrie& trie = as_entry(entry).trie;
  struct Frame {
    NodeId node;
    std::size_t next_child;
  };
  std::vector<Frame> stack{{WordSeqTrie::kRoot, 0}};
  std::vector<const char*> path{entry.key()};
  std::vector<std::string> lines;
  auto add_line = [&](const WordSeqNode& node) {
    std::vector<const char*> words = path;
    if (inverse_) std::reverse(words.begin(), words.end());
    std::string line;
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (i > 0) line += ' ';
      line += words[i];
    }
    lines.push_back(line + '\t' + count_text(node.value));
  };
  if (trie.node(WordSeqTrie::kRoot).end) add_line(trie.node(WordSeqTrie::kRoot));
  while (!stack.empty()) {
    const WordSeqNode& node = trie.node(stack.back().node);
    if (stack.back().next_child == node.children.size()) {
      stack.pop_back();
      path.pop_back();
      continue;
    }
    auto [id, child] = node.children[stack.back().next_child++];
    const char* word = getStr(id);
    path.push_back(word != nullptr ? word : "");
    stack.push_back({child, 0});
    if (trie.node(child).end) add_line(trie.node(child));
  }
  std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    return str_to_upper_cmp_up_to_tab(a.c_str(), b.c_str()) < 0;
  });
  for (const std::string& line : lines) out << line << "\n";
}

}  // namespace lorvan
