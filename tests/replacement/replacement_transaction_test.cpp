// SPDX-License-Identifier: MIT
// The replacement protocol at its own seam, on plain files that stand for the host files:
// every file operation failing in turn leaves the new pair or exactly the old one and
// nothing else, whether the previous files are exchanged or (as on Windows) set aside;
// what dead replacements left is removed; processes at once leave one pair.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <regex>
#include <utility>

#include "dorvan_marker/error.hpp"
#include "platform/native_file_system.hpp"
#include "replacement/replacement_lock.hpp"
#include "replacement/replacement_transaction.hpp"
#include "support/test_support.hpp"

using dorvan_marker::FileOutcome;
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
  int Calls(const std::string& operation) { return calls_[operation]; }
  const std::string& Failed() const { return failed_; }
  int Paused() const { return paused_; }

  FileOutcome CreateHeld(Path p, Handle& h) override {
    return Call("CreateHeld", [&] { return os_.CreateHeld(p, h); });
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

const std::string kOldCommand = "old command file\r\n";
const std::string kOldPlacement = "old placement file\r\n";
const std::vector<std::string> kNew{"new command file\r\n", "new placement file\r\n"};

// The pair of writer k: large enough that writers at once overlap.
std::vector<std::string> PairOf(int k) {
  return {std::string(200000, static_cast<char>('a' + k)) + "0", std::string(200000, static_cast<char>('a' + k)) + "1"};
}
const std::vector<std::string> kPair{"csvimprt.txt", "posimport.txt"};

// A folder with the old pair (or none).
struct Scene {
  test::TempDir out;
  std::vector<std::string> targets{out / "csvimprt.txt", out / "posimport.txt"};

  void Reset(bool old_pair) {
    for (const std::string& name : test::ListFolder(out.Path())) std::remove((out / name).c_str());
    if (!old_pair) return;
    test::WriteFile(targets[0], kOldCommand);
    test::WriteFile(targets[1], kOldPlacement);
  }
  bool HasNewPair() const { return test::ReadFile(targets[0]) == kNew[0] && test::ReadFile(targets[1]) == kNew[1]; }
};

// Replaces the targets by contents as an import does, through the current file system:
// the new files written where the transaction staged them, then put in place. Empty, or
// why it failed.
std::string Replace(const std::vector<std::string>& targets, const std::vector<std::string>& contents = kNew) {
  try {
    dorvan_marker::ReplacementTransaction transaction(targets);
    for (std::size_t i = 0; i < targets.size(); ++i) {
      const dorvan_marker::WritableFile file = transaction.Staged(i);
      const FileOutcome written = file.file_system->Write(file.handle, contents[i].data(), contents[i].size());
      if (!written.Ok()) throw dorvan_marker::HostFileError("cannot write " + file.path + ": " + written.reason);
    }
    transaction.Commit();
    return {};
  } catch (const dorvan_marker::HostFileError& error) {
    return error.what();
  }
}

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
  const std::string counted = Replace(scene.targets);
  UseFileSystem(nullptr);
  ASSERT_EQ(counted, "");
  ASSERT_TRUE(scene.HasNewPair());
  ASSERT_EQ(test::ListFolder(scene.out.Path()), kPair);
  const int operations = counting.Operations();
  for (int k = 1; k <= operations; ++k) {
    scene.Reset(protocol.old_pair);
    FaultyFileSystem faulty(protocol.exchange, k);
    UseFileSystem(&faulty);
    const std::string failure = Replace(scene.targets);
    UseFileSystem(nullptr);
    SCOPED_TRACE("operation " + std::to_string(k) + ", " + faulty.Failed() + ": " + failure);
    ASSERT_NE(faulty.Failed(), "") << "every operation of the first run is reached again";
    if (failure.empty()) {
      EXPECT_TRUE(scene.HasNewPair());
      // Only a previous file that could not be removed after success may stay, and the
      // next import removes it.
      if (test::ListFolder(scene.out.Path()) == kPair) continue;
      EXPECT_EQ(faulty.Failed(), "Remove");
      ASSERT_EQ(Replace(scene.targets), "");
      EXPECT_EQ(test::ListFolder(scene.out.Path()), kPair);
      continue;
    }
    EXPECT_EQ(test::ListFolder(scene.out.Path()), protocol.old_pair ? kPair : std::vector<std::string>{});
    if (!protocol.old_pair) continue;
    EXPECT_EQ(test::ReadFile(scene.targets[0]), kOldCommand);
    EXPECT_EQ(test::ReadFile(scene.targets[1]), kOldPlacement);
  }
  std::printf("[ failure points: %d operations of one replacement, each failed in turn ]\n", operations);
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
  const std::string kNewFile = "<the new file>";
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
       {{"csvimprt.txt", kNewFile},
        {"csvimprt.txt.*.dorvan-new", kOldCommand},
        {"posimport.txt", kOldPlacement},
        {"posimport.txt.*.dorvan-new", kNewFile}},
       0},
      {"undoing a set-aside replacement fails",
       false,
       {{"Rename", 4, 2}},
       kUndoFailed + "the previous one is OUT/csvimprt.txt.*.dorvan-old; OUT/posimport.txt is missing, the previous "
                     "one is OUT/posimport.txt.*.dorvan-old",
       {{"csvimprt.txt", kNewFile},
        {"csvimprt.txt.*.dorvan-old", kOldCommand},
        {"posimport.txt.*.dorvan-new", kNewFile},
        {"posimport.txt.*.dorvan-old", kOldPlacement}},
       0},
      {"a file busy until the last try",
       false,
       {{"Rename", 2, 8, Kind::Busy}},
       "",
       {{"csvimprt.txt", kNewFile}, {"posimport.txt", kNewFile}},
       2000},
      {"a file busy beyond the last try",
       false,
       {{"Rename", 2, 9, Kind::Busy}},
       "cannot replace OUT/posimport.txt: Input/output error",
       {{"csvimprt.txt", kOldCommand}, {"posimport.txt", kOldPlacement}},
       2000},
      {"a write the system deferred fails when the file is closed",
       true,
       {{"Close", 1, 1}},
       "cannot write OUT/csvimprt.txt.*.dorvan-new: Input/output error",
       {{"csvimprt.txt", kOldCommand}, {"posimport.txt", kOldPlacement}},
       0},
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
    const std::string failure = Replace(scene.targets);
    UseFileSystem(nullptr);
    EXPECT_TRUE(std::regex_match(failure, pattern(c.message))) << failure;
    EXPECT_EQ(faulty.Paused(), c.paused_ms);
    const std::vector<std::string> names = test::ListFolder(scene.out.Path());
    ASSERT_EQ(names.size(), c.folder.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_TRUE(std::regex_match(scene.out / names[i], pattern("OUT/" + c.folder[i].first))) << names[i];
      const std::string& new_file = kNew[names[i].rfind("csv", 0) == 0 ? 0 : 1];
      EXPECT_EQ(test::ReadFile(scene.out / names[i]), c.folder[i].second == kNewFile ? new_file : c.folder[i].second)
          << names[i];
    }
  }
}

