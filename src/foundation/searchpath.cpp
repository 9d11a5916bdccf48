// The data search path and the look-up of files on it.
#include "searchpath.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

#include "strbufs.h"

namespace lorvan {

std::vector<std::string> PATHS;
const char* const deliminator = ":";
const char* const dir_marker = "/";
const char* CURRENT_DIRECTORY = nullptr;

namespace {

// Holds the substituted name, the winning candidate and CURRENT_DIRECTORY;
// every pointer handed out stays valid until the next locate_file() clears
// it.  Made on first use, so look-ups work during static initialisation.
StrBufs& look_up_arena() {
  static StrBufs arena(500);
  return arena;
}

const char* keep(std::string_view s) { return look_up_arena().copy(s); }

void report_syntax_error(const char* name) {
  std::cerr << "syntax error in " << name << '\n';
}

// Whether `path` exists, is not a directory (which can never be a data
// file, and must not hide a file of the same name further on), and has its
// owner-read permission bit set.
bool readable_candidate(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
         (st.st_mode & S_IRUSR) != 0;
}

std::string candidate_path(const std::string& dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  std::string path = dir;
  path += dir_marker;
  path += name;
  return path;
}

// dir, then "/" unless dir is empty or ends with one, then the directory
// part of `name` (up to and including its last "/").
std::string directory_of(const std::string& dir, std::string_view name) {
  std::string result = dir;
  if (!dir.empty() && dir.back() != dir_marker[0]) result += dir_marker;
  const std::size_t last = name.rfind(dir_marker[0]);
  if (last != std::string_view::npos) result += name.substr(0, last + 1);
  return result;
}

}  // namespace

void append_to_search_path(const char* dir) {
  if (PATHS.empty()) PATHS.emplace_back(".");
  if (dir == nullptr) return;
  for (const std::string& entry : PATHS) {
    if (entry == dir) return;
  }
  PATHS.emplace_back(dir);
}

void set_search_paths(const char* text) {
  if (text == nullptr) {
    append_to_search_path(".");
  } else {
    std::string_view rest(text);
    const std::string_view delim(deliminator);
    for (std::size_t at = rest.find(delim); at != std::string_view::npos;
         at = rest.find(delim)) {
      append_to_search_path(std::string(rest.substr(0, at)).c_str());
      rest.remove_prefix(at + delim.size());
    }
    if (!rest.empty()) append_to_search_path(std::string(rest).c_str());
  }
  append_to_search_path("");
}

void set_search_path(const char* envname) {
  set_search_paths(envname == nullptr ? nullptr : std::getenv(envname));
}

void clear_search_path() { PATHS.clear(); }

const char* substitute_env_vars(const char* name) {
  if (name == nullptr) return nullptr;
  std::string out;
  for (const char* p = name; *p != '\0'; ++p) {
    if (*p != '$') {
      out += *p;
      continue;
    }
    if (p[1] != '(' || p[2] == '\0') {
      report_syntax_error(name);
      return nullptr;
    }
    const char* close = std::strchr(p + 2, ')');
    if (close == nullptr) {
      report_syntax_error(name);
      return nullptr;
    }
    const std::string var(p + 2, close);
    if (const char* value = std::getenv(var.c_str())) out += value;
    p = close;
  }
  return keep(out);
}

const char* locate_file(const char* name) {
  look_up_arena().clear();
  CURRENT_DIRECTORY = nullptr;
  const char* q = substitute_env_vars(name);
  if (q == nullptr) return nullptr;
  if (PATHS.empty()) append_to_search_path(nullptr);
  if (!PATHS.front().empty()) PATHS.insert(PATHS.begin(), std::string());
  for (const std::string& dir : PATHS) {
    std::string path = candidate_path(dir, q);
    if (!readable_candidate(path)) continue;
    CURRENT_DIRECTORY = keep(directory_of(dir, q));
    return keep(path);
  }
  return nullptr;
}

const char* current_directory() { return CURRENT_DIRECTORY; }

std::unique_ptr<std::ifstream> open_file_on_search_path(const char* name) {
  const char* path = locate_file(name);
  if (path == nullptr) {
    std::cerr << "The file " << (name != nullptr ? name : "")
              << " cannot be opened" << '\n';
    return nullptr;
  }
  auto in = std::make_unique<std::ifstream>(path, std::ios::in |
                                                      std::ios::binary);
  if (!in->good()) {
    std::cerr << "The file " << path << " exists, but cannot be opened"
              << '\n';
    return nullptr;
  }
  return in;
}

}  // namespace lorvan
