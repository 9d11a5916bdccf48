#include "lexicon/lexicon_exps.h"

#include <iostream>

#include "command/arg_types.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "lexicon/lex_file_utils.h"
#include "lexicon/lexicon.h"
#include "lexicon/meaning.h"

namespace lorvan {

HeadWord::HeadWord() : LAdaptor(arg_type_id("char*")) { set_input_type(arg_type_id("char*")); }

void* HeadWord::convert(void* input) {
  if (input == nullptr) return nullptr;
  get_key(static_cast<const char*>(input), key_);
  return key_.data();
}

GetRoot::GetRoot() {
  set_input_type(arg_type_id("char*"));
  set_output_type(arg_type_id("char*"));
}

void GetRoot::init(IRSlist* args) {
  const char* name = args->get_val();
  lexicon_ = name != nullptr ? static_cast<Lexicon*>(get_named_obj(name, Lexicon::kTypeName, 1)) : nullptr;
  if (name == nullptr) std::cerr << "get-root: expecting (get-root lexicon-name)\n";
}

void* GetRoot::eval(void* input, int type) {
  if (!valid_arg_type(type) || input == nullptr || lexicon_ == nullptr) return nullptr;
  return const_cast<char*>(lexicon_->getRoot(static_cast<const char*>(input)));
}

MeaningType::MeaningType() : LAdaptor(arg_type_id("char*")) {
  set_input_type(arg_type_id("Meaning*"));
}

void* MeaningType::convert(void* input) {
  if (input == nullptr) return nullptr;
  return const_cast<char*>(static_cast<const Meaning*>(input)->type_name());
}

AVMConst::AVMConst() { set_output_type(arg_type_id("Meaning*")); }

void AVMConst::init(IRSlist* args) {
  Meaning* m = Meaning::make_meaning(args);
  if (m == nullptr) return;
  m->initialize(args);
  meaning_.reset(m);
  value_ = m;
}

void lexicon_exps_init() {
  static bool done = false;
  if (done) return;
  done = true;
  LExp::exp_proto(std::make_unique<HeadWord>(), nullptr,
                  "(head-word [<lexp>])\n    the key of the lexicon entry text that is the input");
  LExp::exp_proto(std::make_unique<GetRoot>(), nullptr,
                  "(get-root <lexicon>)\n    the root of the input word found through the "
                  "ending table of <lexicon>");
}

void meaning_init() {
  static bool done = false;
  if (done) return;
  done = true;
  LExp::exp_proto(std::make_unique<MeaningType>(), nullptr,
                  "(meaning-type [<lexp>])\n    the type name of the input meaning");
}

void avmconst_init() {
  static bool done = false;
  if (done) return;
  done = true;
  LExp::exp_proto(std::make_unique<AVMConst>(), nullptr,
                  "(avm <meaning-type> <contents>...)\n    the meaning of type <meaning-type> "
                  "read from <contents>, as in a lexicon entry");
}

}  // namespace lorvan
