// SPDX-License-Identifier: MIT
#include "platform/shared_library.hpp"

#if defined(_WIN32)
#  include <windows.h>

#  include "platform/native_path.hpp"
#else
#  include <dlfcn.h>
#  include <sys/stat.h>
#endif

#include <vector>

namespace dorvan_marker {

#if defined(_WIN32)

namespace {

std::string WindowsReason(DWORD error) {
  char* text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string reason(text != nullptr ? text : "", length);
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() &&
         (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  return (reason.empty() ? "" : reason + " ") + "(Windows error " + std::to_string(error) + ")";
}

}  // namespace

bool SharedLibrary::Load(const std::string& path, std::string& why, PathEncoding paths) {
  std::wstring wide;
  unsigned long unnamed = 0;
  if (!WidePath(path, paths, wide, unnamed)) {
    why = WindowsReason(unnamed);
    return false;
  }
  // The full path keeps LoadLibrary from searching, and with it the plug-in's own DLLs are
  // looked for in its folder before anywhere else.
  wchar_t full[MAX_PATH];
  const DWORD length = GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) {
    why = WindowsReason(length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  // A file that is no library would otherwise open a system dialog in the host.
  DWORD old_mode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
  HMODULE module = LoadLibraryExW(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD error = GetLastError();
  SetThreadErrorMode(old_mode, nullptr);
  if (module == nullptr) {
    why = WindowsReason(error);
    return false;
  }
  handle_ = module;
  return true;
}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* SharedLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string ThisModulePath() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&ThisModulePath), &module)) {
    return {};
  }
  // The name is cut without a word when the buffer is too small: grow it until it fits.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::vector<char> buffer(size);
    const DWORD length = GetModuleFileNameA(module, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return std::string(buffer.data(), length);
  }
  return {};
}

bool IsFile(const std::string& path, PathEncoding paths) {
  std::wstring wide;
  unsigned long unnamed = 0;
  if (!WidePath(path, paths, wide, unnamed)) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

#else

bool SharedLibrary::Load(const std::string& path, std::string& why, PathEncoding /*paths: bytes here*/) {
  // dlopen looks a name without a slash up on the library path, not in the current folder.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    why = reason != nullptr ? reason : "unknown reason";
    return false;
  }
  return true;
}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

std::string ThisModulePath() { return {}; }

bool IsFile(const std::string& path, PathEncoding /*paths: bytes here*/) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

#endif

}  // namespace dorvan_marker
