#include "lexicon/dict_on_disk.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "lexicon/dict_index_builder.h"
#include "lexicon/dict_on_disk_header.h"
#include "strfuncs.h"

namespace lorvan {

namespace fs = std::filesystem;

DictOnDisk::DictOnDisk(const char* header) {
  const std::optional<DictHeader> h = read_dict_header(header);
  if (!h) return;
  buckets_ = h->buckets;
  brackets_ = h->brackets;
  reader_ = DictEntryReader(brackets_);
  std::uint64_t size = 0;
  if (!open_dictionary(h->dictionary_path, size)) return;
  if (index_is_stale(h->dictionary_path, h->index_path) && !buildindex(h->index_path)) return;
  index_ = DictIndex::open(h->index_path, h->buckets, size);
}

bool DictOnDisk::open_dictionary(const std::string& path, std::uint64_t& size) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) {
    std::cerr << path << " does not exist" << std::endl;
    return false;
  }
  if (fs::is_regular_file(status)) {
    size = fs::file_size(path, error);
    if (!error) {
      dictionary_.rdbuf()->pubsetbuf(read_buffer_, kReadBufferSize);
      dictionary_.open(path, std::ios::in | std::ios::binary);
    }
  }
  if (!dictionary_.is_open()) {
    std::cerr << "Error openning dictionary " << path << std::endl;
    return false;
  }
  return true;
}

bool DictOnDisk::index_is_stale(const std::string& dictionary_path,
                                const std::string& index_path) {
  std::error_code error;
  const fs::file_time_type index_time = fs::last_write_time(index_path, error);
  if (error) return true;
  const fs::file_time_type dictionary_time = fs::last_write_time(dictionary_path, error);
  return !error && index_time < dictionary_time;
}

bool DictOnDisk::buildindex(const std::string& path) {
  if (!dictionary_.is_open() || buckets_ == 0) return false;
  return build_dict_index(dictionary_, brackets_, buckets_, path);
}

const char* DictOnDisk::search(const char* word) {
  if (!ok()) {
    std::cerr << "Dictionary file or index file not openned." << std::endl;
    return nullptr;
  }
  if (word == nullptr) return nullptr;
  index_->start(word);
  for (std::uint32_t candidate = index_->next(); candidate != 0; candidate = index_->next()) {
    if (const char* entry = search(word, candidate)) return entry;
  }
  return nullptr;
}

const char* DictOnDisk::search(const char* word, std::uint32_t candidate) {
  buffer_.clear();
  if (word == nullptr || candidate == 0 || !dictionary_.is_open()) return nullptr;
  dictionary_.clear();
  const std::uint64_t position = candidate - 1;
  if (!dictionary_.seekg(static_cast<std::streamoff>(position))) return nullptr;
  reader_.attach(dictionary_.rdbuf(), position);
  const char* entry = get_entry(buffer_);
  if (entry == nullptr) return nullptr;
  const char* head = get_head_word(entry, buffer_);
  return head != nullptr && strcasecmp(head, word) == 0 ? entry : nullptr;
}

void Lexicon::add_disk_file(const char* header) {
  link_disk(std::make_unique<DictOnDisk>(header));
}

}  // namespace lorvan
