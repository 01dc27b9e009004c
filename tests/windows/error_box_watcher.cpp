// SPDX-License-Identifier: MIT
#include "error_box_watcher.hpp"

#include <cstdio>
#include <cstring>

namespace host_test {
namespace {

constexpr DWORD kPollMilliseconds = 50;
// A box that never goes would block the call under test for ever: give up and end the
// program, so that the run fails instead of hanging.
constexpr DWORD kGiveUpMilliseconds = 60000;
constexpr int kStaticTextId = 0xFFFF;  // the message text's control in a message box

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  if (std::strcmp(caption, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

ErrorBoxWatcher::ErrorBoxWatcher(std::string caption) : caption_(std::move(caption)) {
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &ErrorBoxWatcher::Watch, this, 0, nullptr);
}

ErrorBoxWatcher::~ErrorBoxWatcher() {
  Finish();
  CloseHandle(stop_);
}

ErrorBoxSeen ErrorBoxWatcher::Finish() {
  if (thread_ != nullptr) {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  return seen_;
}

DWORD WINAPI ErrorBoxWatcher::Watch(LPVOID self) {
  static_cast<ErrorBoxWatcher*>(self)->DismissWhenFound();
  return 0;
}

void ErrorBoxWatcher::DismissWhenFound() {
  for (DWORD waited = 0; waited < kGiveUpMilliseconds; waited += kPollMilliseconds) {
    Search search{caption_.c_str(), nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      char text[512] = {};
      GetDlgItemTextA(search.found, kStaticTextId, text, sizeof text);
      seen_.found = true;
      seen_.owned = GetWindow(search.found, GW_OWNER) != nullptr;
      seen_.text = text;
      PostMessageA(search.found, WM_COMMAND, IDOK, 0);
      return;
    }
    if (WaitForSingleObject(stop_, kPollMilliseconds) == WAIT_OBJECT_0) return;
  }
  std::printf("FAIL - the call under test still blocks after %lu ms and no box \"%s\" was found\n",
              static_cast<unsigned long>(kGiveUpMilliseconds), caption_.c_str());
  std::fflush(stdout);
  ExitProcess(3);
}

}  // namespace host_test
