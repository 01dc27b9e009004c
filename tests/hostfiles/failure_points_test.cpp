// SPDX-License-Identifier: MIT
// Every file operation of an import failing in turn: the host files are then the new pair
// or exactly the old one, and nothing else is left. Both ways of keeping the previous files
// are driven: exchanging names, and (as on Windows) setting them aside.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <regex>
#include <tuple>
#include <utility>

#include "dorvan_marker/import.hpp"
#include "platform/native_file_system.hpp"
#include "support/test_support.hpp"

using dorvan_marker::FileOutcome;
using dorvan_marker::ImportStatus;
using dorvan_marker::PathKind;
using dorvan_marker::SystemHandle;

namespace {

using Kind = FileOutcome::Kind;

// The operating system's file system, except that chosen calls fail: the k-th operation
// of all, or the n-th call of one operation. A failing write writes half its bytes first,
// as a disk that fills up does.
class FaultyFileSystem : public dorvan_marker::FileSystem {
 public:
  explicit FaultyFileSystem(bool exchange) : exchange_(exchange) {}

  void FailOperation(int k) { fail_at_ = k; }
  void Fail(const std::string& operation, int call, Kind kind) { faults_[{operation, call}] = kind; }
  int Operations() const { return operations_; }
  const std::string& Failed() const { return failed_; }
  int Paused() const { return paused_; }

  FileOutcome CreateHeld(const std::string& path, SystemHandle& held) override {
    return Call("CreateHeld", [&] { return native_.CreateHeld(path, held); });
  }
  void Release(SystemHandle held) override { native_.Release(held); }
  FileOutcome OpenForWriting(const std::string& path, SystemHandle& file) override {
    return Call("OpenForWriting", [&] { return native_.OpenForWriting(path, file); });
  }
  FileOutcome Write(SystemHandle file, const char* bytes, std::size_t size) override {
    const FileOutcome outcome = Call("Write", [&] { return native_.Write(file, bytes, size); });
    if (outcome.Ok()) return outcome;
    native_.Write(file, bytes, size / 2);
    return FileOutcome::Failure(Kind::Failed, "No space left on device");
  }
  FileOutcome Close(SystemHandle file) override {
    return Call("Close", [&] { return native_.Close(file); }, [&] { native_.Close(file); });
  }
  FileOutcome Rename(const std::string& from, const std::string& to) override {
    return Call("Rename", [&] { return native_.Rename(from, to); });
  }
  FileOutcome Exchange(const std::string& a, const std::string& b) override {
    if (!exchange_) return FileOutcome::Failure(Kind::Unsupported, "cannot exchange");
    return Call("Exchange", [&] { return native_.Exchange(a, b); });
  }
  FileOutcome Remove(const std::string& path) override {
    return Call("Remove", [&] { return native_.Remove(path); });
  }
  FileOutcome RemoveUnheld(const std::string& path) override {
    return Call("RemoveUnheld", [&] { return native_.RemoveUnheld(path); });
  }
  FileOutcome Inspect(const std::string& path, PathKind& kind) override {
    return Call("Inspect", [&] { return native_.Inspect(path, kind); });
  }
  FileOutcome ListFolder(const std::string& folder, std::vector<std::string>& names) override {
    return Call("ListFolder", [&] { return native_.ListFolder(folder, names); });
  }
  FileOutcome FolderIdentity(const std::string& folder, std::string& identity) override {
    return Call("FolderIdentity", [&] { return native_.FolderIdentity(folder, identity); });
  }
  FileOutcome LockFolder(const std::string& folder, const std::string& identity, int timeout_ms,
                         SystemHandle& lock) override {
    return Call("LockFolder", [&] { return native_.LockFolder(folder, identity, timeout_ms, lock); });
  }
  void UnlockFolder(SystemHandle lock) override { native_.UnlockFolder(lock); }
  void Pause(int milliseconds) override { paused_ += milliseconds; }

