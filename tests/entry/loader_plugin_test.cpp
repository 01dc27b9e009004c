// SPDX-License-Identifier: MIT
// A loader plug-in is asked exactly what the library's own loader is asked, and one that
// cannot serve stops the import, named, before any host file is touched.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dorvan_marker/import.hpp"
#include "entry/import_pipeline.hpp"
#include "hostfiles/command_file_writer.hpp"
#include "hostfiles/placement_file_writer.hpp"
#include "plugins/recording_plugin.hpp"
#include "support/output_file.hpp"
#include "support/test_support.hpp"

using dorvan_marker::ImportStatus;

namespace {

// The recording plug-in as the test loads it: the import then loads the same copy, whose
// state outlives the import's unloading.
class RecordingPlugin {
 public:
  RecordingPlugin() : handle_(dlopen(DORVAN_RECORDING_PLUGIN, RTLD_NOW | RTLD_LOCAL)) {
    using StateFn = test::RecordingPluginState* (*)();
    if (handle_ != nullptr) state_ = reinterpret_cast<StateFn>(dlsym(handle_, test::kRecordingPluginState))();
  }
  ~RecordingPlugin() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  test::RecordingPluginState* operator->() const { return state_; }
  bool Loaded() const { return state_ != nullptr; }

 private:
  void* handle_;
  test::RecordingPluginState* state_ = nullptr;
};

// Answers for the example marker copied into dir: both models' sizes, some pieces' names,
// rotations by key (the jacket) and by number (the trousers); the rest is not answered.
test::FakeLoader ExampleAnswers(const test::TempDir& dir, bool repeats) {
  test::FakeLoader answers(nullptr);
  answers.repeats = repeats;
  answers.sizes[dir / "JACKET.mdl"] = {"38", "40", "42"};
  answers.sizes[dir / "TROUSERS.mdl"] = {"S", "M", "L", "XL"};
  answers.names[{dir / "JACKET.mdl", "JACKET", 1}] = "Front";
  answers.names[{dir / "TROUSERS.mdl", "TROUSER", 2}] = "Leg back";
  answers.by_key[{dir / "JACKET.mdl", "JACKET", "jk-sl"}] = {0.5, 1.0, 0.98};
  answers.by_number[{dir / "TROUSERS.mdl", "TROUSER", 2}] = {-0.25, 0.99, 0.0};
  return answers;
}

// Writes the host files, as the import does, for their queries.
class Writer final : public dorvan_marker::ImportObserver {
 public:
  explicit Writer(const test::TempDir& dir) : dir_(dir) {}
  void PlacementsResolved(const dorvan_marker::MarkerDocument& document,
                          dorvan_marker::HostPlacements& placements) override {
    test::OutputFile command(dir_ / "csvimprt.txt");
    test::OutputFile placement(dir_ / "posimport.txt");
    dorvan_marker::WriteCommandFile(document, placements, command.File());
    dorvan_marker::WritePlacementFile(document, placements, placement.File());
  }

 private:
  const test::TempDir& dir_;
};

std::vector<std::string> CallsOfFakeLoader(const std::string& marker, const test::FakeLoader& answers) {
  std::vector<std::string> calls;
  test::TempDir out;
  dorvan_marker::MarkerDocument document(marker, nullptr,
                                         dorvan_marker::CodePage(dorvan_marker::CodePage::Kind::ShiftJis));
  Writer writer(out);
  std::string unreadable;
  dorvan_marker::RunImport(
      document,
      [&] {
        auto loader = std::make_unique<test::FakeLoader>(answers);
        loader->calls = &calls;
        return loader;
      },
      writer, unreadable);
  return calls;
}

std::vector<std::string> CallsOfRecordingPlugin(const std::string& marker, const test::FakeLoader& answers) {
  RecordingPlugin plugin;
  EXPECT_TRUE(plugin.Loaded()) << dlerror();
  if (!plugin.Loaded()) return {};
  plugin->Answer(answers);
  plugin->mode.clear();
  plugin->calls.clear();
  test::TempDir out;
  const auto result = dorvan_marker::ImportMarker(marker, {out / "csvimprt.txt", out / "posimport.txt"},
                                                  {"932", DORVAN_RECORDING_PLUGIN});
  EXPECT_EQ(result.status, ImportStatus::Imported) << result.message;
  EXPECT_EQ(plugin->code_page, 932u) << "the code page of the names";
  EXPECT_NE(test::ReadFile(out / "posimport.txt").find("LEG BACK"), std::string::npos) << "the answers were used";
  return plugin->calls;
}

}  // namespace

