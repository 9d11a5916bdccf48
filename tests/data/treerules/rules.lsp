; Tidying a parsed sentence: a prepositional phrase found under the object
; of "see" moves up to the verb, after the object; determiners "a" are
; dropped from the tree.
(def-tree-rules tidy
  (down :name pp-to-verb
        :comments "the instrument goes with the verb"
        (tree v (w see) (tree o (w dog) (node p (w with))))
        (insert-after (get-val p) (get-val o)))
  (up :name drop-det
      (tree (t) (node d (w a)))
      (detach-node (get-val d))))
