// SPDX-License-Identifier: MIT
// Every file operation of an import failing in turn: the host files are then the new pair
// or exactly the old one, and nothing else is left. Both ways of keeping the previous files
// are driven: exchanging names, and (as on Windows) setting them aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <regex>
#include <utility>

#include "dorvan_marker/import.hpp"
#include "platform/native_file_system.hpp"
#include "support/test_support.hpp"

using dorvan_marker::FileOutcome;
using dorvan_marker::ImportStatus;
using dorvan_marker::PathKind;
using dorvan_marker::SystemHandle;
using dorvan_marker::UseFileSystem;

namespace {

using Kind = FileOutcome::Kind;

// The operating system's file system, except that chosen calls fail: the k-th operation
// of all, or calls [first, first + count) of one operation. A failing write writes half its
// bytes first, as a disk that fills up does.
class FaultyFileSystem : public dorvan_marker::FileSystem {
  using Path = const std::string&;
  using Handle = SystemHandle;

 public:
  struct Fault {
    std::string operation;
    int first = 1;
    int count = 1;
    Kind kind = Kind::Failed;
  };
  FaultyFileSystem(bool exchange, int fail_at, std::vector<Fault> faults = {})
      : exchange_(exchange), fail_at_(fail_at), faults_(std::move(faults)) {}

  int Operations() const { return operations_; }
  const std::string& Failed() const { return failed_; }
  int Paused() const { return paused_; }

  FileOutcome CreateHeld(Path p, Handle& h) override {
    return Call("CreateHeld", [&] { return os_.CreateHeld(p, h); });
  }
  void Release(Handle h) override { os_.Release(h); }
  FileOutcome OpenForWriting(Path p, Handle& h) override {
    return Call("Open", [&] { return os_.OpenForWriting(p, h); });
  }
  FileOutcome Write(Handle h, const char* bytes, std::size_t size) override {
    const FileOutcome outcome = Call("Write", [&] { return os_.Write(h, bytes, size); });
    if (!outcome.Ok()) os_.Write(h, bytes, size / 2);
    return outcome;
  }
  FileOutcome Close(Handle h) override {
    return Call(
        "Close", [&] { return os_.Close(h); }, [&] { os_.Close(h); });
  }
  FileOutcome Rename(Path a, Path b) override {
    return Call("Rename", [&] { return os_.Rename(a, b); });
  }
  FileOutcome Exchange(Path a, Path b) override {
    if (!exchange_) return FileOutcome::Failure(Kind::Unsupported, "cannot exchange");
    return Call("Exchange", [&] { return os_.Exchange(a, b); });
  }
  FileOutcome Remove(Path p) override {
    return Call("Remove", [&] { return os_.Remove(p); });
  }
  FileOutcome RemoveUnheld(Path p) override {
    return Call("RemoveUnheld", [&] { return os_.RemoveUnheld(p); });
  }
  FileOutcome Inspect(Path p, PathKind& k) override {
    return Call("Inspect", [&] { return os_.Inspect(p, k); });
  }
  FileOutcome ListFolder(Path p, std::vector<std::string>& n) override {
    return Call("ListFolder", [&] { return os_.ListFolder(p, n); });
  }
  FileOutcome FolderIdentity(Path p, std::string& i) override {
    return Call("FolderIdentity", [&] { return os_.FolderIdentity(p, i); });
  }
  FileOutcome LockFolder(Path p, Path i, int ms, Handle& h) override {
    return Call("LockFolder", [&] { return os_.LockFolder(p, i, ms, h); });
  }
  void UnlockFolder(Handle h) override { os_.UnlockFolder(h); }
  void Pause(int milliseconds) override { paused_ += milliseconds; }

 private:
  template <typename Operation>
  FileOutcome Call(
      const std::string& name, Operation&& operation, const std::function<void()>& instead = [] {}) {
    const int call = ++calls_[name];
    const auto fault = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
      return f.operation == name && call >= f.first && call < f.first + f.count;
    });
    if (++operations_ != fail_at_ && fault == faults_.end()) return operation();
    instead();  // a close that fails still lets the file go
    failed_ = name;
    const Kind kind = fault != faults_.end() ? fault->kind : name == "LockFolder" ? Kind::TimedOut : Kind::Failed;
    return FileOutcome::Failure(kind, name == "Write" ? "No space left on device" : "Input/output error");
  }

  dorvan_marker::NativeFileSystem os_;
  bool exchange_;
  int fail_at_;
  std::vector<Fault> faults_;
  std::map<std::string, int> calls_;
  int operations_ = 0;
  std::string failed_;
  int paused_ = 0;
};

