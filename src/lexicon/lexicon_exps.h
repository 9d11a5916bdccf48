// Expression kinds of the lexicon module:
//
//   (head-word [<lexp>])     the key of the lexicon entry text given as
//                            input ("char*"), by the key rule of the sorted
//                            lexicon files (lex_file_utils.h)
//   (get-root <lexicon>)     the root of the input word by that lexicon's
//                            endings (Lexicon::getRoot)
//   (meaning-type [<lexp>])  the type name of the input "Meaning*"
//   (avm <type> <text>...)   a constant: the meaning of type <type> read
//                            from the rest of the list, as an entry would
//
// Ownership: each expression owns its result buffer; an avm constant shares
// its meaning with its copies and destroys it with the last of them.  A
// get-root expression points at its lexicon, a named object that outlives
// it.
#ifndef LORVAN_LEXICON_LEXICON_EXPS_H_
#define LORVAN_LEXICON_LEXICON_EXPS_H_

#include <memory>
#include <string>

#include "expr/ladaptor.h"
#include "expr/lconst.h"
#include "expr/lexp.h"

namespace lorvan {

class Lexicon;
class Meaning;

class HeadWord : public LAdaptor {
 public:
  HeadWord();
  const char* type_name() const override { return "head-word"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<HeadWord>(*this); }
  // The key in this expression's buffer; null for null.
  void* convert(void* input) override;

 private:
  std::string key_;
};

class GetRoot : public LExp {
 public:
  GetRoot();
  const char* type_name() const override { return "get-root"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<GetRoot>(*this); }
  // Reads the lexicon name; an unknown one is reported and leaves the
  // expression without lexicon.
  void init(IRSlist* args) override;
  // The root, or null for null or without lexicon.
  void* eval(void* input, int type) override;

 private:
  Lexicon* lexicon_ = nullptr;
};

class MeaningType : public LAdaptor {
 public:
  MeaningType();
  const char* type_name() const override { return "meaning-type"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<MeaningType>(*this); }
  void* convert(void* input) override;
};

class AVMConst : public LConst {
 public:
  AVMConst();
  const char* type_name() const override { return "avm"; }
  std::unique_ptr<LExp> duplicate() const override { return std::make_unique<AVMConst>(*this); }
  // Makes the meaning with Meaning::make_meaning and initialize(); an
  // unknown type leaves the constant null.
  void init(IRSlist* args) override;

 private:
  std::shared_ptr<Meaning> meaning_;
};

// Registers "head-word" and "get-root".  Runs once.
void lexicon_exps_init();
// Registers "meaning-type".  Runs once.
void meaning_init();
// Registers "avm".  Runs once.
void avmconst_init();

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEXICON_EXPS_H_
