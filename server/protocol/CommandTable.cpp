#include "CommandTable.h"

#include <algorithm>
#include <array>

#include "ErrorReport.h"

namespace tavik {
namespace {

using C = CommandCursor;

// ---- shared readers ------------------------------------------------------------------------

bool Bounded(std::optional<std::string_view> v, std::string& out, size_t max = kMaxNameLength) {
  if (!v || v->size() > max) return false;
  out.assign(v->data(), v->size());
  return true;
}

template <typename T>
bool Into(std::optional<T> v, T& out) {
  if (!v) return false;
  out = *v;
  return true;
}

template <typename T>
bool Into(std::optional<T> v, std::optional<T>& out) {
  if (!v) return false;
  out = v;
  return true;
}

template <typename T>
T& Args(Command& cmd) {
  return cmd.args.emplace<T>();
}

void TrailingHandle(C& c, Command& cmd) {
  if (auto h = c.Handle()) cmd.address = *h;
}

bool ReadPlacement(C& c, Placement& p) {
  return Into(c.ReadRect(), p.destination) && Into(c.ReadRect(), p.crop);
}

bool ReadColourMatching(C& c, int32_t& code) {
  auto word = c.Token();
  if (!word) return false;
  if (KeywordEquals(*word, "NEAREST")) code = kNearest;
  else if (KeywordEquals(*word, "DITHER")) code = kDitherMatch;
  else return false;
  return true;
}

bool ReadPaletteKeyword(C& c, int32_t& code) {
  auto word = c.Token();
  if (!word) return false;
  if (KeywordEquals(*word, "WINPAL")) code = kWinPal;
  else if (KeywordEquals(*word, "BESTPAL")) code = kBestPal;
  else return false;
  return true;
}

bool ReadSaveOptions(C& c, SaveOptions& o) {
  return Bounded(c.Token(), o.fileType) && Into(c.Number(), o.height) &&
         Into(c.Number(), o.width) && Into(c.Number(), o.option) &&
         ReadColourMatching(c, o.colourMatching) && ReadPaletteKeyword(c, o.palette) &&
         Into(c.ReadRect(), o.crop);
}

// A data size comes back as the length of the data poke; a negative one is no size at all.
bool ReadDataSize(C& c, int32_t& size) { return Into(c.Number(), size) && size >= 0; }

// ---- drawing -------------------------------------------------------------------------------

template <int kPairs>
bool Pairs(C& c, Command& cmd) {
  auto& a = Args<ShapeArgs>(cmd);
  for (int i = 0; i < kPairs; ++i) {
    if (!Into(c.ReadPair(), a.pairs[static_cast<size_t>(i)])) return false;
  }
  TrailingHandle(c, cmd);
  return true;
}

bool PairRadius(C& c, Command& cmd) {
  auto& a = Args<ShapeArgs>(cmd);
  if (!Into(c.ReadPair(), a.pairs[0]) || !Into(c.Number(), a.radius)) return false;
  TrailingHandle(c, cmd);
  return true;
}

bool Clear(C& c, Command& cmd) {
  auto& a = Args<ClearArgs>(cmd);
  std::array<int32_t, 5> n{};
  size_t count = 0;
  while (count < n.size()) {
    auto v = c.Number();
    if (!v) break;
    n[count++] = *v;
  }
  switch (count) {
    case 0: return true;
    case 1: cmd.address = n[0]; return true;  // a lone number names the window
    case 4: a.rect = WireRect{n[0], n[1], n[2], n[3]}; return true;
    case 5: a.rect = WireRect{n[0], n[1], n[2], n[3]}; cmd.address = n[4]; return true;
    default: return false;
  }
}

// A list is allocated at its full count before any point arrives.
inline constexpr int32_t kMaxPointListCount = 1 << 20;

bool PointListDraw(C& c, Command& cmd) {
  Args<PointListArgs>(cmd);
  TrailingHandle(c, cmd);
  return true;
}

bool PointListAppend(C& c, Command& cmd) {
  auto& a = Args<PointListArgs>(cmd);
  if (!Into(c.ReadPair(), a.point)) return false;
  TrailingHandle(c, cmd);
  return true;
}

bool PointListStart(C& c, Command& cmd) {
  auto& a = Args<PointListArgs>(cmd);
  if (!Into(c.Number(), a.count) || a.count < 0 || a.count > kMaxPointListCount) return false;
  TrailingHandle(c, cmd);
  return true;
}

bool Text(C& c, Command& cmd) {
  auto& a = Args<TextArgs>(cmd);
  if (!Bounded(c.Text(), a.text, kMaxTextLength) || !Into(c.ReadPair(), a.point)) return false;
  TrailingHandle(c, cmd);
  return true;
}

bool StartRecording(C& c, Command& cmd) {
  auto& a = Args<RecordArgs>(cmd);
  auto h = c.Handle();
  if (!h) return true;
  cmd.address = *h;
  // Each size left out takes the client size on its own.
  a.width = c.Number().value_or(0);
  a.height = c.Number().value_or(0);
  return true;
}

template <typename T>
bool OnlyTrailingHandle(C& c, Command& cmd) {
  Args<T>(cmd);
  TrailingHandle(c, cmd);
  return true;
}

// 100 and 101: an optional leading handle, the file, then the only metafile a window has.
bool MetafileHead(C& c, Command& cmd, MetafileArgs& a) {
  if (c.PeekNonBlank() != '[') {
    if (!Into(c.Handle(), cmd.address)) return false;
  }
  if (!Bounded(c.BracketedName(), a.file)) return false;
  // Written after a blank, the second name comes out as "[DEFAULTMETAFILE"; its bracket and
  // a blank before it are passed over.
  auto which = c.BracketedName();
  if (!which) return false;
  std::string_view w = *which;
  if (!w.empty() && w.front() == ' ') w.remove_prefix(1);
  if (!w.empty() && w.front() == '[') w.remove_prefix(1);
  return w == "DEFAULTMETAFILE";
}

bool SaveMetafile(C& c, Command& cmd) {
  auto& a = Args<MetafileArgs>(cmd);
  if (!MetafileHead(c, cmd, a)) return false;
  auto format = c.Token();
  if (!format) return false;
  if (*format == "WMF") a.format = kMetafileWMF;
  else if (*format == "EMF") a.format = kMetafileEMF;
  else return false;
  return true;
}

bool LoadMetafile(C& c, Command& cmd) {
  auto& a = Args<MetafileArgs>(cmd);
  if (!MetafileHead(c, cmd, a)) return false;
  a.append = c.Number().value_or(0);
  return true;
}

// ---- images --------------------------------------------------------------------------------

bool ShowFileTail(C& c, ShowFileArgs& a) {
  if (!Bounded(c.BracketedName(), a.file) || !Into(c.Word32(), a.flags) ||
      !ReadPlacement(c, a.placement)) {
    return false;
  }
  a.subImage = c.Number().value_or(0);
  return true;
}

bool ShowFile(C& c, Command& cmd) { return ShowFileTail(c, Args<ShowFileArgs>(cmd)); }

bool ShowFileInWindow(C& c, Command& cmd) {
  auto& a = Args<ShowFileArgs>(cmd);
  return Into(c.Handle(), a.window) && ShowFileTail(c, a);
}

DataParameters& NewParameters(Command& cmd, DataItem item) {
  auto& p = Args<DataParameters>(cmd);
  p.op = cmd.op;
  p.item = item;
  return p;
}

bool ShowDataTail(C& c, DataParameters& p) {
  return Bounded(c.Token(), p.name) && Into(c.Word32(), p.flags) &&
         ReadPlacement(c, p.placement) && Into(c.Number(), p.subImage) &&
         ReadDataSize(c, p.dataSize);
}

bool ShowData(C& c, Command& cmd) {
  return ShowDataTail(c, NewParameters(cmd, DataItem::SHOWDATA));
}

bool PrintData(C& c, Command& cmd) {
  return ShowDataTail(c, NewParameters(cmd, DataItem::PRINTDATA));
}

bool ShowDataInWindow(C& c, Command& cmd) {
  auto& p = NewParameters(cmd, DataItem::SHOWDATA);
  return Into(c.Handle(), p.window) && ShowDataTail(c, p);
}

bool ConvertData(C& c, Command& cmd) {
  auto& p = NewParameters(cmd, DataItem::CONVERTDATA);
  return Bounded(c.BracketedName(), p.name) && Bounded(c.BracketedName(), p.secondName) &&
         ReadSaveOptions(c, p.options) && Into(c.Number(), p.subImage) &&
         Into(c.Number(), p.metafileSize) && ReadDataSize(c, p.dataSize);
}

bool BitmapData(C& c, Command& cmd) {
  auto& p = NewParameters(cmd, DataItem::SHOWBMDATA);
  return Bounded(c.Token(), p.name) && Into(c.ReadPair(), p.point) &&
         ReadDataSize(c, p.dataSize);
}

bool Bitmap(C& c, Command& cmd) {
  auto& a = Args<BitmapArgs>(cmd);
  return Bounded(c.Token(), a.name) && Into(c.ReadPair(), a.point);
}

bool DeleteImages(C& c, Command& cmd) {
  auto& a = Args<DeleteImagesArgs>(cmd);
  if (!Bounded(c.BracketedName(), a.name)) return false;
  TrailingHandle(c, cmd);
  return true;
}

bool Zoom(C& c, Command& cmd) {
  auto& a = Args<ZoomArgs>(cmd);
  return Into(c.Real100(), a.value) && a.value != 0;
}

bool Unzoom(C& c, Command& cmd) {
  Args<ZoomArgs>(cmd).value = c.Number().value_or(0);
  return true;
}

bool Process(C& c, Command& cmd) {
  auto& a = Args<ProcessArgs>(cmd);
  if (!Into(c.Number(), a.mode)) return false;
  if (a.mode == 0 || a.mode == 1) return true;
  return a.mode == 2 && Into(c.ReadRect(), a.rect);
}

// ---- dialogs, printing, saving -------------------------------------------------------------

template <typename T>
bool NoArguments(C&, Command& cmd) {
  Args<T>(cmd);
  return true;
}

bool PrintDialog(C& c, Command& cmd) {
  auto& a = Args<DialogArgs>(cmd);
  auto options = c.BracketedName();
  return !options || Bounded(options, a.name);
}

bool AboutDialog(C& c, Command& cmd) { return Into(c.ReadPair(), Args<DialogArgs>(cmd).point); }

bool WindowDialog(C& c, Command& cmd) {
  auto& a = Args<DialogArgs>(cmd);
  return Into(c.Handle(), a.window);
}

bool WindowAboutDialog(C& c, Command& cmd) {
  auto& a = Args<DialogArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.ReadPair(), a.point);
}

bool WindowPrint(C& c, Command& cmd) {
  auto& a = Args<DialogArgs>(cmd);
  return Into(c.Handle(), a.window) && Bounded(c.BracketedName(), a.name);
}

bool StartPage(C& c, Command& cmd) { return Into(c.Number(), Args<PageArgs>(cmd).orientation); }

bool Convert(C& c, Command& cmd) {
  auto& a = Args<SaveArgs>(cmd);
  if (!Bounded(c.BracketedName(), a.source) || !Bounded(c.BracketedName(), a.target) ||
      !ReadSaveOptions(c, a.options)) {
    return false;
  }
  a.subImage = c.Number().value_or(0);
  a.metafileSize = c.Number().value_or(-1);
  return true;
}

bool SaveTo(C& c, Command& cmd) {
  auto& a = Args<SaveArgs>(cmd);
  return Bounded(c.BracketedName(), a.target) && ReadSaveOptions(c, a.options);
}

bool SaveWindow(C& c, Command& cmd) {
  auto& a = Args<SaveArgs>(cmd);
  return Into(c.Handle(), a.window) && Bounded(c.BracketedName(), a.target) &&
         ReadSaveOptions(c, a.options);
}

bool Capture(C& c, Command& cmd) {
  auto& a = Args<CaptureArgs>(cmd);
  return Bounded(c.BracketedName(), a.file) && Bounded(c.Token(), a.fileType) &&
         Into(c.Number(), a.option) && Into(c.ReadPair(), a.point) &&
         ReadColourMatching(c, a.colourMatching) && ReadPaletteKeyword(c, a.palette);
}

// ---- windows -------------------------------------------------------------------------------

bool Destroy(C& c, Command& cmd) {
  auto& a = Args<DestroyArgs>(cmd);
  return Into(c.Handle(), a.window);
}

bool ShowHide(C& c, Command& cmd) {
  auto& a = Args<ShowHideArgs>(cmd);
  if (!Into(c.Handle(), a.window) || !Into(c.Number(), a.show)) return false;
  a.showCommand = c.Number();
  return true;
}

bool Transfer(C& c, Command& cmd) {
  auto& a = Args<TransferArgs>(cmd);
  return Into(c.Handle(), a.to) && Into(c.Handle(), a.from);
}

bool Activate(C& c, Command& cmd) { return Into(c.Handle(), Args<ActivateArgs>(cmd).window); }

bool DisplayFlags(C& c, Command& cmd) {
  auto& a = Args<DisplayFlagsArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.Word32(), a.flags);
}

