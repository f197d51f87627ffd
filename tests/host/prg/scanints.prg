* IMSCANINTS through the real library: stores into variables passed by reference.
SET LIBRARY TO TAVIKI32
STORE 0 TO a, b, c
n = IMSCANINTS("12, 34 x 56", @a, @b, @c)
? "scanned", n, a, b, c
RELEASE LIBRARY TAVIKI32
