;;; grammar.lsp -- the parser "english-parser" of the demonstration grammar.
;;;
;;; A category lists the positions of its modifiers around its head, left to
;;; right; each position names the categories that may fill it and the type
;;; of the dependency ("dep-type").  Position flags: ? optional, * optional
;;; and repeatable, + repeatable, :head the head itself.  A position without
;;; a flag must be filled before the item counts as complete.
;;;
;;; Words whose meaning has "args" are placed in a subcategory made from
;;; their complements: a verb with (args (obj-np)) in V_N, a preposition in
;;; P_N.  There the complements follow the head at positions of their own,
;;; and each dependency is labelled with the complement's "role" (obj, iobj,
;;; pobj, pred, ccomp, xcomp, vcomp, clause).  A complete subcategory item
;;; then becomes an item of its plain category (V, P, ...), where the
;;; modifiers below attach.
;;;
;;; Dependency types made here:
;;;   det   determiner of a noun        amod  adjective of a noun
;;;   prep  prepositional phrase        subj  subject of a verb
;;;   aux   auxiliary or modal          adv   adverb (also "not")
;;;   cc    conjunction after the first conjunct
;;;   nn    noun before a noun          name  name before a name
;;;   advcl subordinate clause of a verb
;;;   poss  possessor of "'s"
;;;   conj  second conjunct, under the conjunction
;;;
;;; Statistical distances per dependency type come from dist.txt.

(def-vantic-parser english-parser
  :hashtable-size 197
  :attribute-vector-type syn
  :lexical-analyzer english-analyzer
  ;; "node" only chooses a meaning's category; items do not need it.
  :lexical-attributes (node)
  ;; A word left outside every analysis costs this much.
  :weights-of-words (int 25)
  :dist "dist.txt")

;;; ------------------------------------------------------------------------
;;; Categories.  All are declared first, since a position can only name a
;;; category that already exists.  visible-atts lists what an item passes up
;;; to the item it heads: agreement features for nouns and verbs, the
;;; preposition form for prepositions (which "args" such as (pform "to")
;;; check); a verb also passes its "cat" and "lexitem" up to S, below.
;;; ------------------------------------------------------------------------
(def-category Det (visible-atts (num)))
(def-category Poss)
(def-category Adv)
(def-category A)
(def-category N (visible-atts (num per case)))
(def-category Pron)
(def-category Name)
(def-category Nn)
(def-category P (visible-atts (pform)))
(def-category V (visible-atts (num per case cat lexitem)))
(def-category Aux (visible-atts (num per)))
(def-category I)
(def-category C)
(def-category ConjN)
(def-category ConjV)
(def-category ConjA)
(def-category Punc)
(def-category S)

;;; ------------------------------------------------------------------------
;;; Nouns: [Det] [A...] [N...] N [PP... | and N]
;;; The determiner's number becomes the noun's ("these dogs" is plural).
;;; Bare nouns (class nn-noun) and names before the head are compounds
;;; ("the court system", "the Washington area").
;;; ------------------------------------------------------------------------
(def-modifiers N
  (? (Det (dep-type "det") (percolate num)))
  (* (A (dep-type "amod")))
  (* (Nn (dep-type "nn"))
     (Name (dep-type "nn")))
  (:head)
  (* (P (dep-type "prep"))
     (ConjN (dep-type "cc"))))

;; Pronouns and proper names take no determiner or adjective; they may be
;; coordinated, and are then nouns as they stand.  A name is headed by its
;; last part ("President Bush", "Jennifer M. Anderson").
(def-modifiers Pron (:head) (* (ConjN (dep-type "cc"))))
(def-modifiers Name (* (Name (dep-type "name"))) (:head) (* (ConjN (dep-type "cc"))))
(def-subclass N (Pron) (Name))

;; The possessive "'s" takes its possessor and then stands as the
;; determiner of the possessed noun ("the company 's stock").
(def-modifiers Poss ((N (dep-type "poss"))) (:head))
(def-subclass Det (Poss))

;;; ------------------------------------------------------------------------
;;; Adjectives and adverbs: [Adv...] A [and A];  [Adv...] Adv
;;; ------------------------------------------------------------------------
(def-modifiers A
  (* (Adv (dep-type "adv")))
  (:head)
  (* (ConjA (dep-type "cc"))))

(def-modifiers Adv
  (* (Adv (dep-type "adv")))
  (:head))

;;; ------------------------------------------------------------------------
;;; Verbs: [PP... | Adv... | clause...] [subject] [Aux] [Adv...] V
;;;        [PP... | Adv... | clause... | and clause]
;;; A clause modifier is a subordinate clause ("if it rains", "because ...")
;;; or an infinitive of purpose ("left early to catch the train").
;;; Subject, auxiliary and verb agree in number and person, and the subject
;;; takes the case the verb gives it (nominative).
;;; ------------------------------------------------------------------------
(def-modifiers V
  (* (P (dep-type "prep"))
     (Adv (dep-type "adv"))
     (C (dep-type "advcl")))
  (? (N (dep-type "subj") (percolate num per case)))
  (? (Aux (dep-type "aux") (percolate num per)))
  (* (Adv (dep-type "adv")))
  (:head)
  (* (P (dep-type "prep"))
     (Adv (dep-type "adv"))
     (C (dep-type "advcl"))
     (I (dep-type "advcl"))
     (Punc (dep-type "punct"))
     (ConjV (dep-type "cc"))))

;;; ------------------------------------------------------------------------
;;; Conjunctions head their second conjunct: "and" + N, V or A.
;;; ------------------------------------------------------------------------
(def-modifiers ConjN (:head) ((N (dep-type "conj"))))
(def-modifiers ConjV (:head) ((V (dep-type "conj"))))
(def-modifiers ConjA (:head) ((A (dep-type "conj"))))

;;; ------------------------------------------------------------------------
;;; A sentence, S, is a complete verb item; the link from S to its verb has
;;; no type, so the main verb's relation is printed empty.  (The verb keeps
;;; its "lexitem" visible, which makes it the sentence's head word.)
;;; ------------------------------------------------------------------------
(def-modifiers S (:head (V)))

;;; ------------------------------------------------------------------------
;;; Roots: a sentence.  A noun, adjective or prepositional phrase may stand
;;; alone as a fragment, at a higher cost.
;;; ------------------------------------------------------------------------
(roots
  (S (t))
  (N (t) (int 20))
  (A (t) (int 20))
  (P (t) (int 20)))
