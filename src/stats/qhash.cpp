#include "stats/qhash.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "command/named_obj.h"
#include "hashtable.h"
#include "lexical/tokenizer.h"
#include "searchpath.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

constexpr std::uint32_t kLinkSize = 4;
constexpr std::uint32_t kKeyProbe = 64;  // payload bytes read to find a key

QHash::CompareFn find_compare_function(const char* name) {
  void* object = get_named_obj(name, "function", 0);
  return reinterpret_cast<QHash::CompareFn>(object);
}

// A header token without the quotes a quoted token keeps.
std::string unquote(const char* token) {
  std::size_t n = std::strlen(token);
  if (n >= 2 && token[0] == '"' && token[n - 1] == '"') return std::string(token + 1, n - 2);
  return token;
}

bool read_number(const char* token, long& value) {
  return token != nullptr && std::sscanf(token, "%ld", &value) == 1;
}

std::string data_file_path(const char* directory, const std::string& name) {
  std::string dir = directory != nullptr ? directory : "";
  if (dir.empty() || name.starts_with('/')) return name;
  if (!dir.ends_with('/')) dir += '/';
  return dir + name;
}

}  // namespace

int read_header_file(const char* header,
                     const std::function<int(const char* directory, Tokenizer&)>& open) {
  std::unique_ptr<std::ifstream> in = open_file_on_search_path(header);
  if (!in) return -1;
  std::string directory = current_directory() != nullptr ? current_directory() : "";
  Tokenizer tokenizer(" \t\n\r", ";,", ";,", "\"", '\\', ';', 256, 512);
  tokenizer.set_input_stream(in.get());
  return open(directory.c_str(), tokenizer);
}

QHash::QHash(std::ios::openmode mode) : QFile(mode) {}

QHash::~QHash() = default;

int QHash::init(const char* header) {
  return read_header_file(header, [this](const char* directory, Tokenizer& tokenizer) {
    return initAux(directory, tokenizer);
  });
}

int QHash::initAux(const char* directory, Tokenizer& tokenizer) {
  const char* name = tokenizer.get_non_space_token();
  std::string file = name != nullptr ? unquote(name) : "";
  long block_size = 0;
  long buckets = 0;
  bool numbers = read_number(tokenizer.get_non_space_token(), block_size) &&
                 read_number(tokenizer.get_non_space_token(), buckets);
  const char* function = numbers ? tokenizer.get_non_space_token() : nullptr;
  if (file.empty() || function == nullptr) {
    std::cerr << "A database header file must give the data file, the block size, "
                 "the bucket count and the comparison function\n";
    return 0;
  }
  std::string function_name = unquote(function);
  return init(data_file_path(directory, file).c_str(), block_size, buckets, function_name.c_str());
}

int QHash::init(const char* path, long block_size, long bucket_count, const char* function_name) {
  int result = QFile::init(path, block_size);
  if (!ok()) return 0;
  return result == 0 ? open_new_file(function_name, bucket_count) : open_existing_file();
}

int QHash::open_new_file(const char* function_name, long bucket_count) {
  if (bucket_count < 1 || bucket_count > static_cast<long>(kMaxBuckets)) {
    reject("the bucket count must be between 1 and " + std::to_string(kMaxBuckets));
    return 0;
  }
  std::size_t name_length = std::strlen(function_name);
  if (name_length == 0 || name_length > kMaxFunctionName) {
    reject("the comparison function name is missing or too long");
    return 0;
  }
  compare_ = find_compare_function(function_name);
  if (compare_ == nullptr) {
    std::cerr << "The function '" << function_name << "' is not registered as a named object\n";
    std::exit(1);
  }
  function_name_ = function_name;
  bucket_count_ = static_cast<std::uint32_t>(bucket_count);
  write_word(12, bucket_count_);
  std::vector<char> zeros(JournaledFile::kPageSize, '\0');
  std::uint32_t table_bytes = 4 * bucket_count_;
  for (std::uint32_t done = 0; done < table_bytes; done += static_cast<std::uint32_t>(zeros.size())) {
    std::uint32_t piece = std::min<std::uint32_t>(table_bytes - done, static_cast<std::uint32_t>(zeros.size()));
    write_bytes(kTablePosition + done, zeros.data(), piece);
  }
  std::uint32_t name_at = kTablePosition + table_bytes;
  write_word(name_at, static_cast<std::uint32_t>(name_length));
  std::string name_field = function_name_;
  while ((name_field.size()) % 4 != 0) name_field += function_name_[0];
  write_bytes(name_at + 4, name_field.data(), static_cast<std::uint32_t>(name_field.size()));
  set_data_start(name_at + 4 + static_cast<std::uint32_t>(name_field.size()));
  return 0;
}

