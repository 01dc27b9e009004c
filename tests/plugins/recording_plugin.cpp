// SPDX-License-Identifier: MIT
// A loader plug-in that answers from a FakeLoader's tables and records every call as the
// FakeLoader does: the import must ask a plug-in exactly what it asks its own loader.
#include <memory>
#include <string>
#include <vector>

#include "dorvan_marker/loader_plugin.h"
#include "plugins/recording_plugin.hpp"

namespace {

test::RecordingPluginState& State() {
  static test::RecordingPluginState state;
  return state;
}

// One instance: a FakeLoader over the state's tables, and the texts it last handed out.
struct Instance {
  test::FakeLoader loader{&State().calls};
  dorvan_marker::CStringArray sizes;
  std::vector<dorvan_loader_text> size_texts;
  std::string name;
};

Instance& Of(dorvan_loader* loader) { return *reinterpret_cast<Instance*>(loader); }
int Result(bool answered) { return answered ? DORVAN_LOADER_YES : DORVAN_LOADER_NO; }

dorvan_loader* Create() {
  if (State().mode == "no-instance") return nullptr;
  auto instance = std::make_unique<Instance>();
  instance->loader.sizes = State().sizes;
  instance->loader.names = State().names;
  instance->loader.by_number = State().by_number;
  instance->loader.by_key = State().by_key;
  return reinterpret_cast<dorvan_loader*>(instance.release());
}

void Destroy(dorvan_loader* loader) { delete &Of(loader); }

int Open(dorvan_loader* loader, const char* path) {
  if (State().mode == "fail-open") return DORVAN_LOADER_FAILED;
  if (State().mode == "fail-open-2") return -2;  // any negative answer is a failure
  return Result(Of(loader).loader.Open(path));
}

int GetSizes(dorvan_loader* loader, const char* name, const dorvan_loader_text** sizes, size_t* count) {
  Instance& instance = Of(loader);
  instance.sizes.clear();
  if (!instance.loader.GetSizesFromMDL(name, instance.sizes)) return DORVAN_LOADER_NO;
  instance.size_texts.clear();
  for (const std::string& size : instance.sizes) instance.size_texts.push_back({size.data(), size.size()});
  *sizes = instance.size_texts.data();
  *count = instance.size_texts.size();
  return DORVAN_LOADER_YES;
}

int GetPieceName(dorvan_loader* loader, const char* vgfn, int piece, dorvan_loader_text* name) {
  Instance& instance = Of(loader);
  if (!instance.loader.GetPieceNameFromMDL(vgfn, piece, instance.name)) return DORVAN_LOADER_NO;
  *name = {instance.name.data(), instance.name.size()};
  return DORVAN_LOADER_YES;
}

int ByNumber(dorvan_loader* loader, const char* vgfn, int piece, double* rotation, double* x, double* y) {
  return Result(Of(loader).loader.GetRotationScale(vgfn, piece, rotation, x, y));
}

int ByKey(dorvan_loader* loader, const char* vgfn, const char* iart, double* rotation, double* x, double* y) {
  return Result(Of(loader).loader.GetRotationScale(vgfn, iart, rotation, x, y));
}

}  // namespace

extern "C" DORVAN_LOADER_EXPORT test::RecordingPluginState* recording_plugin_state() { return &State(); }

extern "C" DORVAN_LOADER_EXPORT const dorvan_loader_table* dorvan_marker_get_loader(unsigned int abi_version,
                                                                                    unsigned int code_page) {
  static dorvan_loader_table table = {abi_version, "recording", "0",          0,        Create, Destroy,
                                      Open,        GetSizes,    GetPieceName, ByNumber, ByKey};
  State().code_page = code_page;
  table.abi_version = State().mode == "wrong-version" ? abi_version + 1 : abi_version;
  table.repeats_answers = State().repeats ? 1 : 0;
  return State().mode == "refuse" ? nullptr : &table;
}
