(strcat "a" "\101\t\e") (substr "中文abc" 2 2) (strlen "x" "yy") (strcase "Mixed" t)
(atoi "42x") (atof "1e3") (itoa -5) (read "(a . b)") (eval '(+ 1 2)) (type 'x)
(rtos 1.5 2 3) (angtos 1.0) (getvar "osmode") (setvar "osmode" 3) (command "_.LINE" '(0 0) "")
'(1 . (2 3)) (quote x) 1e20 -.5 .5 2147483648 (exit)
