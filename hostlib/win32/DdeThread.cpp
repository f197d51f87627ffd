#include "DdeThread.h"

#include "LibraryState.h"

#include <cstring>
#include <string>

namespace tavik::hostlib {
namespace {

constexpr UINT kRunJob = WM_APP + 1;
DdeThread* g_thread = nullptr;  // DDEML callbacks carry no context; the library holds one link

struct Job {
  const std::function<bool()>* work;
  bool result = false;
  HANDLE done = nullptr;
};

// Wine loses every second back-to-back reply unless the client serves its queue in between.
void PumpOwnQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == kRunJob) {  // a job posted meanwhile waits for its turn
      PostThreadMessageA(GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

bool DdeThread::Start(HWND notifyWindow, UINT notifyMessage) {
  if (thread_) return true;
  notifyWindow_ = notifyWindow;
  notifyMessage_ = notifyMessage;
  g_thread = this;
  ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_);
  if (!thread_) {
    CloseHandle(ready_);
    ready_ = nullptr;
    return false;
  }
  WaitForSingleObject(ready_, INFINITE);
  if (instance_ == 0) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    return false;
  }
  return true;
}

DWORD WINAPI DdeThread::ThreadMain(void* param) {
  auto* self = static_cast<DdeThread*>(param);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
  DWORD instance = 0;
  if (DdeInitializeA(&instance, Callback, APPCLASS_STANDARD | APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
    instance = 0;
  self->instance_ = instance;
  SetEvent(self->ready_);
  if (instance == 0) return 1;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kRunJob) {
      auto* job = reinterpret_cast<Job*>(msg.lParam);
      job->result = (*job->work)();
      SetEvent(job->done);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (self->conversation_) DdeDisconnect(self->conversation_);
  self->conversation_ = nullptr;
  DdeUninitialize(instance);
  return 0;
}

void DdeThread::Stop() {
  if (!thread_) return;
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
  CloseHandle(ready_);
  thread_ = nullptr;
  ready_ = nullptr;
  instance_ = 0;
  conversation_ = nullptr;
}

bool DdeThread::Run(const std::function<bool()>& work) {
  if (!thread_) return false;
  Job job{&work, false, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (!job.done) return false;
  if (!PostThreadMessageA(threadId_, kRunJob, 0, reinterpret_cast<LPARAM>(&job))) {
    CloseHandle(job.done);
    return false;
  }
  // Only sent messages are served here: posted ones wait for the host's own loop, so no host
  // code runs in the middle of a library call.
  for (;;) {
    const DWORD wait = MsgWaitForMultipleObjects(1, &job.done, FALSE, INFINITE, QS_SENDMESSAGE);
    if (wait == WAIT_OBJECT_0) break;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(job.done);
  return job.result;
}

bool DdeThread::Connect() {
  return Run([this] {
    HSZ service = DdeCreateStringHandleA(instance_, "TAVIKW32", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance_, "IMAGE", CP_WINANSI);
    HCONV conversation = DdeConnect(instance_, service, topic, nullptr);
    DdeFreeStringHandle(instance_, service);
    DdeFreeStringHandle(instance_, topic);
    PumpOwnQueue();
    if (conversation) conversation_ = conversation;
    return conversation != nullptr;
  });
}

HDDEDATA DdeThread::Transact(const char* item, UINT type, const void* data, DWORD size,
                             uint32_t timeout, DWORD* status) {
  if (!conversation_) return nullptr;
  HSZ itemHandle = DdeCreateStringHandleA(instance_, item, CP_WINANSI);
  if (!itemHandle) return nullptr;
  HDDEDATA result = DdeClientTransaction(static_cast<LPBYTE>(const_cast<void*>(data)), size,
                                         conversation_, itemHandle, CF_TEXT, type, timeout, status);
  DdeFreeStringHandle(instance_, itemHandle);
  PumpOwnQueue();
  return result;
}

bool DdeThread::Poke(const char* text, uint32_t timeout) {
  const std::string copy = text;
  return Run([&] {
    DWORD status = 0;
    HDDEDATA result = Transact("CMD", XTYP_POKE, copy.c_str(), static_cast<DWORD>(copy.size() + 1),
                               timeout, &status);
    // A refused poke still comes back with a handle: only the status word tells.
    return result != nullptr && (status & DDE_FACK) != 0;
  });
}

bool DdeThread::Request(char* buffer, std::size_t capacity, uint32_t timeout) {
  if (capacity == 0) return false;
  const std::string item(buffer, strnlen(buffer, capacity));
  return Run([&] {
    HDDEDATA data = Transact(item.c_str(), XTYP_REQUEST, nullptr, 0, timeout, nullptr);
    if (!data) return false;
    // At most capacity - 1 bytes, and always closed: the answer is text whatever came.
    DWORD size = 0;
    const BYTE* bytes = DdeAccessData(data, &size);
    std::size_t length = 0;
    if (bytes) {
      length = strnlen(reinterpret_cast<const char*>(bytes), size);
      if (length > capacity - 1) length = capacity - 1;
      std::memcpy(buffer, bytes, length);
      DdeUnaccessData(data);
    }
    buffer[length] = 0;
    DdeFreeDataHandle(data);
    return bytes != nullptr;
  });
}

bool DdeThread::Advise(const char* item, bool start, uint32_t timeout) {
  const std::string copy = item;
  return Run([&] {
    return Transact(copy.c_str(), start ? XTYP_ADVSTART : XTYP_ADVSTOP, nullptr, 0, timeout,
                    nullptr) != nullptr;
  });
}

HDDEDATA CALLBACK DdeThread::Callback(UINT type, UINT format, HCONV conversation, HSZ, HSZ item,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  DdeThread* self = g_thread;
  if (!self) return nullptr;
  switch (type) {
    case XTYP_DISCONNECT:
      if (conversation == self->conversation_) {
        self->conversation_ = nullptr;
        // The focus belongs to the host's thread: it moves it there.
        if (self->notifyWindow_) PostMessageA(self->notifyWindow_, self->notifyMessage_, 0, 0);
      }
      return nullptr;
    case XTYP_ADVDATA: {
      if (format != CF_TEXT) return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
      char name[51] = {};
      DdeQueryStringA(self->instance_, item, name, sizeof name, CP_WINANSI);
      const std::string text = name;
      const std::string token = text.substr(0, text.find(' '));
      if (token.empty()) return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
      int event = -1;
      for (int e = 0; e < kEventCount && event < 0; ++e) {
        if (token == EventName(e)) event = e;
      }
      if (token != "CAPTURE" && event < 0) return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
      char received[257] = {};
      DdeGetData(data, reinterpret_cast<BYTE*>(received), 256, 0);
      const std::string body(received);
      const bool hasToken = body.find_first_not_of(' ') != std::string::npos;
      if ((token == "CAPTURE" || event == kEventDestroy) && !hasToken)
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
      // Event and capture procedures are queued by the event functions; until they register,
      // a known event is taken and dropped.
      return reinterpret_cast<HDDEDATA>(DDE_FACK);
    }
    default:
      return nullptr;
  }
}

}  // namespace tavik::hostlib
