#include "lexicon/lexicon_init.h"

#include "lexicon/avmeaning.h"
#include "lexicon/dict_commands.h"
#include "lexicon/freq_meaning.h"
#include "lexicon/lexicon_commands.h"
#include "lexicon/lexicon_exps.h"
#include "lexicon/phrase_meaning.h"
#include "lexicon/stemmer_commands.h"

namespace lorvan {

void lexicon_init() {
  static bool done = false;
  if (done) return;
  done = true;
  meaning_maker_init();
  phrase_meaning_init();
  lexicon_commands_init();
  lexicon_exps_init();
  freqmn_init();
  avmeaning_init();
  stemmer_init();
  dict_commands_init();
}

}  // namespace lorvan
