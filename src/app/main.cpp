// parsedemo: sets up the parser from the start-up file on the data search
// path, then parses an input file line by line, one sentence per line, and
// prints each result; with -d, lines beginning with '~' are commands.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "lorvan.h"

namespace lorvan {
namespace {

// Front-end settings.  Only PRINT_TRIPLES and HAS_COMMANDS change what the
// program does; the others are kept for the options that set them.
int INTERACTIVE = 1;
int PRINT_ROOT = 0;
int PRINT_RELATION = 0;
int PRINT_FEATURE = 0;
int PRINT_TRIPLES = 0;
int HAS_COMMANDS = 0;

struct Options {
  const char* search_path = std::getenv("LORVANPATH");
  const char* input_file = "temp.txt";
  const char* features = nullptr;
};

// Options are compared exactly; anything else is ignored.  An option that
// takes a value and comes last has none and is ignored.
Options parse_options(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto takes_value = [&](const char*& target) {
      if (value != nullptr) {
        target = value;
        ++i;
      }
      return value != nullptr;
    };
    if (std::strcmp(arg, "-i") == 0) {
      INTERACTIVE = 0;
    } else if (std::strcmp(arg, "-r") == 0) {
      PRINT_ROOT = 1;
    } else if (std::strcmp(arg, "-d") == 0) {
      HAS_COMMANDS = 1;
    } else if (std::strcmp(arg, "-t") == 0) {
      PRINT_TRIPLES = 1;
    } else if (std::strcmp(arg, "-l") == 0) {
      PRINT_RELATION = 1;
    } else if (std::strcmp(arg, "-f") == 0) {
      if (takes_value(options.features)) PRINT_FEATURE = 1;
    } else if (std::strcmp(arg, "-p") == 0) {
      takes_value(options.search_path);
    } else if (std::strcmp(arg, "-e") == 0) {
      takes_value(empty_cat_str);
    } else if (std::strcmp(arg, "-file") == 0) {
      takes_value(options.input_file);
    }
  }
  return options;
}

void handle_line(const std::string& line, ParseTree& tree) {
  std::cout << HAS_COMMANDS;
  if (HAS_COMMANDS != 0 && !line.empty() && line[0] == '~') {
    interpret_command_line(line.c_str() + 1);
    return;
  }
  tree.reset();
  parse(line.c_str(), tree);
  if (PRINT_TRIPLES != 0) {
    print_triples(tree.root());
  } else {
    print_dependency_tree(tree.root());
  }
  std::cout << '\n';
}

int run(int argc, char** argv) {
  Options options = parse_options(argc, argv);
  if (options.search_path == nullptr) {
    std::cerr << "The search path for data files are not defined.\n "
              << "You must use '-p PATHS' option or define the environment\n"
              << "variable LORVANPATH\n";
    return 1;
  }
  initialize_lorvan(options.search_path);
  if (options.features != nullptr) {
    std::string features(options.features);
    extract_features(features.data());
  }
  ParseTree tree;
  std::ifstream input(options.input_file);
  if (!input) return -1;
  // Lines are taken whole, however long.  The end of the file is noticed
  // only by a read that reaches it, so a file ending in a line break gives
  // one more, empty line.  A read error ends the loop after that line.
  std::string line;
  while (!input.eof()) {
    line.clear();
    std::getline(input, line);
    handle_line(line, tree);
    if (input.bad() || (input.fail() && !input.eof())) break;
  }
  return 0;
}

}  // namespace
}  // namespace lorvan

int main(int argc, char** argv) { return lorvan::run(argc, argv); }
