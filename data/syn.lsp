;;; syn.lsp -- the attribute-vector type "syn" of the demonstration grammar.
;;;
;;; Every lexical meaning, parse item and dependency node of the grammar
;;; carries a vector of this type.  The first group holds the attributes the
;;; parser itself reads and writes; they must all exist under exactly these
;;; names (init-attributes looks them up once at start-up).  The second group
;;; is the grammar's own agreement features, free to grow.
;;;
;;; Kinds: BinAtt is +name / -name; DisjAtt takes a set of the allowed values
;;; and unifies by intersection; IntAtt is a signed number (the parser tests
;;; some flags for "positive" or "negative"); StrAtt is a case-insensitive
;;; string; ListAtt is a list of nested "syn" vectors.

(def-att-list syn

  ;; --- attributes the parser relies on ---------------------------------

  ;; Part of speech.  Without a "node", a meaning's category is named after
  ;; it: n N, v V, p P, a A, i I (infinitival "to"), c C (complementizer),
  ;; d Det, j Conn.
  (defattribute cat DisjAtt (allowable-values a c d i j n p v))
  ;; Explicit category name of a lexical meaning (overrides "cat").
  (defattribute node StrAtt)
  ;; The complements a word subcategorizes for, in order: each element is a
  ;; vector the complement must unify with; its "role" labels the
  ;; dependency, +opt makes it optional.
  (defattribute args ListAtt)
  (defattribute role StrAtt)
  (defattribute opt BinAtt)
  ;; Preposition form: "to" in (args ((cat p) (pform "to"))) demands a
  ;; phrase headed by to.
  (defattribute pform StrAtt)
  ;; Form string of an item without a head word.
  (defattribute cform StrAtt)
  ;; +head_final: complements precede the head.
  (defattribute head_final BinAtt)
  ;; The lexical item behind a parse item; set by the parser only.
  (defattribute lexitem EntAtt)
  ;; Movement (gaps) and traces; filled by the parser.  "check" and "slash"
  ;; share their value list, since their masks are compared bit by bit.
  (defattribute move ListAtt)
  (defattribute trace TraceAtt)
  (defattribute slash DisjAtt (allowable-values wh np))
  (defattribute check DisjAtt (allowable-values wh np))
  ;; Numeric flags the parser tests for a positive or negative value.
  (defattribute control IntAtt)
  (defattribute cm IntAtt)
  (defattribute govern IntAtt)
  (defattribute guest IntAtt)
  (defattribute last_conj IntAtt)
  (defattribute rare IntAtt)
  (defattribute ref IntAtt)

  ;; --- agreement features of this grammar ------------------------------

  ;; Number and person: subjects agree with verbs and auxiliaries,
  ;; determiners with nouns.  Regular forms found through the ending table
  ;; share their root's meaning, so only irregular forms, pronouns and
  ;; determiners state them.
  (defattribute num DisjAtt (allowable-values sg pl))
  (defattribute per DisjAtt (allowable-values 1 2 3))
  ;; Case of pronouns: subjects must allow nom, objects acc.
  (defattribute case DisjAtt (allowable-values nom acc))
  )
