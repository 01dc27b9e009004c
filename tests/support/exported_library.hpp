// SPDX-License-Identifier: MIT
#pragma once

#include <dlfcn.h>

#include <string>
#include <vector>

namespace test {

// The shared library loaded at run time and its two functions found by name, as a host
// finds them. `error` says what failed when a function is null.
class ExportedLibrary {
 public:
  using GetStyleListFn = bool (*)(const char*, std::vector<std::string>*);
  using ImportDorvanFileFn = int (*)(const char*, char*);

  explicit ExportedLibrary(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
      error = dlerror();
      return;
    }
    get_style_list = reinterpret_cast<GetStyleListFn>(dlsym(handle_, "GetStyleList"));
    import = reinterpret_cast<ImportDorvanFileFn>(dlsym(handle_, "ImportDorvanFile"));
    if (get_style_list == nullptr || import == nullptr) error = "a function is not exported by name";
  }
  ~ExportedLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  ExportedLibrary(const ExportedLibrary&) = delete;
  ExportedLibrary& operator=(const ExportedLibrary&) = delete;

  GetStyleListFn get_style_list = nullptr;
  ImportDorvanFileFn import = nullptr;
  std::string error;

 private:
  void* handle_;
};

// A test fixture (over ::testing::Test or TestWithParam) whose tests reach the two
// functions through the library at `kPath`.
template <typename Base, const char* kPath>
class WithExportedFunctions : public Base {
 protected:
  void SetUp() override {
    ASSERT_EQ(library_.error, "");
    get_style_list_ = library_.get_style_list;
    import_ = library_.import;
  }

  ExportedLibrary library_{kPath};
  ExportedLibrary::GetStyleListFn get_style_list_ = nullptr;
  ExportedLibrary::ImportDorvanFileFn import_ = nullptr;
};

}  // namespace test
