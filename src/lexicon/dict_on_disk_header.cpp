#include "lexicon/dict_on_disk_header.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>
#include <utility>

#include "lexical/tokenizer.h"
#include "searchpath.h"

namespace lorvan {
namespace {

constexpr std::size_t kTokenArenaSize = 256;
constexpr std::size_t kInputSize = 1024;

// Reads the tokens of one header file and says what is wrong with it.
class HeaderReader {
 public:
  HeaderReader(std::istream& in, std::string path, std::string directory)
      : tokenizer_(" \t\n\r", ";", ";", "\"", '\\', ';', kTokenArenaSize, kInputSize),
        path_(std::move(path)),
        directory_(std::move(directory)) {
    tokenizer_.set_input_stream(&in);
  }

  std::optional<DictHeader> read() {
    DictHeader header;
    if (!file_name("the dictionary file name", header.dictionary_path) ||
        !bucket_count(header.buckets) ||
        !file_name("the index file name", header.index_path) ||
        !bracket("the opening character", header.brackets.open) ||
        !bracket("the closing character", header.brackets.close)) {
      return std::nullopt;
    }
    const DictBrackets b = header.brackets;
    if (b.open == b.close || b.open == '"' || b.close == '"') {
      fail("the opening and closing characters must differ and neither may be '\"'");
      return std::nullopt;
    }
    return header;
  }

 private:
  bool fail(const std::string& what) {
    std::cerr << "Bad dictionary header " << path_ << ": " << what << std::endl;
    return false;
  }

  const char* token(const char* what) {
    const char* t = tokenizer_.get_non_space_token();
    if (t == nullptr) fail(std::string("missing ") + what);
    return t;
  }

  // A quoted name comes with both of its quotes; both go.
  bool file_name(const char* what, std::string& out) {
    const char* t = token(what);
    if (t == nullptr) return false;
    std::string_view name(t);
    if (!name.empty() && name.front() == '"') {
      name.remove_prefix(1);
      if (!name.empty() && name.back() == '"') name.remove_suffix(1);
    }
    if (name.empty()) return fail(std::string(what) + " is empty");
    out = name.front() == '/' ? std::string(name) : directory_ + std::string(name);
    return true;
  }

  bool bucket_count(std::uint32_t& out) {
    const char* t = token("the number of buckets");
    if (t == nullptr) return false;
    long n = 0;
    if (std::sscanf(t, "%ld", &n) != 1 || n < 1 || n > long{DictHeader::kMaxBuckets}) {
      return fail(std::string("the number of buckets must be a number from 1 to ") +
                  std::to_string(DictHeader::kMaxBuckets) + ", not " + t);
    }
    out = static_cast<std::uint32_t>(n);
    return true;
  }

  bool bracket(const char* what, char& out) {
    const char* t = token(what);
    if (t == nullptr) return false;
    out = t[0];
    return true;
  }

  Tokenizer tokenizer_;
  std::string path_;
  std::string directory_;
};

std::string directory_prefix(const char* dir) {
  std::string prefix = dir != nullptr ? dir : "";
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  return prefix;
}

}  // namespace

std::optional<DictHeader> read_dict_header(const char* name) {
  if (name == nullptr) return std::nullopt;
  std::unique_ptr<std::ifstream> in = open_file_on_search_path(name);
  if (in == nullptr) return std::nullopt;
  // The directory lives in the search path's arena until its next look-up.
  HeaderReader reader(*in, name, directory_prefix(current_directory()));
  return reader.read();
}

}  // namespace lorvan
