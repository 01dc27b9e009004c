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

// The loader of one import, and how a report names it.
struct CallLoader {
  std::unique_ptr<VariantLoad> loader;
  std::string plugin_name;  // as the plug-in reports them; empty for the library's own loader
  std::string plugin_version;
};

// How one call reads its marker's names and model files, chosen from the caller's options:
// the one place where the import and the report learn which loader serves them.
struct LoaderChoice {
  CodePage code_page;  // of the marker's names
  std::string plugin;  // the loader plug-in's file; empty for the library's own loader
  PathEncoding paths;  // how the marker's path, and so the model files' paths, are written

  // The library's own .mdl loader when plugin is empty, else the plug-in, loaded now.
  // Raises LoaderPluginError when the plug-in cannot serve.
  CallLoader Make() const;
};

// How paths are written (PathsOf), the code page that options name ("" for the system's; an unknown name raises
// InvalidArgumentError) and the loader plug-in, first match wins: options.loader; the file
// that the environment variable DORVAN_MARKER_LOADER names (an empty value names none);
// with kAlsoBesideLibrary on Windows, dorvan_marker_loader.dll in the folder of the module
// that holds this code, when that file exists. Read anew for every call: nothing is kept
// between calls.
LoaderChoice ChooseLoader(const ImportOptions& options, PluginSearch search);

}  // namespace dorvan_marker
