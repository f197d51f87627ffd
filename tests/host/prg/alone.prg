* No server anywhere: the library asks where it is, says it cannot start it, and then does
* nothing.
SET LIBRARY TO TAVIKI32
? "alone", IMCREATEF("Img", 0, 0, 10, 10, -1), IMCMD("52")
