// The demonstration client: talks to a running server over DDE the way a database
// application does, narrates each step, and photographs the screen.
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <string>

#include "DdeTestClient.h"
#include "DialogProbe.h"
#include "ParentWindow.h"
#include "ServerProcess.h"

namespace {

using tavik::test::DdeTestClient;

void Say(const char* format, const std::string& a = {}, const std::string& b = {}) {
  // Up to two %s arguments.
  std::printf(format, a.c_str(), b.c_str());
  std::printf("\n");
  std::fflush(stdout);
}

const char* YesNo(bool yes) { return yes ? "accepted" : "refused"; }

// Writes a BMP file: the file header, then the information header and the rows.
bool WriteBmp(const char* path, const BITMAPINFOHEADER& info, const std::string& pixels) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

// Saves the whole screen as a 24-bit BMP.
bool SaveScreen(const char* path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  info.biSizeImage = stride * static_cast<DWORD>(height);
  std::string pixels(info.biSizeImage, '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  return WriteBmp(path, info, pixels);
}

// A colour test card as a 24-bit BMP: hue across, brightness down, a black frame.
bool WriteTestCard(const char* path, int width, int height) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  info.biSizeImage = stride * static_cast<DWORD>(height);
  std::string pixels(info.biSizeImage, '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int top = height - 1 - y;  // rows are stored bottom first
      const bool frame = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
      const int shade = 255 - top * 200 / height;
      char* p = &pixels[y * stride + 3 * x];
      p[0] = static_cast<char>(frame ? 0 : (x * 255 / width) * shade / 255);
      p[1] = static_cast<char>(frame ? 0 : ((width - x) * 255 / width) * shade / 255);
      p[2] = static_cast<char>(frame ? 0 : (top < height / 2 ? shade : 40));
    }
  }
  return WriteBmp(path, info, pixels);
}

// Shows a BMP in a top-level image window, zooms it, rotates it, and photographs each step.
void ShowImages(DdeTestClient& client) {
  char path[MAX_PATH];
  GetFullPathNameA("testcard.bmp", MAX_PATH, path, nullptr);
  Say("Writing a 320 x 240 test card to %s: %s", path, WriteTestCard(path, 320, 240) ? "done" : "failed");
  client.Connect("IMAGE");
  const auto created = client.Request("27 [Test card] 60 60 420 560", false);
  if (!created) {
    Say("No image window.");
    return;
  }
  const std::string window = *created;
  Say("Image window %s; show the card 1:1 (35): %s", window,
      YesNo(client.Poke("CMD", std::string("35 [") + path + "] 0 0 0 -1 -1 -1 -1 -1 -1")));
  tavik::test::PumpFor(500);
  Say("Screenshot: %s", SaveScreen("image-shown.bmp") ? std::string("image-shown.bmp") : std::string("failed"));
  Say("Zoom by 1.5 (41 1.5): %s", YesNo(client.Poke("CMD", "41 1.5")));
  tavik::test::PumpFor(500);
  Say("Screenshot: %s", SaveScreen("image-zoomed.bmp") ? std::string("image-zoomed.bmp") : std::string("failed"));
  Say("Unzoom (42 0): %s", YesNo(client.Poke("CMD", "42 0")));
  Say("Rotate a quarter turn (85 h 2, through TAVROT32.DLL): %s", YesNo(client.Poke("CMD", "85 " + window + " 2")));
  tavik::test::PumpFor(500);
  Say("Screenshot: %s", SaveScreen("image-rotated.bmp") ? std::string("image-rotated.bmp") : std::string("failed"));
  Say("Destroy the image window (25): %s", YesNo(client.Poke("CMD", "25 " + window)));
  client.Disconnect();
}

}  // namespace