bool AddIn(C& c, Command& cmd) {
  auto& a = Args<MenuArgs>(cmd);
  return Into(c.Handle(), a.window) && Bounded(c.BracketedName(), a.name);
}

bool Popup(C& c, Command& cmd) { return Into(c.Handle(), Args<MenuArgs>(cmd).window); }

bool Background(C& c, Command& cmd) {
  auto& a = Args<BackgroundArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.Word32(), a.colour);
}

bool Rotate(C& c, Command& cmd) {
  auto& a = Args<RotateArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.Number(), a.orientation) && a.orientation >= 0 &&
         a.orientation <= 7;
}

bool Copy(C& c, Command& cmd) {
  auto& a = Args<ClipboardArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.Number(), a.format);
}

bool Paste(C& c, Command& cmd) { return Into(c.Handle(), Args<ClipboardArgs>(cmd).window); }

bool Freehand(C& c, Command& cmd) {
  auto& a = Args<FreehandArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.Number(), a.on);
}

bool SetAttribute(C& c, Command& cmd) {
  auto& a = Args<AttributeArgs>(cmd);
  if (cmd.op == Op::IMSETHW || cmd.op == Op::IMGETHW) {
    if (!Into(c.Handle(), a.window)) return false;
  }
  if (!Into(c.Number(), a.code)) return false;
  a.values = std::string(c.Rest());
  return true;
}

