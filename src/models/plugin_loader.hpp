// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

#include "dorvan_marker/loader_plugin.h"
#include "platform/code_page.hpp"
#include "platform/shared_library.hpp"
#include "platform/variant_load.hpp"

namespace dorvan_marker {

// A loader plug-in cannot serve: it does not load, lacks its entry function, speaks
// another ABI version, makes no instance or fails a query. what() names the plug-in's
// file first, like a compiler message: "<path>: the loader plug-in <reason>".
class LoaderPluginError : public std::runtime_error {
 public:
  LoaderPluginError(const std::string& path, const std::string& reason)
      : std::runtime_error(path + ": the loader plug-in " + reason) {}
};

// The loader of one import served by a loader plug-in (dorvan_marker/loader_plugin.h):
// each query is one call of the plug-in's table, made as the import makes it. The
// plug-in is loaded and its instance created with the object; the instance is destroyed
// and the plug-in unloaded when the object goes.
class PluginLoader final : public VariantLoad {
 public:
  // Loads the plug-in at path and asks it for a table of this library's ABI version for
  // code_page. Raises LoaderPluginError when it cannot serve.
  // path is written as paths says.
  PluginLoader(const std::string& path, CodePage code_page, PathEncoding paths = PathEncoding::System);
  ~PluginLoader() override;
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  // Each raises LoaderPluginError when the plug-in answers that it failed.
  bool Open(const char* path) override;
  bool GetSizesFromMDL(const char* name, CStringArray& sizes) override;
  bool GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) override;
  bool GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor, double* y_factor) override;
  bool GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                        double* y_factor) override;
  bool RepeatsAnswers() const noexcept override { return repeats_; }

  const std::string& Name() const noexcept { return name_; }  // as the plug-in reports it
  const std::string& Version() const noexcept { return version_; }

 private:
  const dorvan_loader_table& TableOf(void* entry, CodePage code_page) const;
  // YES or NO of a query as a bool; a failure raises.
  bool Answered(int result, const char* query) const;

  std::string path_;
  SharedLibrary library_;  // declared before the instance: unloaded after it is destroyed
  const dorvan_loader_table* table_ = nullptr;
  dorvan_loader* instance_ = nullptr;
  std::string name_;
  std::string version_;
  bool repeats_ = false;
};

}  // namespace dorvan_marker
