// Runs the built parsedemo program as a child process for black-box tests.
//
// Every run happens in a fresh temporary folder that holds the start-up file
// "lorvan.lsp" and any other data files a test needs; the program runs with
// that folder as its working directory and as its search path ("-p"), and
// reads its sentences from "input.txt" there ("-file").  LORVANPATH is
// removed from the child's environment unless a run asks for a value.
//
// The program is found at $LORVAN_BIN_DIR/src/app/parsedemo (ctest sets
// LORVAN_BIN_DIR to the build directory); without that variable, beside the
// test program's own build directory.  This helper uses no project library.
#ifndef LORVAN_TESTS_SUPPORT_RUN_PARSEDEMO_H_
#define LORVAN_TESTS_SUPPORT_RUN_PARSEDEMO_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lorvan::testsupport {

// What one run produced.  `status` is the exit status, or 128 + the signal
// number when the child was killed by a signal.
struct RunResult {
  std::string out;
  std::string err;
  int status = -1;
};

// A temporary folder, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string file(const std::string& name) const;
  // Writes `content` to the file `name` (relative; missing folders are made).
  void write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// The full path of the parsedemo program under test.
std::string parsedemo_path();

// Runs parsedemo with exactly `args` (argv[1..]) in the folder `dir`, with
// LORVANPATH set to `lorvanpath` or removed, and nothing on standard input.
RunResult run_parsedemo_in(const TempDir& dir,
                           const std::vector<std::string>& args,
                           const std::optional<std::string>& lorvanpath = {});

// The common case: writes `lorvan_lsp` as "lorvan.lsp" and `input` as
// "input.txt" into a fresh folder, plus every (name, content) of
// `other_files`, and runs
//   parsedemo -p <folder> -file input.txt <extra_args...>
RunResult run_parsedemo(const std::string& lorvan_lsp, const std::string& input,
                        const std::vector<std::string>& extra_args = {"-d"},
                        const std::map<std::string, std::string>& other_files = {});

}  // namespace lorvan::testsupport

#endif  // LORVAN_TESTS_SUPPORT_RUN_PARSEDEMO_H_