// ---- media windows -------------------------------------------------------------------------

bool MediaWindow(C& c, Command& cmd) { return Into(c.Handle(), Args<MediaArgs>(cmd).window); }

bool MediaOpen(C& c, Command& cmd) {
  auto& a = Args<MediaArgs>(cmd);
  if (!Into(c.Handle(), a.window) || !Bounded(c.BracketedName(), a.text)) return false;
  a.flags = c.Number().value_or(0);
  return true;
}

bool MediaText(C& c, Command& cmd) {
  auto& a = Args<MediaArgs>(cmd);
  return Into(c.Handle(), a.window) && Bounded(c.BracketedName(), a.text);
}

bool MediaStyles(C& c, Command& cmd) {
  auto& a = Args<MediaArgs>(cmd);
  return Into(c.Handle(), a.window) && Into(c.Number(), a.mask) && Into(c.Number(), a.value);
}

// ---- requests ------------------------------------------------------------------------------

// Create requests read their numbers as "%d" does, so "-0" is a plain 0 there.
bool CreateTitle(C& c, Command& cmd, CreateArgs& a) {
  if (Bounded(c.Title(), a.title)) return true;
  if (cmd.op == Op::IMCREATEE) ReportError(kErrWindowTitle, kDdeCallback, "CREATEEWIN");
  else if (cmd.op != Op::IMCREATEO && cmd.op != Op::MEDIAWINDOW && cmd.op != Op::MEDIAWINDOWFILL)
    ReportError(kErrWindowTitle, kDdeCallback, "CREATEFWIN");
  return false;
}

