#include "stats/plhash.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <istream>
#include <typeinfo>

#include "strfuncs.h"

namespace lorvan {
namespace {

std::unique_ptr<char[]> copy_key(const char* key) {
  std::size_t n = std::strlen(key) + 1;
  auto copy = std::make_unique<char[]>(n);
  std::memcpy(copy.get(), key, n);
  return copy;
}

void delete_key(const char* key) { delete[] key; }

// Whether the stream holds anything but blanks; leaves it at the first
// other character.
bool more_than_blanks(std::istream& in) {
  in >> std::ws;
  return in.good() && in.peek() != std::char_traits<char>::eof();
}

// Whether a packed entry starts with a terminated key.
bool holds_key(const char* data, std::size_t length) {
  return std::memchr(data, '\0', length) != nullptr;
}

}  // namespace

// ---- PLHashEntry ----

PLHashEntry::PLHashEntry(const char* key) : key_(copy_key(key != nullptr ? key : "")) {}

PLHashEntry::~PLHashEntry() = default;

// ---- Construction ----

PLHash::PLHash(PLHashEntryDeleter deleter, unsigned bucket_count)
    : deleter_(deleter),
      entries_(bucket_count, &str_to_upper_cmp, deleter),
      absent_(bucket_count, &hashpjw, &lorvan::strcasecmp, &delete_key) {}

PLHash::~PLHash() = default;

void delete_plhash(void* object) { delete static_cast<PLHash*>(object); }

std::string count_text(double count) {
  StrBufs text(32);
  text.push(count);
  return std::string(text.str(), text.length());
}

// ---- Global information ----

void PLHash::pack_global_info(StrBufs& out) {
  total_ += pending_;
  pending_ = 0;
  out.push_float(total_);
}

bool PLHash::unpack_global_info(const char* data, std::size_t length) {
  if (length != 4) return false;
  total_ = StrBufs::get_float(data);
  pending_ = 0;
  return true;
}

void PLHash::save_global_info(std::uint32_t position) {
  if (!file_) return;
  StrBufs buffer(kGlobalInfoSize);
  pack_global_info(buffer);
  file_->save(position, buffer.str(), static_cast<std::uint32_t>(buffer.length()));
}

bool PLHash::load_global_info() {
  StrBufs buffer(kGlobalInfoSize);
  if (!file_ || !file_->load(file_->data_start(), buffer) ||
      !unpack_global_info(buffer.str(), buffer.length())) {
    std::cerr << "Can't open " << (file_ ? file_->path() : std::string())
              << ": it is damaged or belongs to another kind of database\n";
    return false;
  }
  return true;
}

// ---- Linking ----

int PLHash::open_file(const char* header, std::ios::openmode mode) {
  return read_header_file(header, [this, mode](const char* directory, Tokenizer& tokenizer) {
    return open_file_with_tokenizer(mode, directory, tokenizer);
  });
}

int PLHash::open_file_with_tokenizer(std::ios::openmode mode, const char* directory,
                                     Tokenizer& tokenizer) {
  if (file_) {
    std::cerr << "The database is already linked to " << file_->path()
              << "; unlink-file it first\n";
    return -1;
  }
  auto file = std::make_unique<QHash>(mode);
  int result = file->initAux(directory, tokenizer);
  if (!file->ok()) return -1;
  if (result == 1 && entries_.size() > 0) {
    // Entries made in memory would shadow, and duplicate, the file's.
    std::cerr << "Can't link " << file->path()
              << ": the database already holds entries; link the file before adding any\n";
    return -1;
  }
  clear_absent_keys();
  file_ = std::move(file);
  bool linked = true;
  if (result == 1) {
    linked = load_global_info();
  } else {
    // A new file gets its global information at once and is put on disk
    // complete.
    save_global_info(0);
    linked = file_->saveHeader();
  }
  if (!linked) {
    file_.reset();
    return -1;
  }
  return result;
}

void PLHash::unlink_file() {
  sync();
  clear();
  total_ = pending_ = 0;
  file_.reset();
}

// ---- What each kind supplies ----

void PLHash::v_pack_entry(const PLHashEntry&, StrBufs&) const {
  std::cerr << "PLHash::v_pack_entry must be defined by a subclass.\n";
}

PLHashEntry* PLHash::v_unpack_entry(const char*, std::size_t) const {
  std::cerr << "PLHash::v_unpack_entry must be defined by a subclass.\n";
  return nullptr;
}

void PLHash::combine(PLHashEntry&, const PLHashEntry&) {
  std::cerr << "PLHash::combine must be defined by a subclass.\n";
}

void PLHash::print_entry(const PLHashEntry&, std::ostream&) const {
  std::cerr << "PLHash::print_entry must be defined by a subclass.\n";
}

bool PLHash::reconstruct_entry(std::istream&, StrBufs&) {
  std::cerr << "PLHash::read_entry must be defined by a subclass.\n";
  return false;
}

void PLHash::populate(std::istream&) {
  std::cerr << "PLHash::populate(istream& istrm) is not implemented\n";
}

bool PLHash::accepts_entries_of(const PLHash& source) const {
  return typeid(*this) == typeid(source);
}

PLHashEntry* PLHash::import_entry(const PLHash&, const PLHashEntry&) { return nullptr; }

// ---- Entries ----

PLHashEntry* PLHash::search_entry_and_place(const char* key, Place& place) {
  if (key == nullptr) return nullptr;
  PLHashEntry* entry = entries_.search(key, place);
  if (entry != nullptr || !file_ || !file_->ok()) return entry;
  if (absent_.find(key) != nullptr) return nullptr;
  std::uint32_t position = file_->fetch(key, buffer_);
  if (position == 0) {
    absent_.insert(copy_key(key).release());
    return nullptr;
  }
  entry = v_unpack_entry(buffer_.str(), buffer_.length());
  if (entry == nullptr) return nullptr;
  entry->set_position(static_cast<std::int32_t>(position));
  entries_.insert(place, entry);
  return entry;
}

int PLHash::existEntry(const char* key) {
  if (key == nullptr) return 0;
  if (entries_.search(key) != nullptr) return 1;
  if (!file_ || !file_->ok() || absent_.find(key) != nullptr) return 0;
  return file_->getPosition(key) != 0 ? 1 : 0;
}

void PLHash::save_entry(PLHashEntry& entry) {
  if (!writable_file()) return;
  buffer_.clear();
  v_pack_entry(entry, buffer_);
  std::uint32_t length = static_cast<std::uint32_t>(buffer_.length());
  if (length == 0 || !holds_key(buffer_.str(), length)) return;
  std::uint32_t position = entry.record();
  if (position != 0) {
    file_->store(position, buffer_.str(), length, 0, 0);
  } else {
    position = file_->insert_new(buffer_.str(), length);
  }
  entry.set_position(static_cast<std::int32_t>(position));
}

void PLHash::save_entries(std::vector<PLHashEntry*>& list, bool destroy) {
  std::stable_sort(list.begin(), list.end(), [](const PLHashEntry* a, const PLHashEntry* b) {
    return a->record() < b->record();
  });
  for (PLHashEntry* entry : list) {
    save_entry(*entry);
    if (destroy) destroy_entry(entry);
  }
  list.clear();
}

void PLHash::inc_total(float amount) {
  pending_ += amount;
  if (file_) file_->set_dirty();
  if (pending_ > kPendingLimit) {
    total_ += pending_;
    pending_ = 0;
  }
}

// ---- Synchronisation ----

void PLHash::sync() {
  clear_absent_keys();
  if (!writable_file()) return;
  std::vector<PLHashEntry*> all;
  all.reserve(static_cast<std::size_t>(entries_.size()));
  entries_.for_each([&all](PLHashEntry* e) { all.push_back(e); });
  std::vector<PLHashEntry*> changed;
  for (PLHashEntry* entry : all) {
    if (entry->position() > 0) continue;
    if (entry->position() == 0) {
      save_entry(*entry);
      continue;
    }
    entry->set_position(static_cast<std::int32_t>(entry->record()));
    changed.push_back(entry);
    if (changed.size() >= kSaveBatch) save_entries(changed, false);
  }
  save_entries(changed, false);
  save_global_info(file_->data_start());
  file_->saveHeader();
  entries_.clear();
}

void PLHash::clear() {
  entries_.clear();
  clear_absent_keys();
}

// ---- Whole-database operations ----

void PLHash::for_each_current_entry(const std::function<bool(PLHashEntry&, bool)>& fn) {
  entries_.for_each([&fn](PLHashEntry* e) { fn(*e, false); });
  if (!file_ || !file_->ok()) return;
  QHashIterator records(*file_);
  while (StrBufs* payload = records.next()) {
    if (!holds_key(payload->str(), payload->length()) || entries_.search(payload->str()) != nullptr) {
      continue;
    }
    PLHashEntry* entry = v_unpack_entry(payload->str(), payload->length());
    if (entry == nullptr) continue;
    entry->set_position(static_cast<std::int32_t>(records.position()));
    if (!fn(*entry, true)) destroy_entry(entry);
  }
}

bool PLHash::check_source(const PLHash& source, const char* operation) const {
  if (&source == this) {
    std::cerr << "Cannot " << operation << " a database into itself\n";
    return false;
  }
  if (!accepts_entries_of(source)) {
    std::cerr << "Cannot " << operation << ": the databases are of different kinds\n";
    return false;
  }
  return true;
}

void PLHash::for_each_imported(PLHash& source,
                               const std::function<void(const PLHashEntry&, StrBufs&)>& fn) {
  StrBufs packed(kEntryBufferSize);
  source.for_each_current_entry([&](PLHashEntry& entry, bool) {
    PLHashEntry* own = import_entry(source, entry);
    const PLHashEntry& use = own != nullptr ? *own : entry;
    packed.clear();
    v_pack_entry(use, packed);
    if (packed.length() > 0 && holds_key(packed.str(), packed.length())) fn(use, packed);
    if (own != nullptr) destroy_entry(own);
    return false;
  });
}

void PLHash::copy(PLHash& source) {
  if (!check_source(source, "copy")) return;
  if (!writable_file()) {
    std::cerr << "PLHash::copy cannot open disk file\n";
    return;
  }
  sync();
  set_counts(source.total_, source.pending_);
  for_each_imported(source, [this](const PLHashEntry& entry, StrBufs& packed) {
    std::uint32_t length = static_cast<std::uint32_t>(packed.length());
    std::uint32_t position = file_->getPosition(entry.key());
    if (position != 0) {
      file_->store(position, packed.str(), length, 0, 0);
    } else {
      file_->insert_new(packed.str(), length);
    }
  });
  file_->set_dirty();
  sync();
}

void PLHash::merge(PLHash& source) {
  if (!check_source(source, "merge")) return;
  if (!writable_file()) {
    std::cerr << "PLHash::merge cannot open disk file\n";
    return;
  }
  sync();
  total_ += source.total_;
  pending_ += source.pending_;
  StrBufs record(kEntryBufferSize);
  for_each_imported(source, [&](const PLHashEntry& entry, StrBufs& packed) {
    std::uint32_t position = file_->fetch(entry.key(), record);
    if (position == 0) {
      file_->insert_new(packed.str(), static_cast<std::uint32_t>(packed.length()));
      return;
    }
    PLHashEntry* mine = v_unpack_entry(record.str(), record.length());
    if (mine == nullptr) return;
    mine->set_position(static_cast<std::int32_t>(position));
    combine(*mine, entry);
    // Saved at once: a later source key may compare equal to this one.
    save_entry(*mine);
    destroy_entry(mine);
  });
  file_->set_dirty();
  sync();
}

void PLHash::reconstruct(std::istream& in) {
  if (!writable_file()) {
    std::cerr << "reconstruct needs a database linked read-write\n";
    return;
  }
  StrBufs packed(10000);
  while (more_than_blanks(in)) {
    packed.clear();
    if (!reconstruct_entry(in, packed)) return;
    std::uint32_t length = static_cast<std::uint32_t>(packed.length());
    if (length > 0 && holds_key(packed.str(), length)) file_->insert_new(packed.str(), length);
  }
  sort_links();
  sync();
}

// ---- Plain items ----

bool PLHash::load(std::uint32_t position, StrBufs& buffer) {
  return file_ && file_->ok() && file_->load(position, buffer);
}

std::uint32_t PLHash::save(std::uint32_t position, const char* data, std::uint32_t length) {
  return file_ && file_->ok() ? file_->save(position, data, length) : 0;
}

// ---- Inspection ----

void PLHash::dump(std::ostream& out, const std::function<bool(const char*)>& select) {
  std::vector<PLHashEntry*> all;
  std::vector<PLHashEntry*> owned;
  for_each_current_entry([&](PLHashEntry& entry, bool from_file) {
    if (select && !select(entry.key())) return false;
    all.push_back(&entry);
    if (from_file) owned.push_back(&entry);
    return from_file;
  });
  std::stable_sort(all.begin(), all.end(), [](const PLHashEntry* a, const PLHashEntry* b) {
    return str_to_upper_cmp_up_to_tab(a->key(), b->key()) < 0;
  });
  for (const PLHashEntry* entry : all) print_entry(*entry, out);
  for (PLHashEntry* entry : owned) destroy_entry(entry);
}

bool PLHash::validate() { return file_ && file_->validate(); }

void PLHash::show_disk_profile(int limit) {
  if (file_) file_->show_profile(limit);
}

void PLHash::sort_links() {
  if (file_) file_->sort_links();
}

void PLHash::print_free_list() {
  if (file_) file_->printFreeList(std::cerr);
}

// ---- PLHashIterator ----

PLHashIterator::PLHashIterator(PLHash& db) : db_(db) { reset(); }

PLHashIterator::~PLHashIterator() { drop_current(); }

void PLHashIterator::drop_current() {
  if (owned_ != nullptr) db_.destroy_entry(owned_);
  owned_ = nullptr;
  current_buffer_ = nullptr;
}

void PLHashIterator::reset() {
  drop_current();
  finished_ = false;
  memory_.clear();
  memory_next_ = 0;
  if (db_.disk_file() != nullptr && db_.disk_file()->ok()) {
    records_ = std::make_unique<QHashIterator>(*db_.disk_file());
  } else {
    records_.reset();
    db_.for_each_entry([this](PLHashEntry* e) { memory_.push_back(e); });
  }
}

PLHashEntry* PLHashIterator::next() {
  drop_current();
  if (!records_) {
    if (memory_next_ < memory_.size()) return memory_[memory_next_++];
    finished_ = true;
    return nullptr;
  }
  while (StrBufs* payload = records_->next()) {
    if (!holds_key(payload->str(), payload->length())) continue;
    owned_ = db_.v_unpack_entry(payload->str(), payload->length());
    if (owned_ == nullptr) continue;
    owned_->set_position(static_cast<std::int32_t>(records_->position()));
    current_buffer_ = payload;
    return owned_;
  }
  finished_ = true;
  return nullptr;
}

}  // namespace lorvan
