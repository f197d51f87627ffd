// The library's string table (English), by the ids its boxes use.
#pragma once

namespace tavik::hostlib {

enum MessageId : int {
  kMsgNoMainWindow = 1, kMsgCannotStart = 2, kMsgNoClient = 4, kMsgTwain = 5,
  kMsgCaption = 6, kMsgNoMemory = 7, kMsgIncompatible = 8, kMsgNotAvailable = 9,
};
// The text, or "" for an id the table does not hold.
const char* LibraryMessage(int id);
// Caption of the connection boxes owned by the host main window.
inline constexpr const char* kConnectCaption = "Tavik Images for FoxPro";

}  // namespace tavik::hostlib
