#include "stats/plhash_commands.h"

#include <iostream>
#include <memory>

#include "command/arg_types.h"
#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "expr/lexp.h"
#include "filestreams.h"
#include "stats/plhash.h"
#include "strfuncs.h"

namespace lorvan {
namespace {

constexpr long kDefaultProfileLimit = 50;

// The database named by the next argument, or null (reported).
PLHash* take_database(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "The name of a database is expected\n";
    return nullptr;
  }
  return static_cast<PLHash*>(get_named_obj(name, "PLHash", 1));
}

void* search_cmd(IRSlist* args) {
  const char* name = args->top_val();
  PLHash* db = take_database(args);
  if (db == nullptr) {
    std::cerr << "Database " << (name != nullptr ? name : "") << " is not found\n";
    return nullptr;
  }
  while (args->first() != nullptr) {
    const char* key = args->get_val();
    PLHash::Place place;
    if (PLHashEntry* entry = db->search_entry_and_place(key, place)) db->print_entry(*entry, std::cout);
  }
  return nullptr;
}

void* copy_cmd(IRSlist* args) {
  PLHash* destination = take_database(args);
  PLHash* source = take_database(args);
  if (destination != nullptr && source != nullptr) destination->copy(*source);
  return nullptr;
}

void* merge_cmd(IRSlist* args) {
  PLHash* destination = take_database(args);
  PLHash* source = take_database(args);
  if (destination != nullptr && source != nullptr) destination->merge(*source);
  return nullptr;
}

// (dump db [LExp] [output]): the expression, when given, selects the
// entries by their keys (input type "char*").
void* dump_cmd(IRSlist* args) {
  PLHash* db = take_database(args);
  if (db == nullptr) return nullptr;
  std::unique_ptr<LExp> select;
  const char* output = nullptr;
  for (IRSlist* arg = args->first(); arg != nullptr; arg = arg->next()) {
    if (arg->is_list() && !select) {
      select = LExp::get_exp(arg);
    } else if (!arg->is_list() && output == nullptr) {
      output = arg->val();
    }
  }
  std::ostream* out = make_ostream(output);
  if (out == nullptr) return nullptr;
  db->sync();
  int key_type = arg_type_id("char*");
  std::function<bool(const char*)> accepts;
  if (select) {
    accepts = [&](const char* key) { return select->eval(const_cast<char*>(key), key_type) != nullptr; };
  }
  db->dump(*out, accepts);
  out->flush();
  release_ostream(out);
  return nullptr;
}

void* link_file_cmd(IRSlist* args) {
  PLHash* db = take_database(args);
  const char* header = args->get_val();
  if (db == nullptr) return nullptr;
  if (header == nullptr) {
    std::cerr << "link-file: the name of a header file is expected\n";
    return nullptr;
  }
  const char* mode = args->get_val();
  bool read_write = mode != nullptr && lorvan::strcasecmp(mode, "rw") == 0;
  db->open_file(header, read_write ? std::ios::in | std::ios::out : std::ios::in);
  return nullptr;
}

void* unlink_file_cmd(IRSlist* args) {
  if (PLHash* db = take_database(args)) db->unlink_file();
  return nullptr;
}

void* sync_cmd(IRSlist* args) {
  if (PLHash* db = take_database(args)) db->sync();
  return nullptr;
}

// Runs `work` on the database and the input stream named by the next
// argument (standard input when absent).
template <class Work>
void with_input(IRSlist* args, Work work) {
  PLHash* db = take_database(args);
  if (db == nullptr) return;
  std::istream* in = make_istream(args->get_val());
  if (in == nullptr) return;
  work(*db, *in);
  release_istream(in);
}

void* populate_cmd(IRSlist* args) {
  with_input(args, [](PLHash& db, std::istream& in) { db.populate(in); });
  return nullptr;
}

void* reconstruct_cmd(IRSlist* args) {
  with_input(args, [](PLHash& db, std::istream& in) { db.reconstruct(in); });
  return nullptr;
}

void* get_total_count_cmd(IRSlist* args) {
  if (PLHash* db = take_database(args)) std::cout << count_text(db->total_count()) << "\n";
  return nullptr;
}

void* validate_cmd(IRSlist* args) {
  if (PLHash* db = take_database(args)) db->validate();
  return nullptr;
}

void* profile_cmd(IRSlist* args) {
  PLHash* db = take_database(args);
  if (db == nullptr) return nullptr;
  long limit = args->first() != nullptr ? args->get_long_val() : kDefaultProfileLimit;
  db->show_disk_profile(limit > 0 ? static_cast<int>(limit) : static_cast<int>(kDefaultProfileLimit));
  return nullptr;
}

void* sort_links_cmd(IRSlist* args) {
  if (PLHash* db = take_database(args)) db->sort_links();
  return nullptr;
}

void* print_free_list_cmd(IRSlist* args) {
  if (PLHash* db = take_database(args)) db->print_free_list();
  return nullptr;
}

}  // namespace

void plhash_init() {
  static bool done = false;
  if (done) return;
  done = true;
  CmdInterpreter& interpreter = *CmdInterpreter::the_interpreter;
  interpreter.enter("s", search_cmd,
                    "(s db key1 ... keyn) Search a PLHash and print the entries that are found");
  interpreter.enter("copy", copy_cmd, "(copy des-db src-db) Make a des-db a copy of src-db");
  interpreter.enter("merge", merge_cmd,
                    "(merge des-db src-db) merge the entries in src-db into des-db");
  interpreter.enter("dump", dump_cmd,
                    "(dump db [LExp] [output]) Print the entries in db that satisfy the LExp "
                    "(if present) onto the output stream");
  interpreter.enter("link-file", link_file_cmd,
                    "(link-file db header.hdr) Link the db to a disk file so that if an entry is "
                    "not found in db, the file will be searched.");
  interpreter.enter("unlink-file", unlink_file_cmd,
                    "(unlink-file db) Remove the linkage between the db object and its associated "
                    "disk file. This will also clear all the data (including global data) in db.");
  interpreter.enter("sync", sync_cmd,
                    "(sync db) Syncronize the in-memory object of db and its disk file");
  interpreter.enter("populate", populate_cmd,
                    "(populate db [input]) populate db with with stuff from input");
  interpreter.enter("reconstruct", reconstruct_cmd,
                    "(reconstruct db [input]) reconstruct db with with stuff from input");
  interpreter.enter("get-total-count", get_total_count_cmd,
                    "(get-total-count db) return the total count of db");
  interpreter.enter("validate", validate_cmd,
                    "(validate db) check the disk file consistency of db");
  interpreter.enter("profile", profile_cmd, "(profile db) print the hashtable profile of db");
  interpreter.enter("sort-links", sort_links_cmd,
                    "(sort-links db) sort the links in each hash bucket so that they are in "
                    "ascending order.");
  interpreter.enter("print-free-list", print_free_list_cmd,
                    "(print-free-list db) print the free block list in the disk file");
}

}  // namespace lorvan
