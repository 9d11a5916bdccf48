; A small noun-phrase and clause grammar: determiners and adjectives before
; nouns, subjects before and objects after verbs.
(def-category Det)
(def-category A)
(def-category C)
(def-category Conn)
(def-category N (visible-atts (cat num)) (conj-atts (cat) (num)))
(def-modifiers N (* (Det (dep-type det)) (A (dep-type mod))) (:head))
(def-category V (visible-atts (cat)))
(def-modifiers V (? (N (dep-type subj))) (:head) (? (N (dep-type obj))))
(roots (V) (N))
