;;; words.lsp -- the type, the lexicon and the analyzer of the forest tests.
(load "syn.lsp")
(init-attributes)
(make-avmeaning-proto syn avm)
(make-lexicon forest-words 101)
(lex forest-words
  (the (avm ((cat d))))
  (dog (avm ((cat n))))
  (cat (avm ((cat n))))
  (barks (avm ((cat v))))
  (chased (avm ((cat v) (args ((cat n) (role "obj"))))))
  (New York (avm ((cat n)))))
(make-lex-analyzer forest-analyzer :lexicon forest-words :suggested-sentence-length 40)
