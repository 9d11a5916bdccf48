// Utilities over lexicon text files kept sorted by key, for maintaining
// large lexicons outside the program: comparing, updating, combining,
// merging, sorting, de-duplicating and selecting entries.
//
// Files are read as a sequence of items, each one top-level parenthesised
// text (StrBufs::next_item; double-quoted text inside is opaque); anything
// between items is ignored.  An item is identified by its key (get_key()),
// compared case-insensitively.  The two-file walks (lex_diff, update_lex,
// combine_lex) expect both files sorted by key; they keep one pending item
// per file and advance the file whose item has the smaller key, or both on
// equal keys.
//
// None of these keeps anything beyond the call; items live in per-file
// arenas cleared as the walk moves on.
#ifndef LORVAN_LEXICON_LEX_FILE_UTILS_H_
#define LORVAN_LEXICON_LEX_FILE_UTILS_H_

#include <iosfwd>
#include <string>

namespace lorvan {

class LExp;

// The key of an entry text into `key` (returned as key.c_str()).  After
// the opening parenthesis (blanks before it are skipped): a double-quoted
// key is the text up to the next double quote, a backslash taking the
// following character literally; otherwise the characters up to the first
// '(' or ')', where each run of blanks (space, tab, line feed, carriage
// return) or '|' between two characters becomes one space.
const char* get_key(const char* item, std::string& key);

// Entries whose keys differ, or whose texts differ when blanks are removed
// (case-insensitively): the first file's item with every line prefixed
// "< ", the second's with "> ", each followed by an empty line.  Items after
// one file has ended are written with their prefixes but no empty line.
void lex_diff(std::istream& first, std::istream& second, std::ostream& out);

// The merge of `addendum` and `old_dict`: on equal keys the addendum's
// item replaces the old one.  Every item is followed by a line end.
void update_lex(std::istream& addendum, std::istream& old_dict, std::ostream& out);

// The merge of two dictionaries; equal keys give one entry holding the
// meaning items of the first and then of the second:
// "(" key "\n" {" " item "\n"} " )".  Every item is followed by a line end.
void combine_lex(std::istream& first, std::istream& second, std::ostream& out);

// A sorted file in which consecutive items share keys becomes one entry per
// key with each distinct meaning item once (first occurrence kept, exact
// text): "(" key "\n" {" " item "\n"} " )" and a line end.
void merge_entries(std::istream& in, std::ostream& out);

// All items sorted by their whole text, case-insensitively, one per line.
void sort_lex(std::istream& in, std::ostream& out);

// Consecutive items whose whole texts are equal case-insensitively are
// written once, each followed by a line end.
void rm_duplicates(std::istream& in, std::ostream& out);

// Every item for which `test`, evaluated on the item with its line ends
// replaced by '|' (type "char*"), is true; written as it was read, followed
// by a line end.
void select_entries(LExp& test, std::istream& in, std::ostream& out);

// Reads each entry of `in` into a temporary entry (meanings made as in an
// entry; nothing is kept); when `test` (on "LexEntry*"; null: always) is
// true, applies `meaning_action` (on "Meaning*") to each of its meanings,
// over a copy of the list so the action may remove meanings, and then
// `entry_action` (on "LexEntry*").  Null actions are skipped.  The output
// is whatever the expressions write.
void filter_entries(std::istream& in, LExp* test, LExp* meaning_action, LExp* entry_action);

}  // namespace lorvan

#endif  // LORVAN_LEXICON_LEX_FILE_UTILS_H_