bool ScanRect(C& c, WireRect& r) {
  return Into(c.ScanNumber(), r.top) && Into(c.ScanNumber(), r.left) &&
         Into(c.ScanNumber(), r.bottom) && Into(c.ScanNumber(), r.right);
}

bool ScanStyle(C& c, uint32_t& style) {
  auto v = c.ScanNumber();
  if (!v) return false;
  style = static_cast<uint32_t>(*v);
  return true;
}

bool CreateWithParent(C& c, Command& cmd) {
  auto& a = Args<CreateArgs>(cmd);
  if (!CreateTitle(c, cmd, a) || !ScanRect(c, a.rect) || !Into(c.ScanNumber(), a.parent)) {
    return false;
  }
  a.extra = c.ScanNumber().value_or(0);
  return true;
}

bool CreateTopLevel(C& c, Command& cmd) {
  auto& a = Args<CreateArgs>(cmd);
  return CreateTitle(c, cmd, a) && ScanRect(c, a.rect);
}

bool CreateFilling(C& c, Command& cmd) {
  auto& a = Args<CreateArgs>(cmd);
  if (!CreateTitle(c, cmd, a) || !Into(c.ScanNumber(), a.parent)) return false;
  a.extra = c.ScanNumber().value_or(0);
  return true;
}