const std::string kExpected = std::string(DORVAN_EXAMPLES) + "/jacket/expected/";
const std::string kOldCommand = "old command file\r\n";
const std::string kOldPlacement = "old placement file\r\n";
const std::vector<std::string> kPair{"csvimprt.txt", "posimport.txt"};

// A folder with the old pair (or none), and the example marker elsewhere.
struct Scene {
  test::TempDir markers;
  test::TempDir out;
  std::string marker = test::CopyExample(markers, "spring jacket.txt");  // gives the expected pair
  dorvan_marker::HostFilePaths paths{out / "csvimprt.txt", out / "posimport.txt"};

  void Reset(bool old_pair) {
    for (const std::string& name : test::ListFolder(out.Path())) std::remove((out / name).c_str());
    if (!old_pair) return;
    test::WriteFile(paths.command_file, kOldCommand);
    test::WriteFile(paths.placement_file, kOldPlacement);
  }
  bool HasNewPair() const {
    return test::ReadFile(paths.command_file) == test::ReadFile(kExpected + "csvimprt.txt") &&
           test::ReadFile(paths.placement_file) == test::ReadFile(kExpected + "posimport.txt");
  }
};

struct Protocol {
  bool exchange;  // else the previous files are set aside
  bool old_pair;  // a previous pair is there
};

class FailurePoints : public ::testing::TestWithParam<Protocol> {};

}  // namespace

TEST_P(FailurePoints, LeaveTheNewPairOrExactlyTheOldOne) {
  const Protocol protocol = GetParam();
  Scene scene;
  scene.Reset(protocol.old_pair);
  FaultyFileSystem counting(protocol.exchange, 0);
  UseFileSystem(&counting);
  const auto counted = ImportMarker(scene.marker, scene.paths);
  UseFileSystem(nullptr);
  ASSERT_EQ(counted.status, ImportStatus::Imported);
  const int operations = counting.Operations();
  for (int k = 1; k <= operations; ++k) {
    scene.Reset(protocol.old_pair);
    FaultyFileSystem faulty(protocol.exchange, k);
    UseFileSystem(&faulty);
    const auto result = ImportMarker(scene.marker, scene.paths);
    UseFileSystem(nullptr);
    SCOPED_TRACE("operation " + std::to_string(k) + ", " + faulty.Failed() + ": " + result.message);
    ASSERT_NE(faulty.Failed(), "") << "every operation of the first run is reached again";
    if (result.status == ImportStatus::Imported) {
      EXPECT_TRUE(scene.HasNewPair());
      // Only a previous file that could not be removed after success may stay, and the
      // next import removes it.
      if (test::ListFolder(scene.out.Path()) == kPair) continue;
      EXPECT_EQ(faulty.Failed(), "Remove");
      ASSERT_EQ(ImportMarker(scene.marker, scene.paths).status, ImportStatus::Imported);
      EXPECT_EQ(test::ListFolder(scene.out.Path()), kPair);
      continue;
    }
    EXPECT_EQ(result.status, ImportStatus::CannotWrite);
    EXPECT_EQ(test::ListFolder(scene.out.Path()), protocol.old_pair ? kPair : std::vector<std::string>{});
    if (!protocol.old_pair) continue;
    EXPECT_EQ(test::ReadFile(scene.paths.command_file), kOldCommand);
    EXPECT_EQ(test::ReadFile(scene.paths.placement_file), kOldPlacement);
  }
  std::printf("[ failure points: %d operations of one import, each failed in turn ]\n", operations);
}

INSTANTIATE_TEST_SUITE_P(Protocols, FailurePoints,
                         ::testing::Values(Protocol{true, true}, Protocol{true, false}, Protocol{false, true},
                                           Protocol{false, false}),
                         [](const auto& info) {
                           return std::string(info.param.exchange ? "Exchange" : "SetAside") +
                                  (info.param.old_pair ? "OverAnOldPair" : "IntoAnEmptyFolder");
                         });

