#include "lexicon/porter.h"

#include <cstring>
#include <string>

namespace lorvan {
namespace {

// A row whose offsets are derived from its suffixes, so that they can never
// disagree with them.
constexpr RuleList row(int id, const char* old_end, const char* new_end, int min_root_size,
                       StemCondition condition = nullptr) {
  return RuleList{id,
                  old_end,
                  new_end,
                  static_cast<int>(std::char_traits<char>::length(old_end)) - 1,
                  static_cast<int>(std::char_traits<char>::length(new_end)) - 1,
                  min_root_size,
                  condition};
}

constexpr RuleList kEnd{0, LAMBDA, LAMBDA, -1, -1, 0, nullptr};

// Whether c is a non-NUL character of `set`.
bool in_set(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

bool is_vowel(char c) { return in_set(c, "aeiou"); }

bool is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const RuleList step1a_rules[] = {
    row(101, "sses", "ss", 0),
    row(102, "ies", "i", 0),
    row(103, "ss", "ss", 0),
    row(104, "s", LAMBDA, 0),
    kEnd,
};

const RuleList step1b_rules[] = {
    row(105, "eed", "ee", 0),
    row(106, "ed", LAMBDA, -1, ContainsVowel),
    row(107, "ing", LAMBDA, -1, ContainsVowel),
    kEnd,
};

const RuleList step1b1_rules[] = {
    row(108, "at", "ate", 0),
    row(109, "bl", "ble", 0),
    row(110, "iz", "ize", 0),
    row(111, "bb", "b", 0),
    row(112, "dd", "d", 0),
    row(113, "ff", "f", 0),
    row(114, "gg", "g", 0),
    row(115, "mm", "m", 0),
    row(116, "nn", "n", 0),
    row(117, "pp", "p", 0),
    row(118, "rr", "r", 0),
    row(119, "tt", "t", 0),
    row(120, "ww", "w", 0),
    row(121, "xx", "x", 0),
    row(122, LAMBDA, "e", 0, AddAnE),
    kEnd,
};

const RuleList step1c_rules[] = {
    row(123, "y", "i", -1, ContainsVowel),
    kEnd,
};

const RuleList step2_rules[] = {
    row(203, "ational", "ate", 0),
    row(204, "tional", "tion", 0),
    row(205, "enci", "ence", 0),
    row(206, "anci", "ance", 0),
    row(207, "izer", "ize", 0),
    row(208, "abli", "able", 0),
    row(209, "alli", "al", 0),
    row(210, "entli", "ent", 0),
    row(211, "eli", "e", 0),
    row(213, "ousli", "ous", 0),
    row(214, "ization", "ize", 0),
    row(215, "ation", "ate", 0),
    row(216, "ator", "ate", 0),
    row(217, "alism", "al", 0),
    row(218, "iveness", "ive", 0),
    row(219, "fulnes", "ful", 0),
    row(220, "ousness", "ous", 0),
    row(221, "aliti", "al", 0),
    row(222, "iviti", "ive", 0),
    row(223, "biliti", "ble", 0),
    kEnd,
};

const RuleList step3_rules[] = {
    row(301, "icate", "ic", 0),
    row(302, "ative", LAMBDA, 0),
    row(303, "alize", "al", 0),
    row(304, "iciti", "ic", 0),
    row(305, "ical", "ic", 0),
    row(308, "ful", LAMBDA, 0),
    row(309, "ness", LAMBDA, 0),
    kEnd,
};

const RuleList step4_rules[] = {
    row(401, "al", LAMBDA, 1),
    row(402, "ance", LAMBDA, 1),
    row(403, "ence", LAMBDA, 1),
    row(405, "er", LAMBDA, 1),
    row(406, "ic", LAMBDA, 1),
    row(407, "able", LAMBDA, 1),
    row(408, "ible", LAMBDA, 1),
    row(409, "ant", LAMBDA, 1),
    row(410, "ement", LAMBDA, 1),
    row(411, "ment", LAMBDA, 1),
    row(412, "ent", LAMBDA, 1),
    row(423, "sion", "s", 1),
    row(424, "tion", "t", 1),
    row(415, "ou", LAMBDA, 1),
    row(416, "ism", LAMBDA, 1),
    row(417, "ate", LAMBDA, 1),
    row(418, "iti", LAMBDA, 1),
    row(419, "ous", LAMBDA, 1),
    row(420, "ive", LAMBDA, 1),
    row(421, "ize", LAMBDA, 1),
    kEnd,
};

const RuleList step5a_rules[] = {
    row(501, "e", LAMBDA, 1),
    row(502, "e", LAMBDA, -1, RemoveAnE),
    kEnd,
};

const RuleList step5b_rules[] = {
    row(503, "ll", "l", 1),
    kEnd,
};

int WordSize(const char* word) {
  int m = 0;
  bool previous_vowel = false;
  for (const char* p = word; *p != '\0'; ++p) {
    // y after a consonant is a vowel; at the start previous_vowel is false,
    // but there is no consonant before it, hence the extra test.
    bool vowel = is_vowel(*p) || (*p == 'y' && p != word && !previous_vowel);
    if (previous_vowel && !vowel) ++m;
    previous_vowel = vowel;
  }
  return m;
}

bool ContainsVowel(const char* word) {
  if (*word == '\0') return false;
  if (is_vowel(*word)) return true;
  for (const char* p = word + 1; *p != '\0'; ++p) {
    if (in_set(*p, "aeiouy")) return true;
  }
  return false;
}

bool EndsWithCVC(const char* word) {
  std::size_t n = std::strlen(word);
  if (n <= 2) return true;
  return !in_set(word[n - 1], "aeiouwxy") && in_set(word[n - 2], "aeiouy") &&
         !in_set(word[n - 3], "aeiou");
}

bool AddAnE(const char* word) { return WordSize(word) == 1 && EndsWithCVC(word); }

bool RemoveAnE(const char* word) { return WordSize(word) == 1 && !EndsWithCVC(word); }

int ReplaceEnd(char* word, int& last, const RuleList* rules) {
  for (const RuleList* r = rules; r->id != 0; ++r) {
    int e = last - r->old_offset;  // where the old suffix would begin
    if (e < 0 || std::strcmp(word + e, r->old_end) != 0) continue;
    char cut = word[e];
    word[e] = '\0';
    if (WordSize(word) <= r->min_root_size ||
        (r->condition != nullptr && !r->condition(word))) {
      word[e] = cut;
      continue;
    }
    std::strcpy(word + e, r->new_end);
    last = e + r->new_offset;
    return r->id;
  }
  return 0;
}

int Stem(char* word) {
  if (word == nullptr) return 0;
  char* p = word;
  for (; *p != '\0'; ++p) {
    if (!is_ascii_letter(*p)) return 0;
    *p = ascii_lower(*p);
  }
  int last = static_cast<int>(p - word) - 1;
  ReplaceEnd(word, last, step1a_rules);
  int id = ReplaceEnd(word, last, step1b_rules);
  if (id == 106 || id == 107) ReplaceEnd(word, last, step1b1_rules);
  for (const RuleList* table : {step1c_rules, step2_rules, step3_rules, step4_rules,
                                step5a_rules, step5b_rules}) {
    ReplaceEnd(word, last, table);
  }
  return 1;
}

int Stem(std::string& word) {
  int result = Stem(word.data());
  word.resize(std::strlen(word.c_str()));
  return result;
}

}  // namespace lorvan
