// Expression kinds on files: opening and closing streams, and testing for a
// file on the data search path.
//
//   (open-file)                 the input is a file name; a std::istream*
//   (open-file :write (...))    makes the directories, opens for writing
//                               and gives the std::ostream* to the inner
//                               expression
//   (close-file [:write])       closes a stream that open-file opened
//   (exist-file "lorvan.lsp")   1 when found on the search path
//
// Ownership: the streams open-file makes belong to a process-wide list of
// open streams until close-file closes and destroys them (or the process
// ends, which closes them).  close-file leaves every other value alone --
// it only flushes standard output -- so a stray value cannot be mistaken for
// a stream.
#ifndef LORVAN_EXPR_FILE_EXPS_H_
#define LORVAN_EXPR_FILE_EXPS_H_

#include <memory>
#include <optional>
#include <string>

#include "expr/ladaptor.h"
#include "expr/lexp.h"

namespace lorvan {

// The common part of open-file and close-file: input type "char*",
// conversion type "stream*", and the :write flag, which init() removes from
// the arguments before compiling the inner expression.
class FileAdaptor : public LAdaptor {
 public:
  void init(IRSlist* args) override;

 protected:
  FileAdaptor();
  bool write() const { return write_; }

 private:
  bool write_ = false;
};

// open-file: converts a file name into a stream opened on exactly that
// name: for reading, or with :write (truncating) after creating every
// directory on its path (mode 0755; errors ignored).  The stream is
// returned even when it failed to open; a null name gives null.
class OpenFile : public FileAdaptor {
 public:
  const char* type_name() const override { return "open-file"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<OpenFile>(*this); }
  void* convert(void* input) override;
};

// close-file: its input type "char*" makes the type check refuse a value
// tagged "stream*"; untyped values pass.  Closes and destroys a stream made
// by open-file; the converted value is always 0.
class CloseFile : public FileAdaptor {
 public:
  const char* type_name() const override { return "close-file"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<CloseFile>(*this); }
  void* convert(void* input) override;
};

// exist-file: 1 when locate_file() finds the file named by the first
// argument on the search path, else 0.
class ExistFile : public LExp {
 public:
  const char* type_name() const override { return "exist-file"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<ExistFile>(*this); }
  void init(IRSlist* args) override;
  void* eval(void* input, int type) override;

 private:
  std::optional<std::string> name_;
};

}  // namespace lorvan

#endif  // LORVAN_EXPR_FILE_EXPS_H_
