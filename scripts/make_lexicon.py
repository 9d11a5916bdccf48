#!/usr/bin/env python3
"""Derive data/ewt.lex and data/dist.txt from a CoNLL-U training treebank.

    scripts/make_lexicon.py [TREEBANK] [--data DIR]

TREEBANK defaults to /work/shared/ud-english-ewt/en_ewt-ud-train.conllu and
DIR to the data/ folder beside this script.  Only the training file may be
given: the development and test files are kept for checking.

ewt.lex holds one entry per frequent word in the format of english.lex,
(word (avm (CLASS ...)) ...), with the classes of word-classes.lsp.  Words
that english.lex already has are left out (its hand-written entries win,
and the lexicon loader reports duplicate keys).  Regular inflections are
found through the ending table at run time, so a form gets an entry of its
own only when none of the endings leads from it to its lemma.

dist.txt holds, for every dependency type of grammar.lsp (and for every
frequent preposition, the name under which the parser weighs a
prepositional modifier), the distances between head and modifier words as
the treebank shows them once its relations are mapped onto the grammar's.
"""

import argparse
import collections
import os
import re
import sys

TREEBANK = "/work/shared/ud-english-ewt/en_ewt-ud-train.conllu"

# A (word, class) pair needs this many occurrences, and this share of the
# word's occurrences, to become a meaning: rarer readings cost more parse
# time than they win.
MIN_COUNT = 1
MIN_SHARE = 0.15
MIN_COMPOUND_SHARE = 0.02
# A verb frame is kept when it has this share of the verb's uses.
MIN_FRAME_SHARE = 0.15
MIN_OPTIONAL_SHARE = 0.05
# Distance entries: prepositions seen this often get their own entry;
# distances beyond MAX_DIST are counted at MAX_DIST.
MIN_PFORM_COUNT = 30
MAX_DIST = 12
# Nouns seen fewer times than this, and never in their lemma's spelling,
# are left out.
RARE_UNATTESTED = 4

Token = collections.namedtuple("Token", "id form lemma upos feats head deprel")


def read_sentences(path):
    """Yields each sentence as a list of Tokens (ids from 1), skipping
    multi-word token lines and empty nodes."""
    sentence = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                if sentence:
                    yield sentence
                sentence = []
                continue
            if line.startswith("#"):
                continue
            cols = line.split("\t")
            if len(cols) != 10 or not cols[0].isdigit():
                continue
            feats = dict(kv.split("=", 1) for kv in cols[5].split("|") if "=" in kv)
            head = int(cols[6]) if cols[6].isdigit() else 0
            sentence.append(Token(int(cols[0]), cols[1], cols[2], cols[3], feats,
                                  head, cols[7]))
    if sentence:
        yield sentence


# ---------------------------------------------------------------------------
# The ending table of endings.lsp, as the lexicon applies it.
# ---------------------------------------------------------------------------

CONSONANTS = "bcdfghjklmnpqrstvwxz"


def ending_roots(word):
    """The candidate roots the ending table gives `word` (lower case)."""
    roots = [word]

    def plain(suffix, repl=""):
        if word.endswith(suffix) and len(word) > len(suffix):
            roots.append(word[: len(word) - len(suffix)] + repl)

    def es_type(suffix, repl, letters):
        if word.endswith(suffix) and len(word) > 3 and word[-3] in letters:
            roots.append(word[: len(word) - len(suffix)] + repl)

    def double(suffix):
        stem = word[: len(word) - len(suffix)]
        if word.endswith(suffix) and len(stem) >= 2 and stem[-1] == stem[-2]:
            roots.append(stem[:-1])

    es_type("s", "", "abcdefghijklmnopqrstuvwxyz")
    es_type("es", "", "sxzho")
    plain("ies", "y")
    plain("ed")
    es_type("ed", "e", CONSONANTS)
    plain("ied", "y")
    double("ed")
    plain("ing")
    plain("ing", "e")
    double("ing")
    return roots


# ---------------------------------------------------------------------------
# Lexicon entries
# ---------------------------------------------------------------------------

WORD_RE = re.compile(r"^[A-Za-z][A-Za-z.&]*$|^[0-9][0-9.,:/]*$")


def usable_key(form):
    """Keys the command-language reader and the tokenizer both keep whole:
    letters (with inner dots and ampersands) or numbers.  The tokenizer
    splits at hyphens, so a hyphenated form would never be looked up.  No
    single letters, which the endings would find inside other words
    (b + ed)."""
    return (len(form) > 1 or form.isdigit()) and bool(WORD_RE.match(form))


