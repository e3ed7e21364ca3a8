;| a block
   comment |;
(defun fact (n / r) (if (<= n 1) 1 (* n (fact (1- n))))) (fact 12)
(defun c:hi () (princ "hi\n") (princ))
(mapcar '(lambda (x) (* x x)) '(1 2 3)) (apply '+ '(1 2 3))
(foreach x '(1 2) (print x)) (while (< a 5) (setq a (1+ a))) (repeat 3 (terpri))