int QHash::open_existing_file() {
  std::uint32_t buckets = 0;
  if (!read_word(12, buckets) || buckets == 0 || buckets > kMaxBuckets ||
      kTablePosition + 4ull * buckets + 4 > end()) {
    reject("not a database file (bad bucket count)");
    return 0;
  }
  std::uint32_t name_at = kTablePosition + 4 * buckets;
  std::uint32_t name_length = 0;
  read_word(name_at, name_length);
  std::uint32_t padded = (name_length + 3) / 4 * 4;
  if (name_length == 0 || name_length > kMaxFunctionName || name_at + 4ull + padded > end()) {
    reject("not a database file (bad function name)");
    return 0;
  }
  std::string name(name_length, '\0');
  read_bytes(name_at + 4, name.data(), name_length);
  compare_ = find_compare_function(name.c_str());
  if (compare_ == nullptr) {
    reject("the comparison function '" + name + "' is not registered as a named object");
    return 0;
  }
  function_name_ = name;
  bucket_count_ = buckets;
  return set_data_start(name_at + 4 + padded) ? 1 : 0;
}

std::uint32_t QHash::bucket(std::uint32_t i) {
  std::uint32_t head = 0;
  if (i >= bucket_count_ || !read_word(kTablePosition + 4 * i, head)) return 0;
  return head;
}

bool QHash::chain(std::uint32_t i, std::vector<std::uint32_t>& positions) {
  positions.clear();
  std::uint32_t limit = max_chunks();
  for (std::uint32_t p = bucket(i); p != 0;) {
    ItemInfo info;
    if (positions.size() >= limit || !read_item_info(p, info) || info.header.length < kLinkSize) {
      return false;
    }
    positions.push_back(p);
    read_word(p + kChunkHeaderSize, p);
  }
  return true;
}

std::uint32_t QHash::find_record(const char* key, ItemInfo& info) {
  if (!ok() || key == nullptr) return 0;
  std::uint32_t key_bytes = static_cast<std::uint32_t>(std::strlen(key)) + 1;
  std::uint32_t limit = max_chunks();
  std::uint32_t steps = 0;
  for (std::uint32_t p = bucket(hashpjw(key) % bucket_count_); p != 0;) {
    if (++steps > limit) {
      std::cerr << "The bucket chain of '" << key << "' in " << path() << " is damaged\n";
      return 0;
    }
    if (!read_item_info(p, info) || info.header.length < kLinkSize) return 0;
    // The link word, then enough of the payload to hold the key.
    std::uint32_t probe = std::min(info.header.length, kLinkSize + std::max(key_bytes, kKeyProbe));
    scratch_.resize(probe + 1);
    if (!read_item_bytes(info, 0, probe, scratch_.data())) return 0;
    const char* stored = scratch_.data() + kLinkSize;
    if (std::memchr(stored, '\0', probe - kLinkSize) == nullptr && probe < info.header.length) {
      probe = info.header.length;  // a long key: read the whole record
      scratch_.resize(probe + 1);
      if (!read_item_bytes(info, 0, probe, scratch_.data())) return 0;
      stored = scratch_.data() + kLinkSize;
    }
    scratch_[probe] = '\0';
    if (compare_(key, stored) == 0) return p;
    const char* cursor = scratch_.data();
    p = StrBufs::get_unsigned_int(cursor);
  }
  return 0;
}

std::uint32_t QHash::fetch(const char* key, StrBufs& buffer) {
  ItemInfo info;
  std::uint32_t p = find_record(key, info);
  if (p == 0) return 0;
  buffer.clear();
  std::uint32_t length = info.header.length - kLinkSize;
  return read_item_bytes(info, kLinkSize, length, buffer.allocate(length)) ? p : 0;
}

std::uint32_t QHash::getPosition(const char* key) {
  ItemInfo info;
  return find_record(key, info);
}