def number_of(tok):
    return {"Sing": "sg", "Plur": "pl"}.get(tok.feats.get("Number"))


def person_of(tok):
    return tok.feats.get("Person")


def case_of(tok):
    return {"Nom": "nom", "Acc": "acc"}.get(tok.feats.get("Case"))


VERB_FRAMES = ("vi", "vt", "vdat", "vthat", "vcl", "vinf")


def verb_frames(sentence):
    """Maps the index of every verb token to its frame class of
    word-classes.lsp: vdat, vt, vthat, vcl, vinf or vi."""
    deps = collections.defaultdict(list)
    for tok in sentence:
        deps[tok.head].append(tok)
    frames = {}
    for i, tok in enumerate(sentence):
        if tok.upos != "VERB":
            continue
        kids = {d.deprel for d in deps[tok.id]}
        marks = {}
        for d in deps[tok.id]:
            if d.deprel in ("ccomp", "xcomp"):
                marks[d.deprel] = {m.lemma.lower() for m in deps[d.id] if m.deprel == "mark"}
        if "iobj" in kids and "obj" in kids:
            frames[i] = "vdat"
        elif "obj" in kids:
            frames[i] = "vt"
        elif "ccomp" in kids:
            frames[i] = "vthat" if "that" in marks["ccomp"] else "vcl"
        elif "xcomp" in kids and "to" in marks["xcomp"]:
            frames[i] = "vinf"
        else:
            frames[i] = "vi"
    return frames


def meaning_of(tok, frame):
    """The (class, attributes) meaning a token reads as, or None."""
    upos = tok.upos
    if upos == "NOUN":
        return ("nn-noun", ()) if tok.deprel == "compound" else ("noun", ())
    if upos == "PROPN":
        return ("name", ())
    if upos == "ADJ":
        return ("adj", ())
    if upos in ("ADV", "INTJ") or (upos == "PART" and tok.lemma.lower() == "not"):
        return ("adv", ())
    if upos == "ADP":
        if tok.deprel == "compound:prt":
            return ("adv", ())
        return ("prep", (("pform", '"%s"' % tok.form.lower()),))
    if upos == "SCONJ":
        return ("comp-that", ())
    if upos == "CCONJ":
        return ("conj", ())
    if upos == "DET":
        num = number_of(tok)
        return ("det", (("num", num),) if num else ())
    if upos == "NUM":
        return ("det", (("num", "pl"),)) if tok.deprel == "nummod" else ("noun", ())
    if upos == "PRON":
        attrs = []
        for name, value in (("num", number_of(tok)), ("per", person_of(tok)),
                            ("case", case_of(tok))):
            if value:
                attrs.append((name, value))
        return ("pron", tuple(attrs))
    if upos == "VERB":
        return (frame, ())
    return None


def format_meaning(meaning):
    cls, attrs = meaning
    if cls == "conj":
        return "(avm (conj-n)) (avm (conj-v)) (avm (conj-a))"
    inner = " ".join([cls] + ["(%s %s)" % (n, v) for n, v in attrs])
    return "(avm (%s))" % inner


def regular(form, lemma):
    return lemma in ending_roots(form)


def collect_lexicon(sentences, hand_written):
    """Counts per lower-cased key: the meanings seen, and the spelling."""
    counts = collections.defaultdict(collections.Counter)
    spellings = collections.defaultdict(collections.Counter)
    misread = collections.Counter()
    spelled = collections.Counter()
    for sentence in sentences:
        frames = verb_frames(sentence)
        for i, tok in enumerate(sentence):
            meaning = meaning_of(tok, frames.get(i))
            if meaning is None or not usable_key(tok.form):
                continue
            form, lemma = tok.form.lower(), tok.lemma.lower()
            spelled[form] += 1
            for root in ending_roots(form)[1:]:
                if root != lemma:
                    misread[root] += 1
            spelling = tok.form if tok.upos == "PROPN" else form
            # A lemma entry for every word; the form itself only where the
            # endings cannot lead from it to the lemma.
            if usable_key(lemma) and tok.upos not in ("PROPN", "NUM", "PRON", "DET", "ADP"):
                base = (meaning[0], ()) if meaning[0] not in ("det", "pron") else meaning
                counts[lemma][base] += 1
                spellings[lemma][lemma] += 1
                if regular(form, lemma):
                    continue
                if meaning[0] == "noun" and number_of(tok) == "pl":
                    meaning = ("noun", (("num", "pl"),))
            counts[form][meaning] += 1
            spellings[form][spelling] += 1
    # The endings apply to every entry, whatever its class: an entry "tire"
    # would read "tired" as tire + ed.  A word whose entry would misread
    # other words more often than it is seen itself is left out, and so is
    # a word without a verb reading that -ed or -ing would misread a
    # hand-written word through (tire against the adjective "tired").
    shadowing = {root for word in hand_written if word.endswith(("ed", "ing"))
                 for root in ending_roots(word)[1:]}
    # A noun met only a few times, and never in its own spelling, rests on
    # the annotators' lemma alone; it is left out rather than listed under a
    # spelling the text never showed.
    for key in list(counts):
        seen = sum(counts[key].values())
        verbal = any(m[0] in VERB_FRAMES for m in counts[key])
        nominal = all(m[0] == "noun" for m in counts[key])
        unattested = nominal and spelled[key] == 0 and seen < RARE_UNATTESTED
        if misread[key] > seen or (key in shadowing and not verbal) or unattested:
            del counts[key]
    return counts, spellings


