#include "run_parsedemo.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace lorvan::testsupport {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The child's environment: ours without LORVANPATH, plus the requested one.
std::vector<std::string> child_environment(const std::optional<std::string>& lorvanpath) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "LORVANPATH=", 11) != 0) env.emplace_back(*e);
  }
  if (lorvanpath) env.push_back("LORVANPATH=" + *lorvanpath);
  return env;
}

std::vector<char*> c_strings(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// In the child: redirect the standard streams, enter `cwd` and exec.  Never
// returns; a failure exits with 127.
[[noreturn]] void exec_child(const std::string& cwd, const std::string& out_file,
                             const std::string& err_file, std::vector<std::string>& argv,
                             std::vector<std::string>& env) {
  int in = open("/dev/null", O_RDONLY);
  int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
      dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0) {
    _exit(127);
  }
  std::vector<char*> c_argv = c_strings(argv);
  std::vector<char*> c_env = c_strings(env);
  execve(c_argv[0], c_argv.data(), c_env.data());
  _exit(127);
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lorvan-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

void TempDir::write(const std::string& name, const std::string& content) const {
  std::filesystem::path target = file(name);
  std::filesystem::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + target.string());
}

std::string parsedemo_path() {
  if (const char* bin = std::getenv("LORVAN_BIN_DIR")) {
    return std::string(bin) + "/src/app/parsedemo";
  }
  // Test programs live in <build>/tests/<folder>/.
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path().parent_path() / "src/app/parsedemo").string();
}

RunResult run_parsedemo_in(const TempDir& dir, const std::vector<std::string>& args,
                           const std::optional<std::string>& lorvanpath) {
  TempDir capture;
  const std::string out_file = capture.file("stdout");
  const std::string err_file = capture.file("stderr");
  std::vector<std::string> argv{parsedemo_path()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> env = child_environment(lorvanpath);

  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) exec_child(dir.path(), out_file, err_file, argv, env);

  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  RunResult result;
  result.out = read_file(out_file);
  result.err = read_file(err_file);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  return result;
}

RunResult run_parsedemo(const std::string& lorvan_lsp, const std::string& input,
                        const std::vector<std::string>& extra_args,
                        const std::map<std::string, std::string>& other_files) {
  TempDir dir;
  dir.write("lorvan.lsp", lorvan_lsp);
  dir.write("input.txt", input);
  for (const auto& [name, content] : other_files) dir.write(name, content);
  std::vector<std::string> args{"-p", dir.path(), "-file", "input.txt"};
  args.insert(args.end(), extra_args.begin(), extra_args.end());
  return run_parsedemo_in(dir, args);
}

}  // namespace lorvan::testsupport