TEST(LoaderPlugin, IsAskedWhatTheLibrarysOwnLoaderIsAsked) {
  test::TempDir dir;
  const std::string marker = test::CopyExample(dir, "spring.txt");
  for (const bool repeats : {false, true}) {
    const test::FakeLoader answers = ExampleAnswers(dir, repeats);
    EXPECT_EQ(CallsOfRecordingPlugin(marker, answers), CallsOfFakeLoader(marker, answers)) << "repeats " << repeats;
  }
}

// The marker is judged first; then each way a plug-in can fail to serve ends the import
// with a message naming it, and leaves the host files as they were.
TEST(LoaderPlugin, OneThatCannotServeStopsTheImportNamed) {
  test::TempDir dir;
  const std::string marker = test::CopyExample(dir, "spring.txt");
  test::WriteFile(dir / "no models.txt", "IGEO:INUM\nVART:VEXT\nVMDL:VNMD\n3:x\n");
  test::WriteFile(dir / "broken.txt", "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n99999999999:x\n");
  test::WriteFile(dir / "text.so", "not a library");
  const std::string kRecording = DORVAN_RECORDING_PLUGIN;
  const std::string kNoEntry = DORVAN_NO_ENTRY_PLUGIN;
  const struct {
    std::string marker;
    std::string plugin;
    const char* mode;
    ImportStatus status;
    std::string message;  // the message, or its start when it ends with "..."
  } cases[] = {
      {dir / "missing.txt", kNoEntry, "", ImportStatus::CannotOpen,
       "cannot open " + (dir / "missing.txt") + ": no such file"},
      {dir / "broken.txt", kNoEntry, "", ImportStatus::Malformed, (dir / "broken.txt") + ":5: record number ..."},
      {dir / "no models.txt", kNoEntry, "", ImportStatus::NoModels, (dir / "no models.txt") + " is an invalid ..."},
      {marker, dir / "none.so", "", ImportStatus::LoaderUnusable,
       (dir / "none.so") + ": the loader plug-in does not load: no such file"},
      {marker, dir / "text.so", "", ImportStatus::LoaderUnusable,
       (dir / "text.so") + ": the loader plug-in does not load: " + (dir / "text.so") + ": ..."},
      {marker, kNoEntry, "", ImportStatus::LoaderUnusable,
       kNoEntry + ": the loader plug-in lacks the entry function dorvan_marker_get_loader"},
      {marker, kRecording, "refuse", ImportStatus::LoaderUnusable,
       kRecording + ": the loader plug-in does not serve ABI version 1 with code page 932"},
      {marker, kRecording, "wrong-version", ImportStatus::LoaderUnusable,
       kRecording + ": the loader plug-in answers with a table of ABI version 2 where 1 was asked"},
      {marker, kRecording, "no-instance", ImportStatus::LoaderUnusable,
       kRecording + ": the loader plug-in made no loader instance"},
      {marker, kRecording, "fail-open", ImportStatus::LoaderUnusable,
       kRecording + ": the loader plug-in failed in open (result -1)"},
      {marker, kRecording, "fail-open-2", ImportStatus::LoaderUnusable,
       kRecording + ": the loader plug-in failed in open (result -2)"},
  };
  RecordingPlugin recording;
  ASSERT_TRUE(recording.Loaded()) << dlerror();
  test::WriteFile(dir / "csvimprt.txt", "earlier");
  for (const auto& c : cases) {
    recording->mode = c.mode;
    const auto result =
        dorvan_marker::ImportMarker(c.marker, {dir / "csvimprt.txt", dir / "posimport.txt"}, {"932", c.plugin});
    EXPECT_EQ(result.status, c.status) << c.message;
    if (c.message.ends_with("...")) {
      EXPECT_EQ(result.message.substr(0, c.message.size() - 3), c.message.substr(0, c.message.size() - 3));
    } else {
      EXPECT_EQ(result.message, c.message);
    }
    EXPECT_EQ(test::ReadFile(dir / "csvimprt.txt"), "earlier") << c.message;
    EXPECT_FALSE(test::Exists(dir / "posimport.txt")) << c.message;
  }
}
