// Named streams ("-" for the standard streams) and raw descriptors.
#include "filestreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iostream>

#include "searchpath.h"

namespace lorvan {
namespace {

bool names_standard_stream(const char* name) {
  return name == nullptr || name[0] == '-';
}

bool names_standard_descriptor(const char* path) {
  return path == nullptr || path[0] == '\0' ||
         (path[0] == '-' && path[1] == '\0');
}

#ifdef O_LARGEFILE
constexpr int kLargeFile = O_LARGEFILE;
#else
constexpr int kLargeFile = 0;
#endif

}  // namespace

std::istream* make_istream(const char* name) {
  if (names_standard_stream(name)) return &std::cin;
  return open_file_on_search_path(name).release();
}

std::ostream* make_ostream(const char* name) {
  if (names_standard_stream(name)) return &std::cout;
  auto* out = new std::ofstream(name, std::ios::out | std::ios::trunc);
  if (!out->is_open()) {
    delete out;
    std::cerr << "make_ostream: cannot open the file '" << name << "'\n";
    return nullptr;
  }
  return out;
}

void release_istream(std::istream* s) {
  if (s != &std::cin) delete s;
}

void release_ostream(std::ostream* s) {
  if (s == &std::cout || s == &std::cerr || s == &std::clog) return;
  if (s != nullptr) s->flush();
  delete s;
}

int openInputFile(const char* path) {
  if (names_standard_descriptor(path)) return 0;
  return ::open(path, O_RDONLY | kLargeFile);
}

int openOutputFile(const char* path) {
  if (names_standard_descriptor(path)) return 1;
  return ::open(path, O_RDWR | O_CREAT | O_TRUNC | kLargeFile, 0644);
}

void closeFile(int fd) { ::close(fd); }

}  // namespace lorvan
