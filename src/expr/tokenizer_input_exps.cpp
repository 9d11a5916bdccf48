#include "expr/tokenizer_input_exps.h"

#include <iostream>

#include "command/irslist.h"
#include "command/named_obj.h"
#include "lexical/tokenizer.h"

namespace lorvan {

void TokenizerInputExp::init(IRSlist* args) {
  if (const char* re = args->remove_val(":re-tokenizer", true)) {
    re_tokenizer_ = re;
    return;
  }
  IRSlist* first = args->first();
  if (first == nullptr) return;
  if (first->is_list()) {
    tokenizer_exp_ = LExp::get_exp(first);
  } else if (first->val() != nullptr) {
    name_ = first->val();
  }
  if (first->next() != nullptr) source_ = LExp::get_exp(first->next());
}

TokenizerBase* TokenizerInputExp::tokenizer(void* input, int type) const {
  if (re_tokenizer_) {
    get_named_obj(re_tokenizer_->c_str(), "RETokenizer", 1);
    return nullptr;
  }
  if (name_) return static_cast<TokenizerBase*>(get_named_obj(name_->c_str(), "Tokenizer", 1));
  return static_cast<TokenizerBase*>(tokenizer_exp_.eval(input, type));
}

void* SetTokenizerInput::eval(void* input, int type) {
  TokenizerBase* base = tokenizer(input, type);
  if (base == nullptr) return nullptr;
  // Only a stream tokenizer can read a stream (a SocketTokenizer reads a
  // descriptor).
  auto* t = dynamic_cast<Tokenizer*>(base);
  if (t == nullptr) {
    std::cerr << "set-tokenizer-input: the tokenizer does not read streams\n";
    return nullptr;
  }
  std::istream* stream =
      source() ? static_cast<std::istream*>(source().eval(input, type)) : &std::cin;
  t->set_input_stream(stream);
  return t;
}

void* SetTokenizerStringInput::eval(void* input, int type) {
  TokenizerBase* t = tokenizer(input, type);
  if (t == nullptr) return nullptr;
  t->set_string_input(static_cast<const char*>(source().eval(input, type)), -1);
  return t;
}

}  // namespace lorvan
