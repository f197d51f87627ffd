* A form, a top-level image window and a child image window of the host's client area.
SET LIBRARY TO TAVIKI32
f = CREATEOBJECT("Form")
f.Caption = "Tavik demo"
f.Width = 400
f.Height = 300
f.Show()
hTop = IMCREATEE("Top", 10, 10, 210, 310)
? "top", hTop > 0
hChild = IMCREATEF("Child", 0, 0, 100, 100, f.hWnd)
? "child of form", hChild > 0
hFill = IMCREATES("Fill", -1)
? "filling", hFill > 0
? "destroyed", IMDESTROY(hTop), IMDESTROY(hChild), IMDESTROY(hFill)
f.Release()
RELEASE LIBRARY TAVIKI32
