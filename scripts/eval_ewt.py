#!/usr/bin/env python3
"""Coverage and rough attachment accuracy of parsedemo listings on a
CoNLL-U treebank.

    parsedemo -p data -file sentences.txt > listing.txt
    scripts/eval_ewt.py TREEBANK listing.txt [N [DATA]]

sentences.txt holds the "# text = " lines of the first N sentences of
TREEBANK, one a line.  The tokenizer splits text differently from the
treebank (don 't against do n't), so the two token sequences are aligned
by character offsets with blanks removed: a parser token stands for the
treebank token in which its first character lies.

Printed: the share of words (punctuation aside) that the lexicon of DATA
(default: data/ beside this script) knows, directly or through the ending
table; the share that an analysis covers (a category other than U); the
share attached to a head word or standing as the root of a whole-sentence
analysis; and the share whose head stands for the treebank head (the root
for the treebank root).  Run parsedemo without -d: with it, a treebank line
beginning with "~" would be taken for a command.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_lexicon import ending_roots  # noqa: E402


def lexicon_keys(data):
    keys = set()
    for name in ("english.lex", "ewt.lex"):
        path = os.path.join(data, name)
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                for line in f:
                    m = re.match(r"^\(([^\s()]+)", line)
                    if m:
                        keys.add(m.group(1).lower())
    return keys


def read_treebank(path, limit):
    """Yields (tokens, heads, upos) per sentence, multi-word lines skipped."""
    count = 0
    forms, heads, tags = [], [], []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                if forms:
                    yield forms, heads, tags
                    count += 1
                    if count >= limit:
                        return
                forms, heads, tags = [], [], []
            elif not line.startswith("#"):
                cols = line.split("\t")
                if cols[0].isdigit():
                    forms.append(cols[1])
                    heads.append(int(cols[6]))
                    tags.append(cols[3])


def read_listings(path):
    """Yields one list per sentence of (word, category, head label, relation)
    word lines, empty nodes included under their labels."""
    rows = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.endswith("(") and line[:-1].isdigit():
                rows = []
            elif line == ")":
                yield rows
            else:
                cols = line.split("\t")
                if len(cols) >= 6:
                    rows.append((cols[0], cols[1], cols[3], cols[4], cols[5]))


def char_owner(forms):
    """For every character (blanks removed), the index of its token."""
    owner = []
    for i, form in enumerate(forms):
        owner.extend([i] * len(form.replace(" ", "")))
    return owner


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    limit = int(sys.argv[3]) if len(sys.argv) > 3 else 500
    data = sys.argv[4] if len(sys.argv) > 4 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data")
    keys = lexicon_keys(data)
    words = known = with_item = attached = correct = 0
    for (forms, heads, tags), rows in zip(read_treebank(sys.argv[1], limit),
                                          read_listings(sys.argv[2])):
        gold_owner = char_owner(forms)
        word_rows = [r for r in rows if not r[0].startswith("E")]
        offsets, pos = {}, 0
        for label, word, _, _, _ in word_rows:
            offsets[label] = min(pos, len(gold_owner) - 1) if gold_owner else 0
            pos += len(word)
        for label, word, cat, head, rel in word_rows:
            g = gold_owner[offsets[label]] if gold_owner else 0
            if tags[g] == "PUNCT":
                continue
            words += 1
            known += any(r in keys for r in ending_roots(word.lower()))
            with_item += cat != "U"
            is_root = head == "*" and rel != "punc"
            if rel == "punc" or (head.startswith("E") and rel == ""):
                continue
            attached += 1
            if is_root:
                correct += heads[g] == 0
            elif head in offsets:
                correct += gold_owner[offsets[head]] == heads[g] - 1
    print("words %d  known %.1f%%  in an analysis %.1f%%  attached %.1f%%"
          "  head correct %.1f%%"
          % (words, 100.0 * known / words, 100.0 * with_item / words,
             100.0 * attached / words, 100.0 * correct / words))


if __name__ == "__main__":
    main()
