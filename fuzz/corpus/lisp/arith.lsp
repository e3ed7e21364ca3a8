(setq a 1 b 2.5) (+ a b (* 3 4) (/ 7 2) (rem 7 3)) (expt 2 31) (fix 3.7)
