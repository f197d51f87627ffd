// F1 in dialogs and menus: a message-filter hook that asks the server window for help.
#pragma once

namespace tavik {

void InstallHelpHook();
void RemoveHelpHook();

}  // namespace tavik
