// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

namespace host_test {

// What a watch saw of the library's error box.
struct ErrorBoxSeen {
  bool found = false;  // a top-level window of this process with the caption appeared
  bool owned = false;  // it had an owner window
  std::string text;    // its message text
};

// Watches, from a second thread, for the message box that a call into the library may
// open on this thread, the way a host's automation would: it looks for the box among
// the top-level windows by its caption, reads its text and presses OK. Start it before
// the call and Finish it after: a box the call was meant to show has been dismissed by
// then (the call blocks until it is), and a call that showed none returns at once.
class ErrorBoxWatcher {
 public:
  explicit ErrorBoxWatcher(std::string caption);
  ~ErrorBoxWatcher();
  ErrorBoxWatcher(const ErrorBoxWatcher&) = delete;
  ErrorBoxWatcher& operator=(const ErrorBoxWatcher&) = delete;

  // Stops watching and tells what was seen.
  ErrorBoxSeen Finish();

 private:
  static DWORD WINAPI Watch(LPVOID self);
  void DismissWhenFound();

  std::string caption_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  ErrorBoxSeen seen_;
};

}  // namespace host_test