int main(int argc, char** argv) {
  const char* screenshot = argc > 1 ? argv[1] : "screen.bmp";

  Say("Starting TAVIKW32 /v (visible, minimized) ...");
  tavik::test::ServerProcess server("/v");
  if (!server.Started()) {
    Say("The server did not start.");
    return 1;
  }
  char handle[32];
  std::snprintf(handle, sizeof handle, "%d", static_cast<int>(reinterpret_cast<LONG_PTR>(server.Window())));
  Say("Server window %s is up; service TAVIKW32 answers.", handle);

  DdeTestClient client;
  for (const char* topic : {"IMAGE", "GRAPH", "MMEDIA", "WEATHER"})
    Say("Connect on topic %s: %s", topic, YesNo(client.Connect(topic)));

  client.Connect("IMAGE");
  Say("Advise start 'DESTROY 777' (a window that is gone): %s",
      YesNo(client.AdviseStart("DESTROY 777")));
  Say("Advise start 'SIZE 777': %s", YesNo(client.AdviseStart("SIZE 777")));
  Say("Advise start 'destroy 778' (lower case): %s", YesNo(client.AdviseStart("destroy 778")));
  const auto answer = client.Request("999");
  Say("Request '999' (no such query): %s", answer ? "answered" : "answered nothing");
  Say("Poke of a 300-character command: %s", YesNo(client.Poke("CMD", "39 " + std::string(297, 'x'))));
  client.Disconnect();
  Say("Still serving after that: connect %s", YesNo(client.Connect("GRAPH")));
  client.Disconnect();

  // Image windows of each kind, as a database form would ask for them.
  tavik::test::ParentWindow form(40, 40, 460, 340);
  SetWindowTextA(form.Handle(), "Customer form (the client's window)");
  tavik::test::ParentWindow second(540, 40, 300, 200);
  SetWindowTextA(second.Handle(), "Second form");
  char formNumber[16];
  std::snprintf(formNumber, sizeof formNumber, "%d", static_cast<int>(reinterpret_cast<LONG_PTR>(form.Handle())));
  char secondNumber[16];
  std::snprintf(secondNumber, sizeof secondNumber, "%d", static_cast<int>(reinterpret_cast<LONG_PTR>(second.Handle())));
  client.Connect("IMAGE");
  const std::string requests[] = {
      std::string("26 [Photo] 20 20 220 260 ") + formNumber,          // F: child of the form
      std::string("28 [Owned viewer] 420 40 640 400 ") + formNumber,  // O: owned by the form
      std::string("27 [Top-level image window] 420 460 640 820"),     // E: top level
      std::string("71 [Filling] ") + secondNumber,                    // S: fills the second form
  };
  std::string windows[4];
  for (int i = 0; i < 4; ++i) {
    const auto created = client.Request(requests[i], false);
    windows[i] = created ? *created : std::string();
    Say("Request '%s' -> window %s", requests[i], created ? *created : std::string("none"));
  }
  Say("Hide the photo window (39 h 0): %s", YesNo(client.Poke("CMD", "39 " + windows[0] + " 0")));
  Say("Show it again (39 h 1): %s", YesNo(client.Poke("CMD", "39 " + windows[0] + " 1")));
  Say("Background of the top-level window to light blue (84): %s",
      YesNo(client.Poke("CMD", "84 " + windows[2] + " 16764057")));
  Say("Advise DESTROY on the owned viewer: %s", YesNo(client.AdviseStart("DESTROY " + windows[1])));
  tavik::test::PumpFor(500);
  Say("Screenshot with the windows: %s", SaveScreen("windows.bmp") ? std::string("windows.bmp") : std::string("failed"));
  for (const auto& w : windows)
    Say("Destroy window %s (25): %s", w, YesNo(client.Poke("CMD", "25 " + w)));
  tavik::test::PumpFor(300);
  for (const auto& n : client.TakeNotifications()) Say("Notification '%s': '%s'", n.item, n.text);
  Say("Destroying it again is refused: %s", YesNo(client.Poke("CMD", "25 " + windows[0])));
  client.Disconnect();

  ShowImages(client);

  Say("Opening the server's About dialog from its system menu ...");
  PostMessageA(server.Window(), WM_SYSCOMMAND, 4, 0);
  const auto about = tavik::test::WaitForDialog(server.ProcessId(), 5000, "About Tavik Media Server");
  Say("About dialog: %s", about ? about->caption : std::string("did not appear"));
  tavik::test::PumpFor(500);
  Say("Screenshot: %s", SaveScreen(screenshot) ? std::string(screenshot) : std::string("failed"));
  if (about) tavik::test::CloseDialog(about->window);

  Say("Closing the server window ...");
  const int code = server.Stop();
  std::snprintf(handle, sizeof handle, "%d", code);
  Say("Server ended with code %s.", handle);
  return code == 0 ? 0 : 1;
}
