#include "Dialogs.h"

#include "ServerResources.h"
#include "ServerState.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const bool grab = (Server().platformFlags & kPlatformGrabPalette) != 0;
      CheckRadioButton(dialog, IDC_SHARE_PALETTE, IDC_GRAB_PALETTE,
                       grab ? IDC_GRAB_PALETTE : IDC_SHARE_PALETTE);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_SETTINGS_OK:
        case IDOK:
          if (IsDlgButtonChecked(dialog, IDC_GRAB_PALETTE) == BST_CHECKED)
            Server().platformFlags |= kPlatformGrabPalette;
          else
            Server().platformFlags &= ~kPlatformGrabPalette;
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDC_SETTINGS_CANCEL:
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunSettingsDialog(HWND owner) {
  SetSlot(owner, kSlotHelpContext, kHelpSettings);
  DialogBoxParamA(Server().instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsProc, 0);
  SetSlot(owner, kSlotHelpContext, 0);
}

void RunAboutDialog(HWND owner) {
  DialogBoxParamA(Server().instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc, 0);
}

}  // namespace tavik
