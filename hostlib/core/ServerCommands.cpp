// Dialogs of the server, raw commands and requests, conversions and saving.
#include "HostFunctions.h"
#include "LibraryMessages.h"
#include "Results.h"

#include <string>

namespace tavik::hostlib {
namespace {

constexpr uint32_t kRequestTimeout = 180000;

void Start(int32_t op) {
  State().command.Reset();
  State().command.AppendInt(op);
}

void AppendBracketed(const std::string& text) {
  State().command.AppendString("[");
  State().command.AppendString(text);
  State().command.AppendString("]");
}

void PokeTrue(int32_t op) {
  Start(op);
  PokeCommand();
  ReturnLogical(true);
}

void TwainMoved() {
  Link().ShowMessageBox(LibraryMessage(kMsgTwain), LibraryMessage(kMsgCaption));
}

// The conversion tail: "format height width option dither palette ctop cleft cbottom cright".
// `first` is the index of the height; `given` says how many of the eight after the format the
// call supplies. False when a supplied one has the wrong type.
bool AppendConversionTail(const Parameters& params, const std::string& format, int first,
                          int given) {
  int32_t number[3] = {-1, -1, -1};
  std::string dither = "NEAREST", palette = "BESTPAL";
  int32_t crop[4] = {-1, -1, -1, -1};
  for (int i = 0; i < given && i < 3; ++i) {
    if (!params.Integer(first + i, &number[i])) return false;
  }
  if (given >= 4 && !params.String(first + 3, &dither)) return false;
  if (given >= 5 && !params.String(first + 4, &palette)) return false;
  for (int i = 0; i + 5 < given && i < 4; ++i) {
    if (!params.Integer(first + 5 + i, &crop[i])) return false;
  }
  CommandBuffer& buffer = State().command;
  buffer.AppendString(" ");
  buffer.AppendString(format);
  for (int32_t v : number) buffer.AppendArg(v);
  buffer.AppendString(" ");
  buffer.AppendString(dither);
  buffer.AppendString(" ");
  buffer.AppendString(palette);
  for (int32_t v : crop) buffer.AppendArg(v);
  return true;
}

// IMCVT, IMPASTEFIL and IMSAVEOFF: "op [file] format ..." by the total count.
void CvtCommand(int32_t op, KitParamBlock* p) {
  const Parameters params(p);
  int given;
  switch (params.Count()) {
    case 1: case 2: given = 0; break;
    case 4: given = 2; break;
    case 5: given = 3; break;
    case 6: given = 4; break;
    case 7: given = 5; break;
    case 11: given = 9; break;
    default: return;
  }
  std::string file, format;
  if (!params.String(0, &file)) return;
  if (!params.String(1, &format)) format = "BMP";
  Start(op);
  State().command.AppendString(" ");
  AppendBracketed(file);
  if (!AppendConversionTail(params, format, 2, given)) return;
  State().command.ForceLastNul();
  PokeCommand();
}

// The IMCONVERT and IMSAVE tail after the first two items: format, numbers, sub, msize.
void ConvertTail(const Parameters& params) {
  int given;
  switch (params.Count()) {
    case 3: given = 0; break;
    case 5: given = 2; break;
    case 6: given = 3; break;
    case 7: given = 4; break;
    case 8: given = 5; break;
    case 12: case 13: case 14: given = 9; break;
    default: return;
  }
  std::string format;
  if (!params.String(2, &format)) return;
  int32_t sub = 0, msize = -1;
  if (params.Count() >= 13 && !params.Integer(12, &sub)) return;
  if (params.Count() >= 14 && !params.Integer(13, &msize)) return;
  if (!AppendConversionTail(params, format, 3, given)) return;
  State().command.AppendArg(sub);
  State().command.AppendArg(msize);
  State().command.ForceLastNul();
  PokeCommand();
}

}  // namespace

void KIT_CALL IMSAVEDLG(KitParamBlock*) { PokeTrue(45); }
void KIT_CALL IMPSETDLG(KitParamBlock*) { PokeTrue(47); }

void KIT_CALL IMPRINTDLG(KitParamBlock* p) {
  std::string name;
  Parameters(p).String(0, &name);
  Start(46);
  State().command.AppendString(" ");
  AppendBracketed(name);
  PokeCommand();
  ReturnLogical(true);
}

void KIT_CALL IMABOUTDLG(KitParamBlock* p) {
  const Parameters params(p);
  int32_t a = 0, b = 0;
  if (params.Count() == 1 ||
      (params.Count() == 2 && (!params.Integer(0, &a) || !params.Integer(1, &b)))) {
    ReturnLogical(false);
    return;
  }
  Start(49);
  State().command.AppendArg(a);
  State().command.AppendArg(b);
  PokeCommand();
  ReturnLogical(true);
}

void KIT_CALL IMADDIN1(KitParamBlock* p) {
  const Parameters params(p);
  int32_t n;
  std::string name;
  if (params.Count() != 2 || !params.Integer(0, &n) || !params.String(1, &name)) {
    ReturnLogical(false);
    return;
  }
  Start(81);
  State().command.AppendArg(n);
  State().command.AppendString(" ");
  AppendBracketed(name);
  PokeCommand();
  ReturnLogical(true);
}

void KIT_CALL IMCMD(KitParamBlock* p) {
  std::string text;
  if (!Parameters(p).String(0, &text)) {
    ReturnLogical(false);
    return;
  }
  State().command.Reset();
  State().command.AppendString(text);
  // A refused or lost poke is a failure the program should see.
  ReturnLogical(PokeCommand());
}

void KIT_CALL IMREQUEST(KitParamBlock* p) {
  std::string text;
  if (!Parameters(p).String(0, &text)) {
    ReturnLogical(false);
    return;
  }
  State().command.Reset();
  State().command.AppendString(text);
  // No answer is an empty answer, not the question handed back as if the server had said it.
  if (!RequestCommand(kRequestTimeout)) {
    ReturnString("");
    return;
  }
  ReturnString(State().command.Text());
}

void KIT_CALL IMTWSRC(KitParamBlock*) {
  TwainMoved();
  ReturnLogical(false);
}

void KIT_CALL IMTWACQ(KitParamBlock*) {
  TwainMoved();
  ReturnLogical(false);
}

void KIT_CALL IMTWDONE(KitParamBlock*) { TwainMoved(); }

void KIT_CALL IMCVT(KitParamBlock* p) { CvtCommand(56, p); }
void KIT_CALL IMPASTEFIL(KitParamBlock* p) { CvtCommand(83, p); }
void KIT_CALL IMSAVEOFF(KitParamBlock* p) { CvtCommand(99, p); }

void KIT_CALL IMCONVERT(KitParamBlock* p) {
  const Parameters params(p);
  std::string source, target;
  if (!params.String(0, &source) || !params.String(1, &target)) return;
  if (State().memoWorkArea != -1) return;  // the memo path joins with data transfer
  Start(54);
  State().command.AppendString(" ");
  AppendBracketed(source);
  AppendBracketed(target);
  ConvertTail(params);
}

void KIT_CALL IMSAVE(KitParamBlock* p) {
  const Parameters params(p);
  int32_t window;
  std::string target;
  if (!params.Integer(0, &window) || !params.String(1, &target)) return;
  Start(65);
  State().command.AppendArg(window);
  State().command.AppendString(" ");
  AppendBracketed(target);
  ConvertTail(params);
}

}  // namespace tavik::hostlib