bool CreateMedia(C& c, Command& cmd) {
  auto& a = Args<CreateArgs>(cmd);
  return CreateTitle(c, cmd, a) && ScanRect(c, a.rect) && Into(c.ScanNumber(), a.parent) &&
         ScanStyle(c, a.style);
}

bool CreateMediaFilling(C& c, Command& cmd) {
  auto& a = Args<CreateArgs>(cmd);
  return CreateTitle(c, cmd, a) && Into(c.ScanNumber(), a.parent) && ScanStyle(c, a.style);
}

bool SaveDialogPreset(C& c, Command& cmd) {
  auto& a = Args<SaveDialogArgs>(cmd);
  return Into(c.Handle(), a.window) && Bounded(c.Token(), a.fileType) &&
         Into(c.Number(), a.option1) && Into(c.Number(), a.option2) &&
         Bounded(c.BracketedName(), a.name);
}

bool SaveDialogWindow(C& c, Command& cmd) {
  return Into(c.Handle(), Args<SaveDialogArgs>(cmd).window);
}

// ---- the table -----------------------------------------------------------------------------

constexpr uint32_t kDraw = kTraitDrawing;

constexpr OpcodeInfo kTable[] = {
    {Op::IMGET, "IMGET", nullptr, SetAttribute, 0},
    {Op::IMSET, "IMSET", SetAttribute, nullptr, 0},
    {Op::ARC, "ARC", Pairs<4>, nullptr, kDraw},
    {Op::CIRCLE, "CIRCLE", PairRadius, nullptr, kDraw},
    {Op::IMCLEAR, "IMCLEAR", Clear, nullptr, kDraw},
    {Op::POLYGON, "POLYGON", PointListDraw, nullptr, kDraw},
    {Op::POLYLINE, "POLYLINE", PointListDraw, nullptr, kDraw},
    {Op::PIE, "PIE", Pairs<4>, nullptr, kDraw},
    {Op::FILLEDCIRCLE, "FILLEDCIRCLE", PairRadius, nullptr, kDraw},
    {Op::ADDPOINT, "ADDPOINT", PointListAppend, nullptr, 0},
    {Op::FILLEDRECTANGLE, "FILLEDRECTANGLE", Pairs<2>, nullptr, kDraw},
    {Op::LINE, "LINE", Pairs<2>, nullptr, kDraw},
    {Op::ADDPOINT2, "ADDPOINT2", PointListAppend, nullptr, 0},
    {Op::DOT, "DOT", Pairs<1>, nullptr, kDraw},
    {Op::RECTANGLE, "RECTANGLE", Pairs<2>, nullptr, kDraw},
    {Op::POINTLIST, "POINTLIST", PointListStart, nullptr, 0},
    {Op::POINTLIST2, "POINTLIST2", PointListStart, nullptr, 0},
    {Op::IMTEXT, "IMTEXT", Text, nullptr, kTraitTextOutput},
    {Op::IMVTEXT, "IMVTEXT", Text, nullptr, kTraitTextOutput},
    {Op::IMDESTROY, "IMDESTROY", Destroy, nullptr, kTraitDestroysWindow},
    {Op::IMCREATEF, "IMCREATEF", nullptr, CreateWithParent, 0},
    {Op::IMCREATEE, "IMCREATEE", nullptr, CreateTopLevel, 0},
    {Op::IMCREATEO, "IMCREATEO", nullptr, CreateWithParent, 0},
    {Op::IMSDRAW, "IMSDRAW", StartRecording, nullptr, 0},
    {Op::IMEDRAW, "IMEDRAW", OnlyTrailingHandle<RecordArgs>, nullptr, 0},
    {Op::ROUNDRECT, "ROUNDRECT", Pairs<2>, nullptr, kDraw},
    {Op::FILLEDROUNDRECT, "FILLEDROUNDRECT", Pairs<2>, nullptr, kDraw},
    {Op::CHORD, "CHORD", Pairs<4>, nullptr, kDraw},
    {Op::FILLEDCHORD, "FILLEDCHORD", Pairs<4>, nullptr, kDraw},
    {Op::IMSHOW, "IMSHOW", ShowFile, nullptr, 0},
    {Op::IMSHOWDATA, "IMSHOWDATA", ShowData, nullptr, 0},
    {Op::IMDELETE, "IMDELETE", DeleteImages, nullptr, 0},
    {Op::IMDELETEGX, "IMDELETEGX", OnlyTrailingHandle<DiscardArgs>, nullptr, 0},
    {Op::IMSHOWWIN, "IMSHOWWIN", ShowHide, nullptr, 0},
    {Op::IMZOOM, "IMZOOM", Zoom, nullptr, 0},
    {Op::IMUNZOOM, "IMUNZOOM", Unzoom, nullptr, 0},
    {Op::IMAALIAS, "IMAALIAS", Process, nullptr, 0},
    {Op::IMDITHER, "IMDITHER", Process, nullptr, 0},
    {Op::IMSAVEDLG, "IMSAVEDLG", NoArguments<DialogArgs>, nullptr, 0},
    {Op::IMPRINTDLG, "IMPRINTDLG", PrintDialog, nullptr, 0},
    {Op::IMPSETDLG, "IMPSETDLG", NoArguments<DialogArgs>, nullptr, 0},
    {Op::IMCLOSE, "IMCLOSE", NoArguments<DestroyArgs>, nullptr, kTraitDestroysWindow},
    {Op::IMABOUTDLG, "IMABOUTDLG", AboutDialog, nullptr, 0},
    {Op::IMIMAGEPAGE, "IMIMAGEPAGE", ShowFile, nullptr, 0},
    {Op::IMIMAGEPAGEDATA, "IMIMAGEPAGEDATA", PrintData, nullptr, 0},
    {Op::IMENDPAGE, "IMENDPAGE", NoArguments<PageArgs>, nullptr, 0},
    {Op::IMSTARTPAG, "IMSTARTPAG", StartPage, nullptr, 0},
    {Op::IMCONVERT, "IMCONVERT", Convert, nullptr, 0},
    {Op::IMCONVERTDATA, "IMCONVERTDATA", ConvertData, nullptr, 0},
    {Op::IMCVT, "IMCVT", SaveTo, nullptr, 0},
    {Op::SAVEDLGPRESET, "SAVEDLGPRESET", nullptr, SaveDialogPreset, 0},
    {Op::IMBITMAP, "IMBITMAP", Bitmap, nullptr, 0},
    {Op::IMBITMAPDATA, "IMBITMAPDATA", BitmapData, nullptr, 0},
    {Op::IMXFERHW, "IMXFERHW", Transfer, nullptr, 0},
    {Op::IMSAVE, "IMSAVE", SaveWindow, nullptr, 0},
    {Op::ACTIVATEWIN, "ACTIVATEWIN", Activate, nullptr, 0},
    {Op::IMCAPTURE, "IMCAPTURE", Capture, nullptr, 0},
    {Op::IMCREATES, "IMCREATES", nullptr, CreateFilling, 0},
    {Op::MEDIAWINDOW, "MEDIAWINDOW", nullptr, CreateMedia, 0},
    {Op::MEDIAOPEN, "MEDIAOPEN", MediaOpen, nullptr, 0},
    {Op::MEDIACOMMAND, "MEDIACOMMAND", MediaText, nullptr, 0},
    {Op::MEDIAWINDOWFILL, "MEDIAWINDOWFILL", nullptr, CreateMediaFilling, 0},
    {Op::IMSENDFLAG, "IMSENDFLAG", DisplayFlags, nullptr, 0},
    {Op::CHILDCLASSWINDOW, "CHILDCLASSWINDOW", nullptr, CreateWithParent, 0},
    {Op::MEDIAPLAY, "MEDIAPLAY", MediaWindow, nullptr, 0},
    {Op::MEDIAPLAYBACK, "MEDIAPLAYBACK", MediaWindow, nullptr, 0},
    {Op::MEDIASTYLES, "MEDIASTYLES", MediaStyles, nullptr, 0},
    {Op::IMADDIN1, "IMADDIN1", AddIn, nullptr, 0},
    {Op::POPUPMENU, "POPUPMENU", Popup, nullptr, 0},
    {Op::IMPASTEFIL, "IMPASTEFIL", SaveTo, nullptr, 0},
    {Op::WINDOWBACKGROUND, "WINDOWBACKGROUND", Background, nullptr, 0},
    {Op::IMROTATE, "IMROTATE", Rotate, nullptr, 0},
    {Op::SAVEDLGWIN, "SAVEDLGWIN", WindowDialog, SaveDialogWindow, 0},
    {Op::ABOUTDLGWIN, "ABOUTDLGWIN", WindowAboutDialog, nullptr, 0},
    {Op::PRINTWIN, "PRINTWIN", WindowPrint, nullptr, 0},
    {Op::PRINTSETUPWIN, "PRINTSETUPWIN", WindowDialog, nullptr, 0},
    {Op::IMOPENDLG, "IMOPENDLG", ShowFileInWindow, nullptr, 0},
    {Op::COPYWIN, "COPYWIN", Copy, nullptr, 0},
    {Op::PASTEWIN, "PASTEWIN", Paste, nullptr, 0},
    {Op::IMDELETEOS, "IMDELETEOS", OnlyTrailingHandle<DiscardArgs>, nullptr, 0},
    {Op::IMSETHW, "IMSETHW", SetAttribute, nullptr, 0},
    {Op::IMGETHW, "IMGETHW", nullptr, SetAttribute, 0},
    {Op::MOVETO, "MOVETO", Pairs<1>, nullptr, 0},
    {Op::LINETO, "LINETO", Pairs<1>, nullptr, kDraw},
    {Op::FREEHAND, "FREEHAND", Freehand, nullptr, 0},
    {Op::IMSAVEOFF, "IMSAVEOFF", SaveTo, nullptr, 0},
    {Op::SAVEMETAFILE, "SAVEMETAFILE", SaveMetafile, nullptr, 0},
    {Op::LOADMETAFILE, "LOADMETAFILE", LoadMetafile, nullptr, 0},
    {Op::IMSHOWDATAHW, "IMSHOWDATAHW", ShowDataInWindow, nullptr, 0},
    {Op::IMCLEARGX, "IMCLEARGX", OnlyTrailingHandle<DiscardArgs>, nullptr, 0},
    {Op::IMNEWPAGE, "IMNEWPAGE", NoArguments<PageArgs>, nullptr, 0},
    {Op::MEDIANEWWAVE, "MEDIANEWWAVE", MediaWindow, nullptr, 0},
    {Op::MEDIASAVE, "MEDIASAVE", MediaText, nullptr, 0},
};