def merge_verb_frames(meanings):
    """vt and vi both frequent: one optional-object reading instead."""
    if "vt" in meanings and "vi" in meanings:
        meanings = [m for m in meanings if m not in ("vt", "vi")]
        meanings.insert(0, "vt-opt")
    return meanings


def min_share(meaning):
    """Compound readings are common across all nouns but a small share of
    each one's uses."""
    return MIN_COMPOUND_SHARE if meaning[0] == "nn-noun" else MIN_SHARE


def choose_meanings(counter):
    total = sum(counter.values())
    verbs = collections.Counter()
    others = collections.Counter()
    for meaning, n in counter.items():
        if meaning[0] in VERB_FRAMES:
            verbs[meaning[0]] += n
        else:
            others[meaning] += n
    chosen = [m for m, n in others.most_common()
              if n >= MIN_COUNT and n >= min_share(m) * total]
    verb_total = sum(verbs.values())
    if verb_total >= MIN_COUNT and verb_total >= MIN_SHARE * total:
        frames = [f for f, n in verbs.most_common()
                  if n >= MIN_COUNT and n >= MIN_FRAME_SHARE * verb_total] or ["vi"]
        # Passives and dropped objects count as uses without object; a
        # transitive verb seen that way now and then gets an optional one.
        if "vt" in frames and verbs["vi"] >= MIN_OPTIONAL_SHARE * verb_total:
            frames.append("vi")
        chosen += [(f, ()) for f in merge_verb_frames(frames)]
    return chosen


def hand_written_keys(path):
    keys = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"^\(([^\s()]+)", line)
            if m:
                keys.add(m.group(1).lower())
    return keys


def write_lexicon(path, counts, spellings, skip):
    lines = []
    for key in sorted(counts):
        if key in skip:
            continue
        chosen = choose_meanings(counts[key])
        if not chosen:
            continue
        # Names keep their capital; a key is case-insensitive either way,
        # but the spelling is the root the listings show.
        names_only = all(m[0] == "name" for m in chosen)
        spelling = spellings[key].most_common(1)[0][0] if names_only else key
        lines.append("(%s %s)" % (spelling, " ".join(format_meaning(m) for m in chosen)))
    with open(path, "w", encoding="utf-8") as f:
        f.write(";;; ewt.lex -- generated by scripts/make_lexicon.py from the UD English\n"
                ";;; EWT training treebank; do not edit by hand (edit english.lex, whose\n"
                ";;; words are left out of this file, or the script).\n")
        for line in lines:
            f.write(line + "\n")
    return len(lines)


# ---------------------------------------------------------------------------
# Distances
# ---------------------------------------------------------------------------

