#include "stats/tripledb_init.h"

#include "stats/plhash_commands.h"
#include "stats/word_seq_commands.h"

namespace lorvan {

void tripledb_init() {
  static bool done = false;
  if (done) return;
  done = true;
  plhash_init();
  wordseqcounter_init();
}

}  // namespace lorvan
