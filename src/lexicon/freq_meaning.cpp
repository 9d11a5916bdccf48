#include "lexicon/freq_meaning.h"

#include <iostream>
#include <limits>

#include "command/irslist.h"
#include "command/obj_factory.h"
#include "lexicon/lex_entry.h"
#include "lexicon/lexicon_exps.h"
#include "strfuncs.h"

namespace lorvan {

int FreqMN::size() const {
  if (packed_.empty()) return 0;
  const char* cursor = packed_.data();
  return StrBufs::get_int(cursor);
}

void FreqMN::print_contents(std::ostream& out) const {
  bool first = true;
  find_if([&](const char* name, float count) {
    if (!first) out << ' ';
    out << name << ' ' << count;
    first = false;
    return false;
  });
}

void FreqMN::initialize(IRSlist* s) {
  int n = s != nullptr ? s->length() : 0;
  if (n == 0) return;
  if (n % 2 != 0) {
    std::cerr << "Incorrect format for (freq ...)";
    return;
  }
  StrBufs buffer(256);
  buffer.push_int(n / 2);
  while (s->first() != nullptr) {
    const char* name = s->get_val();
    float count = s->get_float_val();
    buffer.push(name != nullptr ? name : "");
    buffer.push_char('\0');
    buffer.push_float(count);
  }
  packed_.assign(buffer.str(), buffer.str() + buffer.length());
}

bool freq_count(const LexEntry* entry, const char* name, float& out) {
  if (entry == nullptr || name == nullptr) return false;
  const auto* freq = dynamic_cast<const FreqMN*>(entry->get_meaning(FreqMN::kTypeName));
  if (freq == nullptr) return false;
  return freq->find_if([&](const char* pair_name, float count) {
    if (strcasecmp(pair_name, name) != 0) return false;
    out = count;
    return true;
  });
}

int freq_weight(const LexEntry* entry, const char* name, float default_count) {
  float count = default_count;
  freq_count(entry, name, count);
  // Counts come from files: keep the conversion defined for any value.
  if (!(count > -2147483648.0f && count < 2147483648.0f)) {
    return count > 0 ? std::numeric_limits<int>::max()
                     : (count < 0 ? std::numeric_limits<int>::min() : 0);
  }
  return static_cast<int>(count);
}

void freqmn_init() {
  static bool done = false;
  if (done) return;
  done = true;
  if (ObjMaker* maker = Meaning::maker()) {
    if (maker->prototype(FreqMN::kTypeName) == nullptr) {
      maker->table().enter(FreqMN::kTypeName, new FreqMN, "(freq name count name count ...)");
    }
  }
  meaning_init();
}

}  // namespace lorvan
