#include "lexicon/stemmer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>

#include "command/irslist.h"
#include "filestreams.h"
#include "lexicon/porter.h"
#include "searchpath.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

constexpr std::size_t kResultBlock = 256;

bool less_by_surface(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  return lorvan::strcasecmp(a.front().c_str(), b.front().c_str()) < 0;
}

}  // namespace

Stemmer::Stemmer() : buffer_(kResultBlock) {}

Stemmer::~Stemmer() = default;

void Stemmer::init(IRSlist* options) {
  if (options == nullptr) return;
  const char* file = nullptr;
  if (options->get_arg_val(":stem-table", file, true)) {
    stem_table_ = std::make_unique<StemTable>();
    std::istream* in = file != nullptr ? make_istream(file) : nullptr;
    if (in == nullptr) {
      std::cerr << ":stem-table " << (file != nullptr ? file : "") << " cannot be opened."
                << std::endl;
      return;
    }
    stem_table_->load(*in);
    release_istream(in);
    return;
  }
  if (options->get_flag(":porter")) porter_ = true;
  if (options->get_arg_val(":irr-verbs", file, true)) loadIrrVerbs(file);
  IRSlist* endings = options->get_arg(":ending-table", true);
  if (endings != nullptr && endings->is_list()) {
    ending_table_ = std::make_unique<EndingTable>();
    ending_table_->init(endings);
  }
}

void Stemmer::loadIrrVerbs(const char* file) {
  if (file == nullptr) return;
  const char* path = locate_file(file);
  if (path == nullptr) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  IRSlistInputIterator it(in);
  for (IRSlist* e = it.current(); e != nullptr; e = it.next()) add_irregular(*e);
}

void Stemmer::add_irregular(const IRSlist& expression) {
  std::vector<std::string> list;
  for (const IRSlist* c = expression.first(); c != nullptr; c = c->next()) {
    if (c->is_list() || c->val() == nullptr) continue;
    std::string word = c->val();
    if (!list.empty()) {
      if (porter_) Stem(word);
      bool seen = std::any_of(list.begin() + 1, list.end(), [&word](const std::string& root) {
        return lorvan::strcasecmp(root.c_str(), word.c_str()) == 0;
      });
      if (seen) continue;
    }
    list.push_back(std::move(word));
  }
  if (list.empty()) return;
  // After any lists with the same surface form, as a stable re-sort would
  // place it.
  auto at = std::upper_bound(irregulars_.begin(), irregulars_.end(), list, less_by_surface);
  irregulars_.insert(at, std::move(list));
}

const std::vector<std::string>* Stemmer::find_irregular(const char* word) const {
  auto at = std::lower_bound(irregulars_.begin(), irregulars_.end(), word,
                             [](const std::vector<std::string>& list, const char* w) {
                               return lorvan::strcasecmp(list.front().c_str(), w) < 0;
                             });
  if (at == irregulars_.end() || lorvan::strcasecmp(at->front().c_str(), word) != 0) {
    return nullptr;
  }
  return &*at;
}

template <class Emit>
void Stemmer::find_roots(const char* word, StrBufs& buffer, bool first_ending_only, Emit emit) {
  if (stem_table_ != nullptr) {
    if (const StemEntry* entry = stem_table_->find(word)) {
      for (const auto& [root, label] : entry->pairs) emit(buffer.copy(root), label);
    } else {
      emit(buffer.copy(word), "bare");
    }
    return;
  }
  if (const std::vector<std::string>* list = find_irregular(word)) {
    for (std::size_t i = 1; i < list->size(); ++i) emit(buffer.copy((*list)[i]), "irreg");
    return;
  }
  if (ending_table_ != nullptr) {
    ending_table_->for_each_root(word, [&](const char* root, Ending* e) {
      emit(buffer.copy(root), e->name());
      return first_ending_only;
    });
    return;
  }
  char* stem = buffer.copy(word);
  if (porter_) Stem(stem);
  emit(stem, buffer.copy(word + std::strlen(stem)));
}

StrBufs& Stemmer::result_buffer(StrBufs* given) {
  if (given != nullptr) return *given;
  buffer_.clear();
  return buffer_;
}

void Stemmer::getRoots(const char* word, std::vector<const char*>& out, StrBufs* buffer) {
  StrBufs& results = result_buffer(buffer);
  if (word == nullptr) return;
  find_roots(word, results, false, [&out](const char* root, const char*) { out.push_back(root); });
}

void Stemmer::getRoots(const char* word, std::vector<RootPair>& out, StrBufs* buffer) {
  StrBufs& results = result_buffer(buffer);
  if (word == nullptr) return;
  find_roots(word, results, true, [&out](const char* root, const char* label) {
    out.emplace_back(root, label);
  });
}

void delStemmer(void* stemmer) { delete static_cast<Stemmer*>(stemmer); }

}  // namespace lorvan
