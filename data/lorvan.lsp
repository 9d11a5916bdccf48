;;; lorvan.lsp -- start-up file of the demonstration English grammar.
;;;
;;; parsedemo runs this file from the data search path (-p or LORVANPATH)
;;; before it reads any sentence.  It loads, in dependency order:
;;;   syn.lsp          the attribute-vector type "syn"
;;;   word-classes.lsp named word classes (aliases) used by the lexicon
;;;   endings.lsp      the ending table for regular inflection
;;;   english.lex      the hand-written lexicon (a few hundred common words)
;;;   ewt.lex          the generated lexicon (frequent treebank words)
;;;   grammar.lsp      the parser: categories, relations and roots
;;; and grammar.lsp reads the distance file dist.txt.
;;;
;;; Objects made here, by name:
;;;   syn              AttInterpreterList
;;;   english-endings  EndingTable
;;;   english          Lexicon
;;;   english-analyzer LexAnalyzer
;;;   english-parser   VanticParser (the current parser)

(load "syn.lsp")

;; The parser's built-in attributes are looked up in "syn" once it exists.
(init-attributes)

;; Lexicon meanings written (avm ...) are vectors of "syn".  The name "avm"
;; is also the one the lexicon printer writes, so printed entries read back.
(make-avmeaning-proto syn avm)

(load "word-classes.lsp")
(load "endings.lsp")

(make-lexicon english 8009 :ending-table english-endings)
(load-lex english "english.lex")
;; The words of the treebank lexicon that english.lex lacks.
(load-lex english "ewt.lex")

(make-lex-analyzer english-analyzer
  :lexicon english
  :suggested-sentence-length 64)

(load "grammar.lsp")
