#include "lexicon/lexicon_init.h"

#include "lexicon/dict_commands.h"
#include "lexicon/stemmer_commands.h"

namespace lorvan {

void lexicon_init() {
  static bool done = false;
  if (done) return;
  done = true;
  stemmer_init();
  dict_commands_init();
}

}  // namespace lorvan
