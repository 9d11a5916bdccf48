#include "expr/file_exps.h"

#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <unordered_map>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "searchpath.h"

namespace lorvan {

namespace {

// The streams open-file made, keyed by the value handed out (the
// std::istream* or std::ostream* of the stream).
std::unordered_map<const void*, std::unique_ptr<std::ios_base>>& open_streams() {
  static std::unordered_map<const void*, std::unique_ptr<std::ios_base>> streams;
  return streams;
}

// Creates every directory named by a prefix of `path` that ends before a
// '/'.
void make_directories(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0755);
  }
}

// Keeps `file` among the open streams and hands it out as the Stream*
// value open-file gives.
template <class Stream, class File>
void* keep_open(std::unique_ptr<File> file) {
  void* value = static_cast<Stream*>(file.get());
  open_streams()[value] = std::move(file);
  return value;
}

}  // namespace

FileAdaptor::FileAdaptor() : LAdaptor(arg_type_id("stream*")) {
  set_input_type(arg_type_id("char*"));
}

void FileAdaptor::init(IRSlist* args) {
  write_ = args->remove_flag(":write");
  LAdaptor::init(args);
}

void* OpenFile::convert(void* input) {
  if (input == nullptr) return nullptr;
  const char* name = static_cast<const char*>(input);
  if (!write()) return keep_open<std::istream>(std::make_unique<std::ifstream>(name));
  make_directories(name);
  return keep_open<std::ostream>(
      std::make_unique<std::ofstream>(name, std::ios::out | std::ios::trunc));
}

void* CloseFile::convert(void* input) {
  if (input == nullptr) return nullptr;
  if (open_streams().erase(input) == 0 && write() &&
      input == static_cast<std::ostream*>(&std::cout)) {
    std::cout.flush();
  }
  return nullptr;
}

void ExistFile::init(IRSlist* args) {
  if (const char* name = args->get_val()) name_ = name;
}

void* ExistFile::eval(void* /*input*/, int /*type*/) {
  return int_to_value(name_ && locate_file(name_->c_str()) != nullptr ? 1 : 0);
}

}  // namespace lorvan
