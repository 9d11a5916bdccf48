// The data search path: an ordered list of directories in which data files
// named by command files are looked up.
//
// The path is process-wide and unguarded (the program is single-threaded).
// It is filled once at start-up and may be replaced at any time; later
// look-ups use the new list.  A look-up always tries the name itself first
// (relative to the working directory, or absolute), then every directory in
// order.  Names may refer to environment variables as $(NAME).
//
// Strings returned by substitute_env_vars(), locate_file() and
// current_directory() live in an internal arena that the next locate_file()
// clears: copy them if you need them longer.
#ifndef LORVAN_INCLUDE_SEARCHPATH_H_
#define LORVAN_INCLUDE_SEARCHPATH_H_

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace lorvan {

// The directories of the search path, in look-up order.  The empty string
// stands for "the name as given".  Change it only through the functions
// below.
extern std::vector<std::string> PATHS;

// The delimiter between directories in set_search_paths() texts: ":".
extern const char* const deliminator;
// The directory separator: "/".
extern const char* const dir_marker;

// The directory of the file that locate_file() found last ("" or ending in
// "/"), or null when the last look-up failed.
extern const char* CURRENT_DIRECTORY;

// Appends every ":"-separated segment of `text` with append_to_search_path()
// (an empty segment between two delimiters appends the empty entry; a
// trailing empty segment appends nothing), then appends the empty entry.
// A null `text` appends only "." and the empty entry.
void set_search_paths(const char* text);

// set_search_paths(getenv(envname)).
void set_search_path(const char* envname);

// If the path is empty, first appends ".".  Then appends a copy of `dir`
// unless an equal string (case-sensitive) is already present.  A null `dir`
// performs only the first step.
void append_to_search_path(const char* dir);

// Empties the search path.
void clear_search_path();

// Returns a copy of `name` in which every $(VAR) is replaced by the value of
// the environment variable VAR (nothing when unset).  A '$' not followed by
// '(' , a "$(" at the very end, or a reference without its ')' prints
// "syntax error in <name>" on std::cerr and returns null.  Null for a null
// name.
const char* substitute_env_vars(const char* name);

// Returns the first readable candidate for `name` (the substituted name
// itself, then dir/name for each directory of the path), or null.  A
// candidate is readable when stat() succeeds, it is not a directory, and
// the owner-read bit is set.
// Sets CURRENT_DIRECTORY to the directory part of the winner.
const char* locate_file(const char* name);

// CURRENT_DIRECTORY: for loaders that find companion files beside a file
// they just located.
const char* current_directory();

// Locates `name` and opens it for binary reading.  Prints
// "The file <name> cannot be opened" when it is not found and
// "The file <path> exists, but cannot be opened" when opening fails;
// returns null in both cases.
std::unique_ptr<std::ifstream> open_file_on_search_path(const char* name);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_SEARCHPATH_H_
