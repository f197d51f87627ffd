* A host whose VERSION(2) the library does not accept: message 8, and nothing is created.
SET LIBRARY TO TAVIKI32
? "create", IMCREATEF("Img", 0, 0, 100, 100, -1)
? "show", TYPE("IMSHOW('nothing.bmp', 0, 0)")