def grammar_relations(sentence):
    """Yields (relation name, distance) for the dependencies of a sentence
    as the grammar draws them: the copula heads its clause, a preposition
    stands between its head and its noun, a conjunction between its two
    conjuncts, infinitival "to" and "that" head their verb."""
    by_id = {t.id: t for t in sentence}
    deps = collections.defaultdict(list)
    for tok in sentence:
        deps[tok.head].append(tok)

    def first(tok, rel):
        return next((d for d in deps[tok.id] if d.deprel == rel), None)

    def anchor(tok):
        """Where the grammar's head word of a UD clause stands."""
        cop = first(tok, "cop")
        return cop.id if cop else tok.id

    for tok in sentence:
        head = by_id.get(tok.head)
        if head is None:
            continue
        rel = tok.deprel
        h = anchor(head)
        possessive = first(tok, "case") if rel == "nmod:poss" else None
        if possessive is not None and possessive.form in ("'s", "'"):
            yield "det", abs(head.id - possessive.id)
            yield "poss", abs(possessive.id - tok.id)
        elif rel in ("det", "nummod", "det:predet") or (rel == "nmod:poss" and tok.upos == "PRON"):
            yield "det", abs(head.id - tok.id)
        elif rel == "amod":
            yield "amod", abs(head.id - tok.id)
        elif rel in ("compound", "flat") and head.upos in ("NOUN", "PROPN"):
            name = "name" if head.upos == tok.upos == "PROPN" else "nn"
            yield name, abs(head.id - tok.id)
        elif rel == "punct" and tok.form == "," and head.id < tok.id:
            yield "punct", abs(h - tok.id)
        elif rel == "advcl":
            mark = first(tok, "mark")
            if mark is not None and mark.upos == "SCONJ":
                yield "advcl", abs(h - mark.id)
                yield "clause", abs(mark.id - anchor(tok))
            elif mark is not None and mark.lemma.lower() == "to":
                yield "advcl", abs(h - mark.id)
                yield "vcomp", abs(mark.id - anchor(tok))
        elif rel in ("nsubj", "nsubj:pass", "csubj"):
            yield "subj", abs(h - tok.id)
        elif rel in ("aux", "aux:pass"):
            yield "aux", abs(h - tok.id)
        elif rel == "advmod":
            yield "adv", abs(h - tok.id)
        elif rel == "cop":
            yield "pred", abs(head.id - tok.id)
        elif rel in ("obj", "iobj"):
            yield rel, abs(h - tok.id)
        elif rel in ("obl", "nmod"):
            case = first(tok, "case")
            if case is not None and case.upos == "ADP":
                yield "prep", abs(h - case.id)
                yield case.form.lower(), abs(h - case.id)
                yield "pobj", abs(case.id - tok.id)
        elif rel in ("ccomp", "xcomp"):
            mark = first(tok, "mark")
            if mark is None:
                yield rel, abs(h - anchor(tok))
            else:
                yield rel, abs(h - mark.id)
                yield ("vcomp" if mark.lemma.lower() == "to" else "clause",
                       abs(mark.id - anchor(tok)))
        elif rel == "conj":
            cc = first(tok, "cc")
            if cc is not None:
                yield "cc", abs(h - cc.id)
                yield "conj", abs(cc.id - anchor(tok))


def collect_distances(sentences):
    counts = collections.defaultdict(collections.Counter)
    for sentence in sentences:
        for rel, dist in grammar_relations(sentence):
            if dist > 0:
                counts[rel][min(dist, MAX_DIST)] += 1
    return counts


GRAMMAR_TYPES = ["det", "amod", "subj", "aux", "adv", "prep", "obj", "iobj", "pobj",
                 "pred", "ccomp", "xcomp", "vcomp", "clause", "cc", "conj", "nn", "name",
                 "advcl", "punct", "poss"]


def write_distances(path, counts):
    """Four tab-separated fields a line: name, distance, share, count.  Every
    distance from 1 to the last one seen gets one count more than it has,
    so that no distance in range is impossible."""
    names = GRAMMAR_TYPES + sorted(
        n for n in counts if n not in GRAMMAR_TYPES and usable_key(n)
        and sum(counts[n].values()) >= MIN_PFORM_COUNT)
    with open(path, "w", encoding="utf-8") as f:
        for name in names:
            dists = counts.get(name)
            if not dists:
                continue
            last = max(dists)
            smoothed = [dists[d] + 1 for d in range(1, last + 1)]
            total = sum(smoothed)
            for d, n in enumerate(smoothed, start=1):
                f.write("%s\t%d\t%.3f\t%d\n" % (name, d, n / total, n))
    return len(names)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("treebank", nargs="?", default=TREEBANK)
    parser.add_argument("--data", default=os.path.join(here, "..", "data"))
    args = parser.parse_args()
    if re.search(r"-(dev|test)\.conllu$", args.treebank):
        sys.exit("make_lexicon.py: build from the training treebank only")
    sentences = list(read_sentences(args.treebank))
    skip = hand_written_keys(os.path.join(args.data, "english.lex"))
    counts, spellings = collect_lexicon(sentences, skip)
    n_entries = write_lexicon(os.path.join(args.data, "ewt.lex"), counts, spellings, skip)
    n_names = write_distances(os.path.join(args.data, "dist.txt"), collect_distances(sentences))
    print("%d sentences: %d lexicon entries, %d distance entries"
          % (len(sentences), n_entries, n_names))


if __name__ == "__main__":
    main()
