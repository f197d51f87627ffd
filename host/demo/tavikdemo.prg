* Tavik images from a FoxPro program: a form with a child image window, a top-level image
* window and one that fills the main window's client area; then everything is closed again.
*   foxhost tavikdemo.prg [picture.bmp]
PARAMETERS picture
SET TALK OFF
SET LIBRARY TO TAVIKI32 ADDITIVE
? "Library loaded: " + VERSION()

frm = CREATEOBJECT("Form")
frm.Caption = "Tavik images on a form"
frm.Width = 480
frm.Height = 360
frm.Show()

hChild = IMCREATEF("FormImage", 10, 10, 300, 440, frm.hWnd)
? "Child image window on the form:", hChild > 0
hFill = IMCREATES("Backdrop", -1)
? "Window filling the main window:", hFill > 0
* Made last, so it is the current window that IMSHOW fills.
hTop = IMCREATEE("Tavik top-level window", 60, 520, 360, 920)
? "Top-level image window:", hTop > 0

IF TYPE("picture") = "C" AND FILE(picture)
  IMSHOWWIN(hChild)
  IMSHOW(picture, 0, 0)
  ? "Shown:", picture
ENDIF

_SCREEN.Width = 900
_SCREEN.Height = 650
WAIT WINDOW "Tavik demo running" TIMEOUT 10

? "Closed:", IMDESTROY(hChild), IMDESTROY(hTop), IMDESTROY(hFill)
frm.Release()
RELEASE LIBRARY TAVIKI32
? "Done."
