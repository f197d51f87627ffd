// The host function table: 80 functions in the order hosts and old programs know, then the
// load and unload entries.
#include "HostFunctions.h"
#include "KitLibrary.h"

namespace tavik::hostlib {
namespace {

// Nine optional parameters and the like come up often enough to name.
#define OPT1 ".?"
#define OPT2 ".?,.?"
#define OPT4 ".?,.?,.?,.?"
#define OPT8 OPT4 "," OPT4

const KitFunction kFunctions[] = {
    {"IMGET", IMGET, 9, "?," OPT8},
    {"IMGETHW", IMGETHW, 10, "?,?," OPT8},
    {"IMSET", IMSET, 5, "?," OPT4},
    {"IMSETHW", IMSETHW, 6, "?,?," OPT4},
    {"IMCREATEF", IMCREATEF, 6, "?,?,?,?,?,?"},
    {"IMCREATEO", IMCREATEO, 6, "?,?,?,?,?,?"},
    {"IMCREATEE", IMCREATEE, 5, "?,?,?,?,?"},
    {"IMCREATES", IMCREATES, 2, "?,?"},
    {"IMSDRAW", IMSDRAW, 1, OPT1},
    {"IMEDRAW", IMEDRAW, 1, OPT1},
    {"IMDCADV", IMDCADV, 4, "?,.?,.?,.?"},
    {"IMMBOXADV", IMMBOXADV, 3, "?," OPT2},
    {"IMMDADV", IMMDADV, 4, "?,.?,.?,.?"},
    {"IMMUADV", IMMUADV, 4, "?,.?,.?,.?"},
    {"IMMMADV", IMMMADV, 4, "?,.?,.?,.?"},
    {"IMCADV", IMCADV, 4, "?,.?,.?,.?"},
    {"IMDROPADV", IMDROPADV, 3, "?," OPT2},
    {"IMRECTADV", IMRECTADV, 7, "?,.?,.?," OPT4},
    {"IMLINK", IMLINK, 1, ".L"},
    {"IMUNLINK", IMUNLINK, 1, "?"},
    {"IMDESTROY", IMDESTROY, 1, "?"},
    {"IMSHOW", IMSHOW, 10, "?,?,?,.?," OPT2 "," OPT4},
    {"IMSHOWBW", IMSHOWBW, 10, "?,?,?,.?," OPT2 "," OPT4},
    {"IMSHOWG", IMSHOWG, 10, "?,?,?,.?," OPT2 "," OPT4},
    {"IMIMAGE", IMIMAGE, 10, "?,.?," OPT8},
    {"IMSTARTPAG", IMSTARTPAG, 1, OPT1},
    {"IMENDPAGE", IMENDPAGE, 0, ""},
    {"IMNEWPAGE", IMNEWPAGE, 0, ""},
    {"IMTEXT", IMTEXT, 4, "?,?,?,.?"},
    {"IMVTEXT", IMVTEXT, 4, "?,?,?,.?"},
    {"IMDELETE", IMDELETE, 2, OPT2},
    {"IMDELETEGX", IMDELETEGX, 1, OPT1},
    {"IMDELETEOS", IMDELETEOS, 1, OPT1},
    {"IMCLEAR", IMCLEAR, 4, OPT4},
    {"IMHIDEWIN", IMHIDEWIN, 1, "?"},
    {"IMSHOWWIN", IMSHOWWIN, 2, "?,.?"},
    {"IMACTIVATE", IMACTIVATE, 1, "?"},
    {"IMZOOM", IMZOOM, 2, OPT2},
    {"IMUNZOOM", IMUNZOOM, 1, OPT1},
    {"IMAALIAS", IMAALIAS, 5, ".?," OPT4},
    {"IMDITHER", IMDITHER, 5, ".?," OPT4},
    {"IMSAVEDLG", IMSAVEDLG, 0, ""},
    {"IMCONVERT", IMCONVERT, 14, "?,?,?,.?," OPT2 "," OPT8},
    {"IMSAVE", IMSAVE, 12, "?,?,?,.?," OPT8},
    {"IMCVT", IMCVT, 11, "?,?,.?," OPT8},
    {"IMBITMAP", IMBITMAP, 3, "?," OPT2},
    {"IMXFERHW", IMXFERHW, 2, "?,?"},
    {"IMREGCB", IMREGCB, 2, "?,?"},
    {"IMUNREGCB", IMUNREGCB, 1, "?"},
    {"IMCAPTURE", IMCAPTURE, 8, OPT8},
    {"IMPAUSECB", IMPAUSECB, 0, ""},
    {"IMRESUMECB", IMRESUMECB, 0, ""},
    {"IMTWSRC", IMTWSRC, 2, OPT2},
    {"IMTWACQ", IMTWACQ, 2, OPT2},
    {"IMTWDONE", IMTWDONE, 1, OPT1},
    {"IMSCROLL", IMSCROLL, 1, "?"},
    {"IMSENDMSG", IMSENDMSG, 4, "?,?,?,?"},
    {"IMDDETO", IMDDETO, 1, OPT1},
    {"IMQUEUE", IMQUEUE, 1, OPT1},
    {"IMPSETDLG", IMPSETDLG, 0, ""},
    {"IMCLOSE", IMCLOSE, 0, ""},
    {"IMPRINTDLG", IMPRINTDLG, 1, OPT1},
    {"IMABOUTDLG", IMABOUTDLG, 2, OPT2},
    {"IMOPENDLG", IMOPENDLG, 1, "?"},
    {"IMSCANINTS", IMSCANINTS, 10, OPT2 "," OPT8},
    {"IMKILLALL", IMKILLALL, 0, ""},
    {"IMSENDFLAG", IMSENDFLAG, 1, "?"},
    {"IMMOVE", IMMOVE, 5, "?,?,?,?,?"},
    {"IMADDIN1", IMADDIN1, 2, "?,?"},
    {"IMRTMENU", IMRTMENU, 1, "?"},
    {"IMPASTEFIL", IMPASTEFIL, 11, "?," OPT2 "," OPT8},
    {"IMCMD", IMCMD, 1, "?"},
    {"IMREQUEST", IMREQUEST, 1, "?"},
    {"IMROTATE", IMROTATE, 2, "?,?"},
    {"IMSAVEOFF", IMSAVEOFF, 11, "?," OPT2 "," OPT8},
    {"IMGETOBJWIN", IMGETOBJWIN, 1, "O"},
    {"IMCREOBJ", IMCREOBJ, 1, "?"},
    {"IMSETOP", IMSETOP, 3, "O,?,?"},
    {"IMGETOP", IMGETOP, 2, "O,?"},
    {"IMCLEARGX", IMCLEARGX, 1, OPT1},
    {"", LibraryLoad, kKitLoadEntry, ""},
    {"", LibraryUnload, kKitUnloadEntry, ""},
};

}  // namespace
}  // namespace tavik::hostlib

extern "C" const KitTable kitLibraryTable = {
    nullptr, static_cast<int32_t>(sizeof tavik::hostlib::kFunctions / sizeof(KitFunction)),
    tavik::hostlib::kFunctions};