// Faults in a chosen order, and the folder afterwards: each name (a pattern: OUT is the
// folder, * a token) with what the file holds.
TEST(FailurePoints, EndAsTabled) {
  const std::string kNew = "<the new file>";
  const std::string kUndoFailed =
      "cannot replace OUT/posimport.txt: Input/output error; putting the previous files "
      "back failed too (Input/output error): OUT/csvimprt.txt is the new one, ";
  const struct {
    const char* what;
    bool exchange;
    std::vector<FaultyFileSystem::Fault> faults;
    std::string message;  // empty: imported
    std::vector<std::pair<std::string, std::string>> folder;
    int paused_ms;
  } cases[] = {
      {"undoing an exchange fails",
       true,
       {{"Exchange", 2, 2}},
       kUndoFailed + "the previous one is OUT/csvimprt.txt.*.dorvan-new; OUT/posimport.txt is the previous one",
       {{"csvimprt.txt", kNew},
        {"csvimprt.txt.*.dorvan-new", kOldCommand},
        {"posimport.txt", kOldPlacement},
        {"posimport.txt.*.dorvan-new", kNew}},
       0},
      {"undoing a set-aside replacement fails",
       false,
       {{"Rename", 4, 2}},
       kUndoFailed + "the previous one is OUT/csvimprt.txt.*.dorvan-old; OUT/posimport.txt is missing, the previous "
                     "one is OUT/posimport.txt.*.dorvan-old",
       {{"csvimprt.txt", kNew},
        {"csvimprt.txt.*.dorvan-old", kOldCommand},
        {"posimport.txt.*.dorvan-new", kNew},
        {"posimport.txt.*.dorvan-old", kOldPlacement}},
       0},
      {"a file busy until the last try",
       false,
       {{"Rename", 2, 8, Kind::Busy}},
       "",
       {{"csvimprt.txt", kNew}, {"posimport.txt", kNew}},
       2000},
      {"a file busy beyond the last try",
       false,
       {{"Rename", 2, 9, Kind::Busy}},
       "cannot replace OUT/posimport.txt: Input/output error",
       {{"csvimprt.txt", kOldCommand}, {"posimport.txt", kOldPlacement}},
       2000},
      {"another import holds the folder",
       true,
       {{"LockFolder", 1, 1, Kind::TimedOut}},
       "cannot replace OUT/csvimprt.txt: another import into its folder took more than 10 s",
       {{"csvimprt.txt", kOldCommand}, {"posimport.txt", kOldPlacement}},
       0},
  };
  Scene scene;
  const auto pattern = [&](const std::string& text) {
    std::string escaped = std::regex_replace(text, std::regex("OUT"), scene.out.Path());
    escaped = std::regex_replace(escaped, std::regex(R"([.()])"), R"(\$&)");
    return std::regex(std::regex_replace(escaped, std::regex(R"(\*)"), "[0-9a-f]{16}"));
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    scene.Reset(true);
    FaultyFileSystem faulty(c.exchange, 0, c.faults);
    UseFileSystem(&faulty);
    const auto result = ImportMarker(scene.marker, scene.paths);
    UseFileSystem(nullptr);
    EXPECT_EQ(result.status, c.message.empty() ? ImportStatus::Imported : ImportStatus::CannotWrite);
    EXPECT_TRUE(std::regex_match(result.message, pattern(c.message))) << result.message;
    EXPECT_EQ(faulty.Paused(), c.paused_ms);
    const std::vector<std::string> names = test::ListFolder(scene.out.Path());
    ASSERT_EQ(names.size(), c.folder.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_TRUE(std::regex_match(scene.out / names[i], pattern("OUT/" + c.folder[i].first))) << names[i];
      const std::string new_file = kExpected + (names[i].rfind("csv", 0) == 0 ? "csvimprt.txt" : "posimport.txt");
      EXPECT_EQ(test::ReadFile(scene.out / names[i]),
                c.folder[i].second == kNew ? test::ReadFile(new_file) : c.folder[i].second)
          << names[i];
    }
  }
}
