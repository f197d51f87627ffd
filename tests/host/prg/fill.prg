* A child image window of the host's client area keeps filling it while the host window is
* resized; the test resizes the window and closes it, which ends READ EVENTS.
SET LIBRARY TO TAVIKI32
h = IMCREATES("Fill", -1)
? "child " + ALLTRIM(STR(h, 12)) + " screen " + ALLTRIM(STR(_SCREEN.hWnd, 12))
READ EVENTS
? "ended"
