#pragma once
// The stored properties of one control and the table that says how each is persisted: its bag
// key, its read default (a value equal to it is not written) and its initial value.

#include <array>
#include <cstdint>
#include <string>

namespace lexivane::control {

struct ControlSettings {
  bool ignoreAllCaps = true;
  bool ignoreWithNumbers = true;
  bool ignoreInternetAddrs = true;
  bool autoHandleErrors = true;
  bool suggestCorrections = true;
  bool checkOnFocusLoss = false;
  bool allowCancel = true;
  bool allowAddToCustom = true;
  bool passiveChecking = true;
  bool ignoreCase = false;
  bool readOnly = false;
  bool showToolBar = true;
  bool showRuler = true;
  bool showStatusBar = true;
  bool showFontBar = true;
  bool showFileToolButtons = true;
  bool autoHandleURLs = true;
  bool hideSelection = false;
  bool flatToolbars = true;
  bool allowTabChar = true;
  bool allowReturnChar = true;
  bool enabled = true;
  int32_t doneAction = 0;
  uint32_t passiveCheckColor = 0x0000FF;
  int32_t statusBarDisplayItems = 7;
  int32_t borderStyle = 1;
  int32_t dragDropBehavior = 1;
  uint32_t backColor = 0x80000005;
  int32_t maxLength = 0;
  int32_t mousePointer = 0;
  std::wstring statusBarCaption = L"Ready";
  std::wstring designText;  // `Text` as given while designing; the persisted one
  std::wstring fileName;
};

template <class T>
struct PersistedField {
  const wchar_t* key;
  T ControlSettings::*field;
  T readDefault;
};

// `CheckOnFocusLoss` and `HideSelection` read back true when missing although they start false;
// `PassiveCheckColor` reads back dark red although it starts red.
inline constexpr std::array<PersistedField<bool>, 22> kPersistedBools{{
    {L"IgnoreAllCaps", &ControlSettings::ignoreAllCaps, true},
    {L"IgnoreWithNumbers", &ControlSettings::ignoreWithNumbers, true},
    {L"IgnoreInternetAddrs", &ControlSettings::ignoreInternetAddrs, true},
    {L"HandleSpellingErrors", &ControlSettings::autoHandleErrors, true},
    {L"SuggestCorrections", &ControlSettings::suggestCorrections, true},
    {L"CheckOnFocusLoss", &ControlSettings::checkOnFocusLoss, true},
    {L"AllowCancel", &ControlSettings::allowCancel, true},
    {L"AllowAddToCustom", &ControlSettings::allowAddToCustom, true},
    {L"PassiveChecking", &ControlSettings::passiveChecking, true},
    {L"IgnoreCase", &ControlSettings::ignoreCase, false},
    {L"ReadOnly", &ControlSettings::readOnly, false},
    {L"ShowToolbar", &ControlSettings::showToolBar, true},
    {L"ShowRuler", &ControlSettings::showRuler, true},
    {L"ShowStatusBar", &ControlSettings::showStatusBar, true},
    {L"ShowFontBar", &ControlSettings::showFontBar, true},
    {L"ShowFileToolbuttons", &ControlSettings::showFileToolButtons, true},
    {L"AutoHandleURLs", &ControlSettings::autoHandleURLs, true},
    {L"HideSelection", &ControlSettings::hideSelection, true},
    {L"FlatToolbars", &ControlSettings::flatToolbars, true},
    {L"AllowTab", &ControlSettings::allowTabChar, true},
    {L"AllowReturn", &ControlSettings::allowReturnChar, true},
    {L"Enabled", &ControlSettings::enabled, true},
}};

inline constexpr std::array<PersistedField<int32_t>, 6> kPersistedLongs{{
    {L"DoneAction", &ControlSettings::doneAction, 0},
    {L"StatusDisplayItems", &ControlSettings::statusBarDisplayItems, 7},
    {L"BorderStyle", &ControlSettings::borderStyle, 1},
    {L"DragDropBehavior", &ControlSettings::dragDropBehavior, 1},
    {L"MaxLength", &ControlSettings::maxLength, 0},
    {L"MousePointer", &ControlSettings::mousePointer, 0},
}};

inline constexpr std::array<PersistedField<uint32_t>, 2> kPersistedColors{{
    {L"SquiggleColor", &ControlSettings::passiveCheckColor, 0x000080},
    {L"BackColor", &ControlSettings::backColor, 0x80000005},
}};

struct PersistedString {
  const wchar_t* key;
  std::wstring ControlSettings::*field;
  const wchar_t* readDefault;
};
inline const std::array<PersistedString, 2> kPersistedStrings{{
    {L"StatusCaption", &ControlSettings::statusBarCaption, L"Ready"},
    {L"FileName", &ControlSettings::fileName, L""},
}};

// The status bar's items as the layout placed them, in pixels of the control's client area.
struct StatusItem {
  bool visible = false;
  int x = 0, y = 0, width = 0, height = 0;
  std::wstring text;
};
struct StatusBarItems {
  int top = 0, height = 0, left = 0, width = 0;
  StatusItem caption, time, date, ovr, num, caps;
  bool timerRunning = false;
};

}  // namespace lexivane::control
