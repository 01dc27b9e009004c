// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "dorvan_marker/import.hpp"
#include "platform/code_page.hpp"
#include "platform/variant_load.hpp"

namespace dorvan_marker {

// Where an import looks for a loader plug-in.
enum class PluginSearch {
  kCallerAndEnvironment,  // the caller's plug-in, then the file DORVAN_MARKER_LOADER names
  kAlsoBesideLibrary,     // the same, then (on Windows) dorvan_marker_loader.dll beside the DLL
};

// The file of the loader plug-in an import uses, first match wins: options.loader; the
// file that the environment variable DORVAN_MARKER_LOADER names (an empty value names
// none); with kAlsoBesideLibrary on Windows, dorvan_marker_loader.dll in the folder of the
// module that holds this code, when that file exists. Empty: the library's own loader.
// Read anew for every import: nothing is kept between calls.
std::string ChosenPlugin(const ImportOptions& options, PluginSearch search);

// The loader of one import, and how a report names it.
struct CallLoader {
  std::unique_ptr<VariantLoad> loader;
  std::string plugin_name;  // as the plug-in reports them; empty for the library's own loader
  std::string plugin_version;
};

// The library's own .mdl loader when plugin is empty, else the plug-in at that path,
// loaded now. Raises LoaderPluginError when the plug-in cannot serve.
CallLoader MakeLoader(const std::string& plugin, CodePage code_page);

}  // namespace dorvan_marker
