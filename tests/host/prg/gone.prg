* The server goes away while the library is loaded: later commands do nothing and fail.
SET LIBRARY TO TAVIKI32
h = IMCREATEE("Top", 10, 10, 110, 110)
show = "39 " + ALLTRIM(STR(h, 12)) + " 1"
? "before", h > 0, IMCMD(show)
? "waiting"
DO WHILE !FILE("gone.flag")
  = INKEY(0.2)
ENDDO
? "after", IMCMD(show), IMCREATEF("Img", 0, 0, 10, 10, -1), LEN(IMREQUEST("1 3"))
