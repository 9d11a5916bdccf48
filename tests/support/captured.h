// Captured: redirects std::cout and std::cerr into strings for its
// lifetime, so a test can compare what a command printed.
#ifndef LORVAN_TESTS_SUPPORT_CAPTURED_H_
#define LORVAN_TESTS_SUPPORT_CAPTURED_H_

#include <iostream>
#include <sstream>
#include <string>

namespace lorvan::testsupport {

class Captured {
 public:
  Captured() : out_(std::cout.rdbuf(out_text_.rdbuf())), err_(std::cerr.rdbuf(err_text_.rdbuf())) {}
  ~Captured() {
    std::cout.rdbuf(out_);
    std::cerr.rdbuf(err_);
  }
  Captured(const Captured&) = delete;
  Captured& operator=(const Captured&) = delete;

  std::string out() const { return out_text_.str(); }
  std::string err() const { return err_text_.str(); }

 private:
  std::ostringstream out_text_;
  std::ostringstream err_text_;
  std::streambuf* out_;
  std::streambuf* err_;
};

}  // namespace lorvan::testsupport

#endif  // LORVAN_TESTS_SUPPORT_CAPTURED_H_
