;;; word-classes.lsp -- named word classes (aliases) of the type "syn".
;;;
;;; A lexicon meaning such as (avm vt) or (avm noun (num pl)) merges the
;;; alias vectors named in it with the attributes written out.  The same
;;; names are used when vectors are printed.  Every class that names a
;;; "node" must have a category of that name in grammar.lsp; the others are
;;; placed in the category of their "cat" (Det, A, N, P, V, I, C), or, with
;;; "args", in a subcategory made from the complements (V_N, P_N, ...).

;;; Complements, used inside "args".
(alias obj-np  (make-av syn ((cat n) (case acc) (role "obj"))))
(alias iobj-np (make-av syn ((cat n) (case acc) (role "iobj"))))
(alias pobj-np (make-av syn ((cat n) (case acc) (role "pobj"))))

;;; Nominals.  Proper names and pronouns are subclasses of N: they take no
;;; determiner or adjective.
(alias noun (make-av syn ((cat n) (per 3))))
(alias name (make-av syn ((node "Name") (cat n) (per 3))))
(alias pron (make-av syn ((node "Pron") (cat n))))
;;; A noun that modifies the noun after it ("court" of "court system"): a
;;; bare word, which takes no determiner of its own.
(alias nn-noun (make-av syn ((node "Nn"))))

;;; Noun modifiers.
(alias det (make-av syn ((cat d))))
;;; The possessive "'s" is a determiner made with its possessor before it.
(alias poss (make-av syn ((node "Poss") (cat d))))
(alias adj (make-av syn ((cat a))))
(alias adv (make-av syn ((node "Adv"))))

;;; Prepositions take one noun phrase; each also names its form in "pform".
(alias prep (make-av syn ((cat p) (args (pobj-np)))))

;;; Verbs by complement frame.  Every verb is "verb": its "case" is the case
;;; it gives its subject, so that "him" cannot be a subject.
(alias verb (make-av syn ((cat v) (case nom))))
(alias vi   (make-av syn (verb)))                                   ; sleep
(alias vt   (make-av syn (verb (args (obj-np)))))                   ; chase X
(alias vt-opt (make-av syn (verb (args (obj-np +opt)))))            ; eat (X)
(alias vdat (make-av syn (verb (args (iobj-np) (obj-np)))))         ; give X Y
(alias vto  (make-av syn (verb (args (obj-np) ((cat p) (pform "to") (role "iobj")))))) ; give Y to X
(alias vcl  (make-av syn (verb (args ((cat v) (role "ccomp"))))))   ; think S
(alias vthat (make-av syn (verb (args ((cat c) (role "ccomp"))))))  ; think that S
(alias vinf (make-av syn (verb (args ((cat i) (role "xcomp"))))))   ; want to V

;;; The copula with its three kinds of predicate.
(alias cop-a (make-av syn (verb (args ((cat a) (role "pred"))))))
(alias cop-n (make-av syn (verb (args ((cat n) (role "pred"))))))
(alias cop-p (make-av syn (verb (args ((cat p) (role "pred"))))))

;;; Auxiliaries and modals stand before the main verb.
(alias aux (make-av syn ((node "Aux"))))

;;; Infinitival "to" and the complementizer "that" head their clause.
(alias inf-to (make-av syn ((cat i) (args ((cat v) (role "vcomp"))))))
(alias comp-that (make-av syn ((cat c) (args ((cat v) (role "clause"))))))

;;; A comma closes the phrase before it.
(alias comma (make-av syn ((node "Punc"))))

;;; Coordinating conjunctions, one class per kind of conjunct.
(alias conj-n (make-av syn ((node "ConjN") (cat j))))
(alias conj-v (make-av syn ((node "ConjV") (cat j))))
(alias conj-a (make-av syn ((node "ConjA") (cat j))))
