// The document's text as the properties see it: plain text, rich text streams, the selection.
#include "WriteGuard.h"

namespace lexivane::control {


namespace {

struct StreamBuffer {
  std::string data;
  size_t offset = 0;
};

DWORD CALLBACK AppendChunk(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done) {
  auto* buffer = reinterpret_cast<StreamBuffer*>(cookie);
  buffer->data.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count > 0 ? count : 0));
  *done = count;
  return 0;
}

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done) {
  auto* buffer = reinterpret_cast<StreamBuffer*>(cookie);
  size_t left = buffer->data.size() - buffer->offset;
  size_t take = count > 0 ? std::min(left, static_cast<size_t>(count)) : 0;
  memcpy(bytes, buffer->data.data() + buffer->offset, take);
  buffer->offset += take;
  *done = static_cast<LONG>(take);
  return 0;
}

}  // namespace

std::wstring LexivaneControl::PlainText() const {
  if (!edit_) return settings_.designText;
  // Paragraph ends come back as single carriage returns, so positions match the edit window's.
  GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT length = SendMessageW(edit_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX query{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
  LRESULT got = SendMessageW(edit_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? std::min(static_cast<size_t>(got), text.size()) : 0);
  return text;
}

std::wstring LexivaneControl::TextRange(LONG start, LONG end) const {
  if (!edit_ || end <= start) return {};
  // The window is of the 8-bit class: it answers ranges in 8-bit text whatever the call's width.
  std::string text(static_cast<size_t>(end - start) * 2 + 1, '\0');
  TEXTRANGEA range{{start, end}, text.data()};
  LRESULT length = SendMessageA(edit_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(length > 0 ? std::min(static_cast<size_t>(length), text.size() - 1) : 0);
  return FromAnsi(text);
}

void LexivaneControl::SetPlainText(std::wstring_view text) {
  if (!edit_) {
    settings_.designText = std::wstring(text);
    return;
  }
  WriteGuard guard(*this);
  std::wstring copy(text);
  SETTEXTEX how{ST_DEFAULT, 1200};
  SendMessageW(edit_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(copy.c_str()));
}

std::string LexivaneControl::StreamOut(UINT format) const {
  StreamBuffer buffer;
  if (!edit_) return buffer.data;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, AppendChunk};
  SendMessageW(edit_, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
  return buffer.data;
}

void LexivaneControl::StreamIn(std::string_view data, UINT format, bool selectionOnly) {
  if (!edit_) return;
  WriteGuard guard(*this);
  if (!selectionOnly) ApplyDefaultCharFormat();
  StreamBuffer buffer{std::string(data), 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, ReadChunk};
  SendMessageW(edit_, EM_STREAMIN, format | (selectionOnly ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&stream));
}

void LexivaneControl::SetSelectionRange(LONG start, LONG end) {
  if (!edit_) return;
  CHARRANGE range{start, end};
  SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

// ---- SpellHost: the document as the engine sees it ----

std::string LexivaneControl::DocumentText() { return ToAnsi(PlainText()); }

void LexivaneControl::GetSelection(int64_t& start, int64_t& end) {
  CHARRANGE range{0, 0};
  if (edit_) SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  start = range.cpMin;
  end = range.cpMax;
}

void LexivaneControl::SelectRange(int64_t start, int64_t end) {
  if (!edit_) return;
  ++internalUpdate_;
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  --internalUpdate_;
}

void LexivaneControl::ReplaceSelection(std::string_view text) {
  if (!edit_) return;
  WriteGuard guard(*this);
  std::wstring wide = FromAnsi(text);
  SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

void LexivaneControl::PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace lexivane::control
