// SPDX-License-Identifier: MIT
#include "system.hpp"

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX  // std::max below, not the macro
#  endif
#  include <windows.h>
#else
#  include <unistd.h>

#  include <system_error>
#  include <thread>
#endif

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace cli {
namespace {

#if defined(_WIN32)
// The Windows build's C++ runtime (mingw-w64's win32 threads) has no std::thread.
struct ThreadWork {
  void (*work)(void*);
  void* context;
};

DWORD WINAPI RunThreadWork(LPVOID given) {
  const ThreadWork* thread_work = static_cast<const ThreadWork*>(given);
  thread_work->work(thread_work->context);
  return 0;
}
#endif

}  // namespace

std::size_t MachineCores() {
#if defined(_WIN32)
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return std::max<std::size_t>(info.dwNumberOfProcessors, 1);
#else
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<std::size_t>(online) : 1;
#endif
}

bool ErrorIsTerminal() {
#if defined(_WIN32)
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return GetConsoleMode(error, &mode) != 0 && SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

void RunOnThreads(std::size_t threads, void (*work)(void*), void* context) {
#if defined(_WIN32)
  ThreadWork thread_work{work, context};
  std::vector<HANDLE> handles;
  for (std::size_t t = 0; t < threads; ++t) {
    const HANDLE handle = CreateThread(nullptr, 0, RunThreadWork, &thread_work, 0, nullptr);
    if (handle != nullptr) handles.push_back(handle);
  }
  if (handles.empty()) work(context);
  for (const HANDLE handle : handles) {
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
  }
#else
  std::vector<std::thread> running;
  try {
    for (std::size_t t = 0; t < threads; ++t) running.emplace_back(work, context);
  } catch (const std::system_error&) {  // fewer threads than asked: those made do the work
    if (running.empty()) work(context);
  }
  for (std::thread& thread : running) thread.join();
#endif
}

#if defined(_WIN32)
namespace {

// An argument of the UTF-16 command line in UTF-8.
std::string Utf8(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.pop_back();  // the NUL the conversion wrote
  return text;
}

UINT console_code_page = 0;
void RestoreConsole() { SetConsoleOutputCP(console_code_page); }

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8(argv[i]));
  return arguments;
}

void ShowUtf8OnConsole() {
  DWORD mode = 0;
  const bool console = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0 ||
                       GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
  if (!console || (console_code_page = GetConsoleOutputCP()) == CP_UTF8) return;
  if (SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreConsole);
}
#endif

}  // namespace cli
