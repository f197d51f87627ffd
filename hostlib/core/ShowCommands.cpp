// Showing images, pages, texts and the drawing objects.
#include "HostFunctions.h"
#include "Results.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace tavik::hostlib {
namespace {

constexpr uint32_t kShowColor = 0x1, kShowBlackWhite = 0x2, kShowGray = 0x4;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The placement values and sub-image of a show command, by the total parameter count. False
// when a value that counts is not numeric.
bool Placement(const Parameters& params, std::array<int32_t, 9>& values) {
  values = {0, 0, -1, -1, -1, -1, -1, -1, 0};
  const int count = params.Count();
  int fixed = 0;  // how many of the eight values the call gives
  int subIndex = -1;
  switch (count) {
    case 2: return params.Integer(1, &values[8]);
    case 3: case 4: fixed = 2; subIndex = 3; break;
    case 5: case 6: fixed = 4; subIndex = 5; break;
    case 9: case 10: fixed = 8; subIndex = 9; break;
    default: return true;
  }
  for (int i = 0; i < fixed; ++i) {
    if (!params.Integer(1 + i, &values[i])) return false;
  }
  if (subIndex < count && !params.Integer(subIndex, &values[8])) values[8] = 0;
  return true;
}

void ShowCommand(int32_t op, const Parameters& params) {
  std::string name;
  std::array<int32_t, 9> values;
  if (!params.String(0, &name) || !Placement(params, values)) return;
  // Memo and variable mode send the bytes themselves: that path joins with data transfer.
  if (State().memoWorkArea != -1 || State().variableMode != 0) return;
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(op);
  buffer.AppendString(" [");
  buffer.AppendString(name);
  buffer.AppendString("]");
  buffer.AppendArg(static_cast<int32_t>(State().showFlags));
  for (int32_t v : values) buffer.AppendArg(v);
  PokeCommand();
}

void ShowWithFlags(KitParamBlock* p, uint32_t set) {
  State().showFlags = (State().showFlags & ~(kShowColor | kShowBlackWhite | kShowGray)) | set;
  ShowCommand(35, Parameters(p));
}

// "op", or "op n" and a blank; with a parameter it must be numeric.
void OptionalCountWithBlank(int32_t op, const Parameters& params) {
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(op);
  if (params.Count() >= 1) {
    int32_t n;
    if (!params.Integer(0, &n)) return;
    buffer.AppendArg(n);
    buffer.AppendString(" ");
  }
  PokeCommand();
}

void TextCommand(int32_t op, const Parameters& params) {
  std::string text;
  if (!params.String(0, &text)) return;
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(op);
  buffer.AppendString(" [");
  buffer.AppendString(text);
  // 0xFF closes the text so that it may hold "]".
  buffer.AppendChar(static_cast<char>(0xFF));
  params.AppendRest(1, buffer);
  PokeCommand();
}

void DrawBracket(int32_t op, KitParamBlock* p) {
  const Parameters params(p);
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(op);
  if (params.Count() >= 1) {
    int32_t n;
    if (!params.Integer(0, &n)) {
      ReturnLogical(false);
      return;
    }
    buffer.AppendArg(n);
  }
  PokeCommand();
  ReturnLogical(true);
}

}  // namespace

void KIT_CALL IMSHOW(KitParamBlock* p) { ShowWithFlags(p, kShowColor); }
void KIT_CALL IMSHOWBW(KitParamBlock* p) { ShowWithFlags(p, kShowBlackWhite); }
void KIT_CALL IMSHOWG(KitParamBlock* p) { ShowWithFlags(p, kShowGray); }

void KIT_CALL IMIMAGE(KitParamBlock* p) {
  const int32_t current = CurrentWindow();
  if (current == 0) return;
  ShowCommand(current == kPageWindow ? 50 : 35, Parameters(p));
}

void KIT_CALL IMBITMAP(KitParamBlock* p) {
  const Parameters params(p);
  std::string name;
  int32_t a = 0, b = 0;
  if (!params.String(0, &name)) return;
  if (params.Count() == 3 && (!params.Integer(1, &a) || !params.Integer(2, &b))) return;
  if (State().memoWorkArea != -1) return;  // the memo path joins with data transfer
  const int32_t current = CurrentWindow();
  if (current == 0) return;
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(current == kPageWindow ? 62 : 60);
  buffer.AppendString(" ");
  buffer.AppendString(name);
  buffer.AppendArg(a);
  buffer.AppendArg(b);
  PokeCommand();
}

void KIT_CALL IMSTARTPAG(KitParamBlock* p) {
  const Parameters params(p);
  int32_t orientation = 0;
  if (params.Count() >= 1) {
    std::string keyword;
    if (!params.String(0, &keyword)) return;
    keyword = Upper(keyword);
    orientation = keyword == "PORTRAIT" ? 1 : keyword == "LANDSCAPE" ? 2 : 0;
  }
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(53);
  buffer.AppendArg(orientation);
  PokeCommand();
}

void KIT_CALL IMENDPAGE(KitParamBlock*) {
  State().command.Reset();
  State().command.AppendInt(52);
  PokeCommand();
}

void KIT_CALL IMNEWPAGE(KitParamBlock*) {
  State().command.Reset();
  State().command.AppendInt(104);
  PokeCommand();
}

void KIT_CALL IMTEXT(KitParamBlock* p) { TextCommand(22, Parameters(p)); }
void KIT_CALL IMVTEXT(KitParamBlock* p) { TextCommand(23, Parameters(p)); }

void KIT_CALL IMDELETE(KitParamBlock* p) {
  const Parameters params(p);
  std::string name;
  params.String(0, &name);  // no name, or not a string: the empty name
  int32_t n = 0;
  if (params.Count() >= 2 && !params.Integer(1, &n)) return;
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(37);
  buffer.AppendString(" [");
  buffer.AppendString(Upper(name));
  buffer.AppendString("]");
  if (params.Count() >= 2) buffer.AppendArg(n);
  PokeCommand();
}

void KIT_CALL IMDELETEGX(KitParamBlock* p) { OptionalCountWithBlank(38, Parameters(p)); }
void KIT_CALL IMDELETEOS(KitParamBlock* p) { OptionalCountWithBlank(93, Parameters(p)); }
void KIT_CALL IMCLEARGX(KitParamBlock* p) { OptionalCountWithBlank(103, Parameters(p)); }

void KIT_CALL IMCLEAR(KitParamBlock* p) {
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(5);
  Parameters(p).AppendRest(0, buffer);
  PokeCommand();
}

void KIT_CALL IMSDRAW(KitParamBlock* p) { DrawBracket(29, p); }
void KIT_CALL IMEDRAW(KitParamBlock* p) { DrawBracket(30, p); }

}  // namespace tavik::hostlib
