// SPDX-License-Identifier: MIT
#include "platform/text_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

// What every reader of a marker asks for; on POSIX it reads like any other open.
constexpr auto kNoSharing = dorvan_marker::FileSharing::kNone;

std::vector<std::string> AllLines(const std::string& bytes) {
  dorvan_marker::TextFile file;
  file.OpenText(bytes);
  std::vector<std::string> lines;
  std::string_view line;
  while (file.ReadLine(line)) lines.emplace_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(TextFile, FollowsTheTextModeRules) {
  const struct {
    const char* name;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"empty", "", {}},
      {"line feed", "a\nb\n", {"a", "b"}},
      {"carriage return and line feed", "a\r\nb\r\n", {"a", "b"}},
      {"last line without end", "a\nb", {"a", "b"}},
      {"lone carriage return stays", "a\rb\n", {"a\rb"}},
      {"control-Z ends the file",
       std::string("a\nb\x1A"
                   "c\nd\n"),
       {"a", "b"}},
      {"empty lines count", "\n\n", {"", ""}},
      {"NUL is an ordinary byte", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) EXPECT_EQ(AllLines(c.bytes), c.lines) << c.name;
}

TEST(TextFile, CountsLines) {
  dorvan_marker::TextFile file;
  file.OpenText("a\n\nb\n");
  std::string_view line;
  ASSERT_TRUE(file.ReadLine(line));
  ASSERT_TRUE(file.ReadLine(line));
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "b");
  EXPECT_EQ(file.LineNumber(), 3u);
}

TEST(TextFile, OpensRegularFilesOnly) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "x\r\n");
  dorvan_marker::TextFile file;
  EXPECT_TRUE(file.Open(dir / "m.txt", kNoSharing));
  EXPECT_EQ(file.Text(), "x\r\n");
  EXPECT_EQ(file.Why(), "");
  // Each refusal says why, in the words a user acts on; a refusal ends what the last held.
  EXPECT_FALSE(file.Open(dir / "missing.txt", kNoSharing));
  EXPECT_EQ(file.Why(), "no such file");
  EXPECT_FALSE(file.Open(dir / "m.txt" + "/x.txt", kNoSharing));
  EXPECT_EQ(file.Why(), "no such file");
  EXPECT_FALSE(file.Open(dir.Path(), kNoSharing));
  EXPECT_EQ(file.Why(), "a folder");
  EXPECT_FALSE(file.Open("/dev/null", kNoSharing));
  EXPECT_EQ(file.Why(), "not a regular file");
  if (geteuid() != 0) {  // the superuser reads every file
    std::filesystem::permissions(dir / "m.txt", std::filesystem::perms::none);
    EXPECT_FALSE(file.Open(dir / "m.txt", kNoSharing));
    EXPECT_EQ(file.Why(), "permission denied");
    std::filesystem::permissions(dir / "m.txt", std::filesystem::perms::owner_all);
  }
  EXPECT_TRUE(file.Open(dir / "m.txt", kNoSharing));
  EXPECT_EQ(file.Why(), "");
}

TEST(TextFile, ReadsWholeFilesOfAnySize) {
  test::TempDir dir;
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{4096}, std::size_t{65543},
                           std::size_t{1} << 20}) {
    std::string bytes(size, 'x');
    for (std::size_t i = 0; i < size; i += 7) bytes[i] = static_cast<char>('a' + i % 26);
    test::WriteFile(dir / "f.txt", bytes);
    dorvan_marker::TextFile file;
    ASSERT_TRUE(file.Open(dir / "f.txt", kNoSharing)) << size;
    EXPECT_EQ(file.Text(), bytes) << size;
  }
#if defined(__linux__)
  // A file whose size says nothing of its length is read to its end all the same.
  dorvan_marker::TextFile status;
  ASSERT_TRUE(status.Open("/proc/self/status", kNoSharing));
  EXPECT_NE(status.Text().find("\nVmRSS:"), std::string::npos);
#endif
}
