// Window functions, zoom, smoothing and dithering modes, rotation.
#include "HostFunctions.h"
#include "Results.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

namespace tavik::hostlib {
namespace {

constexpr uint32_t kWmActivate = 0x0006, kWmHScroll = 0x0114, kWmVScroll = 0x0115;
constexpr uintptr_t kWaClickActive = 2;

void Start(int32_t op) {
  State().command.Reset();
  State().command.AppendInt(op);
}

// "39 hwnd shown rest": hide and show share the opcode.
void ShowWindowCommand(KitParamBlock* p, int32_t shown) {
  const Parameters params(p);
  int32_t window;
  if (!params.Integer(0, &window)) {
    ReturnLogical(false);
    return;
  }
  Start(39);
  State().command.AppendArg(window);
  State().command.AppendArg(shown);
  params.AppendRest(1, State().command);
  PokeCommand();
  ReturnLogical(true);
}

void DestroyWindowCommand(int32_t op, int32_t window) {
  // Window records and their advises join with the event functions; the poke is the same.
  Start(op);
  if (op == 25) State().command.AppendArg(window);
  PokeCommand();
}

// The server's real numbers: integer part, a point, hundredths truncated.
void AppendReal(CommandBuffer& buffer, double value) {
  const double magnitude = std::fabs(value);
  // 1.05 is 1.04999... in binary: a millionth keeps such values on their written hundredths.
  const double scaled = std::floor(magnitude * 100.0 + 1e-6);
  const double whole = std::floor(scaled / 100.0);
  if (whole > 2147483647.0) return;
  const int hundredths = static_cast<int>(scaled - whole * 100.0);
  char text[32];
  std::snprintf(text, sizeof text, "%s%ld.%02d", value < 0 && scaled > 0 ? "-" : "",
                static_cast<long>(whole), hundredths);
  buffer.AppendString(text);
}

// IMAALIAS and IMDITHER: no parameter 0, "OFF" 0, "WINDOW" 1, "SELECTION" with four values 2.
void ModeCommand(int32_t op, KitParamBlock* p) {
  const Parameters params(p);
  Start(op);
  CommandBuffer& buffer = State().command;
  std::string mode;
  if (params.Count() == 0) {
    buffer.AppendArg(0);
  } else if (!params.String(0, &mode)) {
    ReturnLogical(false);
    return;
  } else {
    std::transform(mode.begin(), mode.end(), mode.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (params.Count() == 1 && mode == "OFF") {
      buffer.AppendArg(0);
    } else if (params.Count() == 1 && mode == "WINDOW") {
      buffer.AppendArg(1);
    } else if (params.Count() == 5 && mode == "SELECTION") {
      buffer.AppendArg(2);
      for (int i = 1; i < 5; ++i) {
        int32_t v;
        if (!params.Integer(i, &v)) {
          ReturnLogical(false);
          return;
        }
        buffer.AppendArg(v);
      }
    } else {
      ReturnLogical(false);
      return;
    }
  }
  PokeCommand();
  ReturnLogical(true);
}

}  // namespace

void KIT_CALL IMHIDEWIN(KitParamBlock* p) { ShowWindowCommand(p, 0); }
void KIT_CALL IMSHOWWIN(KitParamBlock* p) { ShowWindowCommand(p, 1); }

void KIT_CALL IMDESTROY(KitParamBlock* p) {
  int32_t window;
  if (!Parameters(p).Integer(0, &window)) {
    ReturnLogical(false);
    return;
  }
  DestroyWindowCommand(25, window);
  ReturnLogical(true);
}

void KIT_CALL IMCLOSE(KitParamBlock*) {
  const int32_t current = CurrentWindow();
  if (current == 0) {
    ReturnLogical(false);
    return;
  }
  DestroyWindowCommand(48, current);
  ReturnLogical(true);
}

void KIT_CALL IMKILLALL(KitParamBlock*) {
  // Only windows with a record (made by the event functions) are destroyed; none exist yet.
}

void KIT_CALL IMACTIVATE(KitParamBlock* p) {
  int32_t window;
  if (!Parameters(p).Integer(0, &window)) {
    ReturnLogical(false);
    return;
  }
  Link().SendWindowMessage(window, kWmActivate, kWaClickActive, 0);
  ReturnLogical(true);
}

void KIT_CALL IMMOVE(KitParamBlock* p) {
  const Parameters params(p);
  int32_t v[5];
  for (int i = 0; i < 5; ++i) {
    if (!params.Integer(i, &v[i])) return;
  }
  Link().MoveAndRepaint(v[0], v[1], v[2], v[3], v[4]);
}

void KIT_CALL IMSCROLL(KitParamBlock* p) {
  int32_t code;
  if (!Parameters(p).Integer(0, &code) || code < 0 || code > 7) {
    ReturnLogical(false);
    return;
  }
  const int32_t current = CurrentWindow();
  if (current == 0) {
    ReturnLogical(false);
    return;
  }
  if (code < 4)
    Link().SendWindowMessage(current, kWmVScroll, static_cast<uintptr_t>(code), 0);
  else
    Link().SendWindowMessage(current, kWmHScroll, static_cast<uintptr_t>(code - 4), 0);
  ReturnLogical(true);
}

void KIT_CALL IMSENDMSG(KitParamBlock* p) {
  const Parameters params(p);
  int32_t window, message, wParam;
  if (!params.Integer(0, &window) || !params.Integer(1, &message) ||
      !params.Integer(2, &wParam)) {
    ReturnLogical(false);
    return;
  }
  int32_t number;
  std::string text;
  if (params.Integer(3, &number)) {
    Link().SendWindowMessage(window, static_cast<uint32_t>(message),
                             static_cast<uintptr_t>(static_cast<uint32_t>(wParam)), number);
  } else if (params.String(3, &text)) {
    Link().SendWindowMessage(window, static_cast<uint32_t>(message),
                             static_cast<uintptr_t>(static_cast<uint32_t>(wParam)),
                             reinterpret_cast<intptr_t>(text.c_str()));
  } else {
    Link().SendWindowMessage(window, static_cast<uint32_t>(message),
                             static_cast<uintptr_t>(static_cast<uint32_t>(wParam)), 0);
    ReturnLogical(false);
  }
}

void KIT_CALL IMRTMENU(KitParamBlock* p) {
  const Parameters params(p);
  int32_t window;
  if (params.Count() != 1 || !params.Integer(0, &window)) {
    ReturnLogical(false);
    return;
  }
  Link().RightMenu(window, (State().platformFlags & kWin32s) != 0);
  ReturnLogical(true);
}

void KIT_CALL IMZOOM(KitParamBlock* p) {
  const Parameters params(p);
  double x = 0, y = 0;
  if ((params.Count() >= 1 && !params.Real(0, &x)) ||
      (params.Count() >= 2 && !params.Real(1, &y))) {
    ReturnLogical(false);
    return;
  }
  Start(41);
  CommandBuffer& buffer = State().command;
  if (params.Count() == 0) {
    buffer.AppendArg(2);
  } else {
    if (params.Count() == 1) y = x;
    buffer.AppendString(" ");
    AppendReal(buffer, x);
    buffer.AppendString(" ");
    AppendReal(buffer, y);
    buffer.AppendString(" ");
  }
  PokeCommand();
  ReturnLogical(true);
}

void KIT_CALL IMUNZOOM(KitParamBlock* p) {
  const Parameters params(p);
  int32_t n = 0;
  if (params.Count() >= 1 && !params.Integer(0, &n)) {
    ReturnLogical(false);
    return;
  }
  Start(42);
  State().command.AppendArg(n);
  PokeCommand();
  ReturnLogical(true);
}

void KIT_CALL IMAALIAS(KitParamBlock* p) { ModeCommand(43, p); }
void KIT_CALL IMDITHER(KitParamBlock* p) { ModeCommand(44, p); }

void KIT_CALL IMROTATE(KitParamBlock* p) {
  static const char* const kOrders[] = {"ABCD", "DCBA", "BCDA", "ADCB",
                                        "BADC", "CDAB", "CBAD", "DABC"};
  const Parameters params(p);
  int32_t window;
  std::string order;
  if (!params.Integer(0, &window) || !params.String(1, &order)) {
    ReturnLogical(false);
    return;
  }
  for (int32_t index = 0; index < 8; ++index) {
    if (order != kOrders[index]) continue;
    Start(85);
    State().command.AppendArg(window);
    State().command.AppendArg(index);
    PokeCommand();
    ReturnLogical(true);
    return;
  }
  ReturnLogical(false);
}

void KIT_CALL IMSENDFLAG(KitParamBlock* p) {
  int32_t n;
  if (!Parameters(p).Integer(0, &n) || n == 0) return;
  Start(76);
  State().command.AppendArg(n);
  State().command.AppendArg(static_cast<int32_t>(State().showFlags));
  PokeCommand();
}

void KIT_CALL IMXFERHW(KitParamBlock* p) {
  const Parameters params(p);
  int32_t a, b;
  if (!params.Integer(0, &a) || !params.Integer(1, &b)) {
    ReturnLogical(false);
    return;
  }
  Start(64);
  State().command.AppendArg(a);
  State().command.AppendArg(b);
  PokeCommand();
  ReturnLogical(true);
}

}  // namespace tavik::hostlib