std::optional<Command> Parse(const OpcodeInfo* info, ArgumentParser parser, CommandCursor& c) {
  if (!info || !parser) return std::nullopt;
  Command cmd;
  cmd.op = info->op;
  if (!parser(c, cmd)) return std::nullopt;
  return cmd;
}

}  // namespace

std::span<const OpcodeInfo> OpcodeTable() { return kTable; }

const OpcodeInfo* FindOpcode(int32_t op) {
  auto it = std::lower_bound(std::begin(kTable), std::end(kTable), op,
                             [](const OpcodeInfo& e, int32_t v) { return int32_t(e.op) < v; });
  return it != std::end(kTable) && int32_t(it->op) == op ? it : nullptr;
}

bool OpcodeHasTrait(int32_t op, uint32_t trait) {
  const OpcodeInfo* info = FindOpcode(op);
  return info && (info->traits & trait) != 0;
}

std::optional<Command> ParsePoke(std::string_view text) {
  CommandCursor c(text);
  auto op = c.Number();
  if (!op || *op < kLowestCommand || *op > kHighestCommand) return std::nullopt;
  const OpcodeInfo* info = FindOpcode(*op);
  return Parse(info, info ? info->poke : nullptr, c);
}

std::optional<Command> ParseRequest(std::string_view item) {
  CommandCursor c(item);
  auto op = c.ScanNumber();
  if (!op || *op >= kFirstUnservedRequest) return std::nullopt;
  const OpcodeInfo* info = FindOpcode(*op);
  return Parse(info, info ? info->request : nullptr, c);
}

}  // namespace tavik