bool QHash::read_record(std::uint32_t position, std::uint32_t& next, StrBufs& buffer) {
  ItemInfo info;
  if (!read_item_info(position, info) || info.header.length < kLinkSize) return false;
  buffer.clear();
  std::uint32_t length = info.header.length - kLinkSize;
  return read_word(position + kChunkHeaderSize, next) &&
         read_item_bytes(info, kLinkSize, length, buffer.allocate(length));
}

bool QHash::write_record(std::uint32_t& position, std::uint32_t next, const char* payload,
                         std::uint32_t length) {
  record_.clear();
  record_.push_int(static_cast<int>(next));
  record_.push(payload, length);
  position = save(position, record_.str(), length + kLinkSize);
  return position != 0;
}

std::uint32_t QHash::insert_new(const char* payload, std::uint32_t length) {
  if (!ok() || read_only() || std::memchr(payload, '\0', length) == nullptr) return 0;
  std::uint32_t b = hashpjw(payload) % bucket_count_;
  std::vector<std::uint32_t> positions;
  if (!chain(b, positions)) {
    std::cerr << "Cannot add to the damaged bucket " << b << " of " << path() << "\n";
    return 0;
  }
  std::uint32_t position = 0;
  if (!write_record(position, 0, payload, length)) return 0;
  std::uint32_t link_at = positions.empty() ? kTablePosition + 4 * b
                                            : positions.back() + kChunkHeaderSize;
  write_word(link_at, position);
  return position;
}

std::uint32_t QHash::store(std::uint32_t position, const char* payload, std::uint32_t length,
                           std::uint32_t next, int flag) {
  if (!ok() || read_only()) return 0;
  if (flag == 0 && !read_word(position + kChunkHeaderSize, next)) return 0;
  return write_record(position, next, payload, length) ? position : 0;
}

bool QHash::validate() {
  if (!ok()) return false;
  std::uint32_t limit = max_chunks();
  for (std::uint32_t i = 0; i < bucket_count_; ++i) {
    std::uint32_t steps = 0;
    for (std::uint32_t p = bucket(i); p != 0; ++steps) {
      ItemInfo info;
      if (p >= end() || p < data_start() || steps >= limit) {
        std::cerr << "out of bound\n";
        return false;
      }
      if (check_item(p, info) != ItemState::kSound || info.header.length < kLinkSize) {
        std::cerr << "invalid header\n";
        return false;
      }
      read_word(p + kChunkHeaderSize, p);
    }
  }
  return true;
}

void QHash::show_profile(int limit) {
  if (!ok()) return;
  ChainProfile profile(limit);
  std::vector<std::uint32_t> positions;
  for (std::uint32_t i = 0; i < bucket_count_; ++i) {
    chain(i, positions);
    profile.add_chain(static_cast<long>(positions.size()));
  }
  profile.print(std::cerr);
}

void QHash::sort_links() {
  if (!ok() || read_only()) return;
  std::vector<std::uint32_t> positions;
  for (std::uint32_t i = 0; i < bucket_count_; ++i) {
    if (!chain(i, positions) || positions.empty()) continue;
    std::sort(positions.begin(), positions.end());
    write_word(kTablePosition + 4 * i, positions.front());
    for (std::size_t k = 0; k < positions.size(); ++k) {
      std::uint32_t next = k + 1 < positions.size() ? positions[k + 1] : 0;
      write_word(positions[k] + kChunkHeaderSize, next);
    }
  }
  saveHeader();
}

// ---- QHashIterator ----

StrBufs* QHashIterator::next() {
  while (true) {
    if (next_position_ == 0) {
      if (bucket_ >= file_.bucket_count()) return nullptr;
      next_position_ = file_.bucket(bucket_++);
      steps_ = 0;
      continue;
    }
    std::uint32_t p = next_position_;
    std::uint32_t link = 0;
    if (++steps_ > file_.max_chunks() || !file_.read_record(p, link, buffer_)) {
      std::cerr << "Skipping the damaged chain of bucket " << bucket_ - 1 << "\n";
      next_position_ = 0;
      continue;
    }
    next_position_ = link;
    current_ = p;
    return &buffer_;
  }
}

void QHashIterator::reset() {
  bucket_ = 0;
  next_position_ = 0;
  steps_ = 0;
  current_ = 0;
}

}  // namespace lorvan