// One folder spelled two ways is one folder: locked once, and the replacement goes through.
TEST(ReplacementLock, TakesEachFolderOnceHoweverSpelled) {
  test::TempDir out;
  FaultyFileSystem counting(true, 0);
  UseFileSystem(&counting);
  const std::string failure = Replace({out / "csvimprt.txt", out / "./posimport.txt"});
  UseFileSystem(nullptr);
  EXPECT_EQ(failure, "");
  EXPECT_EQ(counting.Calls("LockFolder"), 1);
}

TEST(LeftoverFiles, TheNextReplacementRemovesOnlyDeadOnesFiles) {
  const struct {
    const char* name;
    bool held;  // by a running replacement
    bool removed;
  } cases[] = {
      {"csvimprt.txt.0123456789abcdef.dorvan-new", false, true},
      {"posimport.txt.fedcba9876543210.dorvan-old", false, true},
      {"posimport.txt.00000000000000aa.dorvan-new", true, false},
      {"csvimprt.txt.0123456789ABCDEF.dorvan-new", false, false},
      {"csvimprt.txt.0123456789abcde.dorvan-new", false, false},
      {"csvimprt.txt.0123456789abcdef.dorvan-new.bak", false, false},
      {"csvimprt.txt.0123456789abcdef.dorvan-tmp", false, false},
      {"other.txt.0123456789abcdef.dorvan-new", false, false},
      {"csvimprt.txt.partial", false, false},
  };
  Scene scene;
  dorvan_marker::NativeFileSystem file_system;
  std::vector<SystemHandle> held;
  std::vector<std::string> expected = kPair;
  for (const auto& c : cases) {
    SystemHandle handle = dorvan_marker::kNoHandle;
    ASSERT_TRUE(file_system.CreateHeld(scene.out / c.name, handle).Ok()) << c.name;
    c.held ? held.push_back(handle) : (void)file_system.Close(handle);
    if (!c.removed) expected.push_back(c.name);
  }
  ASSERT_EQ(Replace(scene.targets), "");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::ListFolder(scene.out.Path()), expected);
  for (const auto handle : held) file_system.Close(handle);
}

// Processes replacing one folder's pair at once: every replacement succeeds, and the folder
// ends with the two files of one and the same process.
TEST(ConcurrentReplacements, ProcessesIntoOneFolderLeaveOnePair) {
  constexpr int kProcesses = 6;
  constexpr int kRounds = 25;
  Scene scene;
  int failed = 0;
  int mixed_rounds = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> children;
    for (int k = 0; k < kProcesses; ++k) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) _exit(Replace(scene.targets, PairOf(k)).empty() ? 0 : 1);
      children.push_back(child);
    }
    for (const pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      failed += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    const std::string command = test::ReadFile(scene.targets[0]);
    const bool one_pair =
        test::ListFolder(scene.out.Path()) == kPair && !command.empty() &&
        std::vector<std::string>{command, test::ReadFile(scene.targets[1])} == PairOf(command[0] - 'a');
    mixed_rounds += one_pair ? 0 : 1;
  }
  EXPECT_EQ(failed, 0) << "of " << kRounds * kProcesses;
  EXPECT_EQ(mixed_rounds, 0) << "of " << kRounds;
  std::printf("[ %d processes x %d rounds: %d replacements failed, %d rounds left another pair ]\n", kProcesses,
              kRounds, failed, mixed_rounds);
}