 private:
  template <typename Operation>
  FileOutcome Call(const std::string& name, Operation&& operation, const std::function<void()>& instead = [] {}) {
    const int call = ++calls_[name];
    const auto fault = faults_.find({name, call});
    if (++operations_ != fail_at_ && fault == faults_.end()) return operation();
    instead();  // a close that fails still lets the file go
    failed_ = name;
    const Kind kind = fault != faults_.end() ? fault->second : name == "LockFolder" ? Kind::TimedOut : Kind::Failed;
    return FileOutcome::Failure(kind, "Input/output error");
  }

  dorvan_marker::NativeFileSystem native_;
  bool exchange_;
  int fail_at_ = 0;
  std::map<std::pair<std::string, int>, Kind> faults_;
  std::map<std::string, int> calls_;
  int operations_ = 0;
  std::string failed_;
  int paused_ = 0;
};

class UsingFileSystem {
 public:
  explicit UsingFileSystem(dorvan_marker::FileSystem& file_system) { dorvan_marker::UseFileSystem(&file_system); }
  ~UsingFileSystem() { dorvan_marker::UseFileSystem(nullptr); }
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
  FaultyFileSystem counting(protocol.exchange);
  {
    const UsingFileSystem using_it(counting);
    scene.Reset(protocol.old_pair);
    ASSERT_EQ(ImportMarker(scene.marker, scene.paths).status, ImportStatus::Imported);
  }
  const int operations = counting.Operations();
  for (int k = 1; k <= operations; ++k) {
    FaultyFileSystem faulty(protocol.exchange);
    faulty.FailOperation(k);
    scene.Reset(protocol.old_pair);
    const UsingFileSystem using_it(faulty);
    const auto result = ImportMarker(scene.marker, scene.paths);
    SCOPED_TRACE("operation " + std::to_string(k) + " of " + std::to_string(operations) + ": " + faulty.Failed() +
                 ": " + result.message);
    ASSERT_NE(faulty.Failed(), "") << "every operation of the first run is reached again";
    if (result.status == ImportStatus::Imported) {
      EXPECT_TRUE(scene.HasNewPair());
      // Only a previous file that could not be removed after success may stay, for the
      // next import to remove.
      if (test::ListFolder(scene.out.Path()) != kPair) {
        EXPECT_EQ(faulty.Failed(), "Remove");
        dorvan_marker::UseFileSystem(nullptr);
        ASSERT_EQ(ImportMarker(scene.marker, scene.paths).status, ImportStatus::Imported);
        EXPECT_EQ(test::ListFolder(scene.out.Path()), kPair);
      }
      continue;
    }
    EXPECT_EQ(result.status, ImportStatus::CannotWrite);
    if (protocol.old_pair) {
      EXPECT_EQ(test::ListFolder(scene.out.Path()), kPair);
      EXPECT_EQ(test::ReadFile(scene.paths.command_file), kOldCommand);
      EXPECT_EQ(test::ReadFile(scene.paths.placement_file), kOldPlacement);
    } else {
      EXPECT_EQ(test::ListFolder(scene.out.Path()), std::vector<std::string>{});
    }
  }
  std::printf("[ failure points: %d operations of one import, each failed in turn ]\n", operations);
  RecordProperty("failure_points", operations);
}

INSTANTIATE_TEST_SUITE_P(Protocols, FailurePoints,
                         ::testing::Values(Protocol{true, true}, Protocol{true, false}, Protocol{false, true},
                                           Protocol{false, false}),
                         [](const auto& info) {
                           return std::string(info.param.exchange ? "Exchange" : "SetAside") +
                                  (info.param.old_pair ? "OverAnOldPair" : "IntoAnEmptyFolder");
                         });

// Faults in a chosen order: the folder afterwards, name by name (a pattern, "*" for a
// token), with what each file holds.
TEST(FailurePoints, EndAsTabled) {
  const std::string kNew = "<new>";
  const struct {
    const char* what;
    bool exchange;
    std::vector<std::tuple<std::string, int, Kind>> faults;
    ImportStatus status;
    std::string message;  // a pattern; OUT is the folder, * a token
    std::vector<std::pair<std::string, std::string>> folder;
    int paused;
  } cases[] = {
      {"undoing an exchange fails", true, {{"Exchange", 2, Kind::Failed}, {"Exchange", 3, Kind::Failed}},
       ImportStatus::CannotWrite,
       "cannot replace OUT/posimport.txt: Input/output error; putting the previous files back failed too "
       "(Input/output error): OUT/csvimprt.txt is the new one, the previous one is OUT/csvimprt.txt.*.dorvan-new; "
       "OUT/posimport.txt is the previous one",
       {{"csvimprt.txt", kNew}, {"csvimprt.txt.*.dorvan-new", kOldCommand}, {"posimport.txt", kOldPlacement},
        {"posimport.txt.*.dorvan-new", kNew}},
       0},
      {"undoing a set-aside replacement fails", false, {{"Rename", 4, Kind::Failed}, {"Rename", 5, Kind::Failed}},
       ImportStatus::CannotWrite,
       "cannot replace OUT/posimport.txt: Input/output error; putting the previous files back failed too "
       "(Input/output error): OUT/csvimprt.txt is the new one, the previous one is OUT/csvimprt.txt.*.dorvan-old; "
       "OUT/posimport.txt is missing, the previous one is OUT/posimport.txt.*.dorvan-old",
       {{"csvimprt.txt", kNew}, {"csvimprt.txt.*.dorvan-old", kOldCommand}, {"posimport.txt.*.dorvan-new", kNew},
        {"posimport.txt.*.dorvan-old", kOldPlacement}},
       0},
      {"a file busy for the last try", false,
       {{"Rename", 2, Kind::Busy}, {"Rename", 3, Kind::Busy}, {"Rename", 4, Kind::Busy}, {"Rename", 5, Kind::Busy},
        {"Rename", 6, Kind::Busy}, {"Rename", 7, Kind::Busy}, {"Rename", 8, Kind::Busy}, {"Rename", 9, Kind::Busy}},
       ImportStatus::Imported, "", {{"csvimprt.txt", kNew}, {"posimport.txt", kNew}}, 2000},
      {"a file busy beyond the last try", false,
       {{"Rename", 2, Kind::Busy}, {"Rename", 3, Kind::Busy}, {"Rename", 4, Kind::Busy}, {"Rename", 5, Kind::Busy},
        {"Rename", 6, Kind::Busy}, {"Rename", 7, Kind::Busy}, {"Rename", 8, Kind::Busy}, {"Rename", 9, Kind::Busy},
        {"Rename", 10, Kind::Busy}},
       ImportStatus::CannotWrite, "cannot replace OUT/posimport.txt: Input/output error",
       {{"csvimprt.txt", kOldCommand}, {"posimport.txt", kOldPlacement}}, 2000},
      {"another import holds the folder", true, {{"LockFolder", 1, Kind::TimedOut}}, ImportStatus::CannotWrite,
       "cannot replace OUT/csvimprt.txt: another import into its folder took more than 10 s",
       {{"csvimprt.txt", kOldCommand}, {"posimport.txt", kOldPlacement}}, 0},
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
    FaultyFileSystem faulty(c.exchange);
    for (const auto& [operation, call, kind] : c.faults) faulty.Fail(operation, call, kind);
    const UsingFileSystem using_it(faulty);
    const auto result = ImportMarker(scene.marker, scene.paths);
    EXPECT_EQ(result.status, c.status);
    EXPECT_TRUE(std::regex_match(result.message, pattern(c.message))) << result.message;
    EXPECT_EQ(faulty.Paused(), c.paused);
    const std::vector<std::string> names = test::ListFolder(scene.out.Path());
    ASSERT_EQ(names.size(), c.folder.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_TRUE(std::regex_match(scene.out / names[i], pattern("OUT/" + c.folder[i].first))) << names[i];
      const std::string bytes = test::ReadFile(scene.out / names[i]);
      const std::string expected = c.folder[i].second != kNew ? c.folder[i].second
                                   : names[i].rfind("csv", 0) == 0 ? test::ReadFile(kExpected + "csvimprt.txt")
                                                                   : test::ReadFile(kExpected + "posimport.txt");
      EXPECT_EQ(bytes, expected) << names[i];
    }
  }
}
