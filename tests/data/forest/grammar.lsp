;;; grammar.lsp -- categories and roots of the forest tests, for the
;;; current parser.  A verb takes a noun before it either as its subject or
;;; as a topic; which one the forest keeps depends on the distance costs and
;;; the forbidden triples of the parser.
(def-category Det)
(def-category N)
(def-category V)
(def-modifiers N
  (? (Det (dep-type "det")))
  (:head))
(def-modifiers V
  (? (N (dep-type "subj"))
     (N (dep-type "topic")))
  (:head))
(roots (V (t)) (N (t) (int 20)))
