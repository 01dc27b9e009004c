// SPDX-License-Identifier: MIT
#include "entry/loader_choice.hpp"

#include <cstdlib>

#include "entry/marker_reading.hpp"
#include "models/model_file_loader.hpp"
#include "models/plugin_loader.hpp"
#include "platform/file_names.hpp"
#include "platform/shared_library.hpp"

namespace dorvan_marker {
namespace {

// A site's plug-in beside the DLL: found through the DLL's own file, so that it follows
// the DLL wherever the host installs it, whatever the host's current folder.
std::string PluginBesideLibrary() {
#if defined(_WIN32)
  const std::string module = ThisModulePath();
  if (module.empty()) return {};
  const std::string plugin =
      module.substr(0, FileNameStart(module, CodePage::System(), FileNameRules::Native())) + "dorvan_marker_loader.dll";
  if (IsFile(plugin)) return plugin;
#endif
  return {};
}

std::string ChosenPlugin(const ImportOptions& options, PluginSearch search) {
  if (!options.loader.empty()) return options.loader;
  const char* named = std::getenv("DORVAN_MARKER_LOADER");
  if (named != nullptr && *named != '\0') return named;
  return search == PluginSearch::kAlsoBesideLibrary ? PluginBesideLibrary() : std::string();
}

}  // namespace

LoaderChoice ChooseLoader(const ImportOptions& options, PluginSearch search) {
  return {CodePageOf(options), ChosenPlugin(options, search), PathsOf(options)};
}

CallLoader LoaderChoice::Make() const {
  CallLoader made;
  if (plugin.empty()) {
    made.loader = std::make_unique<ModelFileLoader>(paths);
    return made;
  }
  auto loaded = std::make_unique<PluginLoader>(plugin, code_page, paths);
  made.plugin_name = loaded->Name();
  made.plugin_version = loaded->Version();
  made.loader = std::move(loaded);
  return made;
}

}  // namespace dorvan_marker
