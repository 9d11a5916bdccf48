;;; lorvan.lsp -- start-up file of the forest tests: the words, a parser
;;; with the test distances, and the grammar.
(load "words.lsp")
(def-vantic-parser forest-parser
  :attribute-vector-type syn
  :lexical-analyzer forest-analyzer
  :weights-of-words (int 25)
  :dist "dist.txt")
(load "grammar.lsp")
