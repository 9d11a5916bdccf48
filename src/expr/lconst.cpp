#include "expr/lconst.h"

#include <cstring>
#include <fstream>
#include <iostream>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "command/named_obj.h"

namespace lorvan {

namespace {

// The file an input or output constant names, opened with `mode`: null for
// none or "-", and, reported, for a file that cannot be opened.
template <class File>
std::shared_ptr<File> open_named_file(IRSlist* args, std::ios::openmode mode) {
  const char* name = args->get_val();
  if (name == nullptr || std::strcmp(name, "-") == 0) return nullptr;
  auto file = std::make_shared<File>(name, mode);
  if (!file->is_open()) {
    std::cerr << "Can't open file: " << name << "\n";
    return nullptr;
  }
  return file;
}

}  // namespace

PredConst::PredConst() { set_output_type(arg_type_id("LExp*")); }

PredConst::PredConst(const PredConst& other) : LConst(other), exp_(other.exp_) {
  value_ = exp_.get();
}

void PredConst::init(IRSlist* args) {
  if (args->first() != nullptr) exp_ = LExp::get_exp(args->first());
  value_ = exp_.get();
}

void NamedObjConst::init(IRSlist* args) {
  const char* name = args->get_val();
  const char* type = args->get_val();
  if (type == nullptr) {
    std::cerr << "the type of '" << (name != nullptr ? name : "") << "' is not defined\n";
    return;
  }
  value_ = get_named_obj(name, type, 1);
}

IntegerConst::IntegerConst() { set_output_type(arg_type_id("int")); }

void IntegerConst::init(IRSlist* args) { value_ = int_to_value(args->get_long_val()); }

StrConst::StrConst() { set_output_type(arg_type_id("char*")); }

void StrConst::init(IRSlist* args) {
  const char* text = args->get_val();
  if (text == nullptr) return;
  text_ = std::make_shared<const std::string>(text);
  value_ = const_cast<char*>(text_->c_str());
}

IstrmConst::IstrmConst() { value_ = static_cast<std::istream*>(&std::cin); }

void IstrmConst::init(IRSlist* args) {
  if (auto file = open_named_file<std::ifstream>(args, std::ios::in)) {
    value_ = static_cast<std::istream*>(file.get());
    file_ = std::move(file);
  }
}

OstrmConst::OstrmConst() { value_ = static_cast<std::ostream*>(&std::cout); }

void OstrmConst::init(IRSlist* args) {
  if (auto file = open_named_file<std::ofstream>(args, std::ios::out | std::ios::trunc)) {
    value_ = static_cast<std::ostream*>(file.get());
    file_ = std::move(file);
  }
}

void lconst_init() {
  static bool done = false;
  if (done) return;
  done = true;
  LExp::exp_proto(std::make_unique<PredConst>(), nullptr, nullptr);
  LExp::exp_proto(std::make_unique<NamedObjConst>(), nullptr, nullptr);
  LExp::exp_proto(std::make_unique<IntegerConst>(), nullptr, nullptr);
  LExp::exp_proto(std::make_unique<StrConst>(), nullptr, nullptr);
  LExp::exp_proto(std::make_unique<IstrmConst>(), nullptr, nullptr);
  LExp::exp_proto(std::make_unique<OstrmConst>(), nullptr, nullptr);
}

}  // namespace lorvan
