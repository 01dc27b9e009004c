// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "support/fake_loader.hpp"

namespace test {

// The recording plug-in's state, which a test reaches through the plug-in's C function
// kRecordingPluginState after loading the plug-in itself: an import then loads the same
// copy, answers from these tables and records its calls here, as FakeLoader does.
struct RecordingPluginState {
  // FakeLoader's tables, copied in by Answer; every instance answers from them.
  decltype(FakeLoader::sizes) sizes;
  decltype(FakeLoader::names) names;
  decltype(FakeLoader::by_number) by_number;
  decltype(FakeLoader::by_key) by_key;
  bool repeats = false;
  // How it fails: "" not at all; "refuse": the entry gives no table; "wrong-version": a
  // table of another ABI version; "no-instance": create gives null; "fail-open": open
  // answers DORVAN_LOADER_FAILED; "fail-open-2": open answers -2.
  std::string mode;
  unsigned code_page = 0;          // the entry function's last code page
  std::vector<std::string> calls;  // every instance's calls, in order

  void Answer(const FakeLoader& like) {
    sizes = like.sizes;
    names = like.names;
    by_number = like.by_number;
    by_key = like.by_key;
    repeats = like.repeats;
  }
};

inline constexpr char kRecordingPluginState[] = "recording_plugin_state";  // RecordingPluginState* (void)

}  // namespace test
