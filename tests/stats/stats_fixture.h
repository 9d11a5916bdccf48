// Shared set-up of the database tests: the process-wide interpreter with
// the name spaces, the expression language and the database commands
// registered (as at start-up), a scratch folder, raw file helpers, and a
// small database kind (NoteDb: key -> text) for the layers that do not
// care about the entry format.
#ifndef LORVAN_TESTS_STATS_STATS_FIXTURE_H_
#define LORVAN_TESTS_STATS_STATS_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "byte_reader.h"
#include "command/cmd_interpreter.h"
#include "command/named_obj.h"
#include "expr/lexp_init.h"
#include "stats/plhash.h"
#include "stats/tripledb_init.h"
#include "support/run_parsedemo.h"

namespace lorvan::statstest {

inline void init_runtime() {
  static bool done = false;
  if (done) return;
  done = true;
  if (CmdInterpreter::the_interpreter == nullptr) new CmdInterpreter(nullptr, '(', ')');
  CmdInterpreter::the_interpreter->interactive(0);
  namedobj_init();
  lexp_init();
  tripledb_init();
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

inline std::uint32_t word_at(const std::string& bytes, std::size_t position) {
  const char* cursor = bytes.data() + position;
  return StrBufs::get_unsigned_int(cursor);
}

inline void put_word(std::string& bytes, std::size_t position, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[position + i] = static_cast<char>(value >> (24 - 8 * i));
}

// An entry of NoteDb: a key and a text.
class NoteEntry : public PLHashEntry {
 public:
  NoteEntry(const char* key, std::string text) : PLHashEntry(key), text(std::move(text)) {}
  std::string text;
};

inline void delete_note(PLHashEntry* entry) { delete static_cast<NoteEntry*>(entry); }

// Packed: key, NUL, text, NUL.  Printed: key, tab, text, line end.
class NoteDb : public TPLHash<NoteEntry> {
 public:
  explicit NoteDb(unsigned size = 101) : TPLHash<NoteEntry>(&delete_note, size) {}

  void v_pack_entry(const PLHashEntry& entry, StrBufs& out) const override {
    const auto& note = static_cast<const NoteEntry&>(entry);
    out.push(static_cast<const void*>(note.key()), std::strlen(note.key()) + 1);
    out.push(static_cast<const void*>(note.text.c_str()), note.text.size() + 1);
  }
  PLHashEntry* v_unpack_entry(const char* data, std::size_t length) const override {
    ByteReader in(data, length);
    const char* key = in.get_str();
    const char* text = in.get_str();
    return in.ok() ? new NoteEntry(key, text) : nullptr;
  }
  void print_entry(const PLHashEntry& entry, std::ostream& out) const override {
    out << entry.key() << "\t" << static_cast<const NoteEntry&>(entry).text << "\n";
  }

  // Sets the text of `key`, making the entry when missing.
  void put(const char* key, const std::string& text) {
    Place place;
    NoteEntry* entry = search_entry_and_place(key, place);
    if (entry == nullptr) {
      add_entry(place, new NoteEntry(key, text));
      return;
    }
    entry->text = text;
    entry->mark_changed();
  }
  // The text of `key`, or "(none)".
  std::string get(const char* key) {
    Place place;
    NoteEntry* entry = search_entry_and_place(key, place);
    return entry != nullptr ? entry->text : "(none)";
  }
};

// A scratch folder with a header file writer.
class StatsTest : public ::testing::Test {
 protected:
  StatsTest() { init_runtime(); }

  std::string path(const std::string& name) const { return dir_.file(name); }
  // Writes a header file `name` naming the data file `data` (relative to
  // the folder) and returns its full path.
  std::string header(const std::string& name, const std::string& data, long block_size = 64,
                     long buckets = 101, const std::string& function = "strcasecmp") const {
    dir_.write(name, data + " " + std::to_string(block_size) + " " + std::to_string(buckets) +
                         " " + function + "\n");
    return path(name);
  }

  testsupport::TempDir dir_;
};

}  // namespace lorvan::statstest

#endif  // LORVAN_TESTS_STATS_STATS_FIXTURE_H_
