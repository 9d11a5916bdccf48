;;; endings.lsp -- the ending table "english-endings" for regular inflection.
;;;
;;; The lexicon finds an inflected word through every root these endings
;;; give it that has an entry of its own; roots without an entry are simply
;;; dropped.  The endings are tried in this order, and every hit counts.
;;; An ending is written (TYPE SUFFIX LABEL [REPLACEMENT]); the label is the
;;; affix shown with the lexical item.  Types (only the first letter counts):
;;;   p  plain:   strip SUFFIX, then append REPLACEMENT
;;;   d  double:  SUFFIX after a doubled consonant (stopped, running): strip
;;;               the suffix and one of the two letters
;;;   e  es-type: (e SUFFIX LABEL REPLACEMENT LETTERS) only for words of
;;;               more than three letters whose third letter from the end is
;;;               one of LETTERS
;;; Suffixes are matched against the lower-cased word, so they are written
;;; in lower case.

(def-endings english-endings
  ;; The word as it stands.
  (p "")
  ;; -s: dogs, barks.  The es-type keeps two- and three-letter words such as
  ;; "is" and "its" from being read as "i" + s and "it" + s.
  (e s s "" abcdefghijklmnopqrstuvwxyz)
  ;; -es after a sibilant or o: boxes, churches, buses, goes.
  (e es s "" sxzho)
  ;; -ies: cities, carries.
  (p ies s y)
  ;; -ed: walked; liked (the e of the root restored after a consonant, which
  ;; keeps "bed" from being read as be + d); -ied: carried; stopped.
  (p ed ed)
  (e ed ed e bcdfghjklmnpqrstvwxz)
  (p ied ed y)
  (d ed ed)
  ;; -ing: walking; making (e dropped); running.
  (p ing ing)
  (p ing ing e)
  (d ing ing)
  )
