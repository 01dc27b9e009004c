// SPDX-License-Identifier: MIT
#include "models/model_file_loader.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.hpp"

using dorvan_marker::CStringArray;
using dorvan_marker::ModelFileLoader;

namespace {

const char* const kJacket =
    "# sizes first\n"
    "MSIZ:SNAM\n"
    "MPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n"
    "1:38\n1:40\n1:\n"
    "2:JACKET:1:jk-fr:Front:0.5:0.5:2\n"
    "2:JACKET:1:jk-xx:Shadowed:9:9:9\n"
    "2:JACKET:02:jk-bk::::\n"
    "2:OTHER:1:jk-fr:Other front:1:1:1\n";

class ModelFileLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteFile(dir_ / "JACKET.mdl", kJacket); }
  std::string Path(const char* name) { return dir_ / name; }

  test::TempDir dir_;
  ModelFileLoader loader_;
};

}  // namespace

TEST_F(ModelFileLoaderTest, AnswersSizesInFileOrder) {
  ASSERT_TRUE(loader_.Open(Path("JACKET.mdl").c_str()));
  CStringArray sizes;
  ASSERT_TRUE(loader_.GetSizesFromMDL(nullptr, sizes));
  EXPECT_EQ(sizes, (CStringArray{"38", "40", ""}));
}

TEST_F(ModelFileLoaderTest, FindsTheFirstPieceByNumberOrKey) {
  ASSERT_TRUE(loader_.Open(Path("JACKET.mdl").c_str()));
  std::string name = "untouched";
  EXPECT_TRUE(loader_.GetPieceNameFromMDL("JACKET", 1, name));
  EXPECT_EQ(name, "Front");
  EXPECT_TRUE(loader_.GetPieceNameFromMDL("JACKET", 2, name)) << "\"02\" reads as 2";
  EXPECT_EQ(name, "");
  name = "untouched";
  EXPECT_FALSE(loader_.GetPieceNameFromMDL("jacket", 1, name));
  EXPECT_FALSE(loader_.GetPieceNameFromMDL("JACKET", 3, name));
  EXPECT_EQ(name, "untouched");

  double rotation = 7.0, x = 1.0, y = 1.0;
  EXPECT_TRUE(loader_.GetRotationScale("JACKET", 1, &rotation, &x, &y));
  EXPECT_EQ(rotation, 0.5);
  EXPECT_EQ(x, 0.5);
  EXPECT_EQ(y, 2.0);
  rotation = 7.0, x = 1.0, y = 1.0;
  EXPECT_TRUE(loader_.GetRotationScale("JACKET", "jk-bk", &rotation, &x, &y));
  EXPECT_EQ(rotation, 0.0) << "an empty rotation reads as 0";
  EXPECT_EQ(x, 1.0) << "an empty factor leaves 1.0";
  EXPECT_EQ(y, 1.0);
  rotation = 7.0;
  EXPECT_TRUE(loader_.GetRotationScale("OTHER", "jk-fr", &rotation, &x, &y));
  EXPECT_EQ(rotation, 1.0);
  rotation = 7.0;
  EXPECT_FALSE(loader_.GetRotationScale("JACKET", "JK-FR", &rotation, &x, &y));
  EXPECT_EQ(rotation, 7.0) << "outputs are untouched on false";
}

TEST_F(ModelFileLoaderTest, AnswersFalseAfterAFailedOpen) {
  test::WriteFile(Path("BROKEN.mdl"), "MSIZ:SNAM\nMPCE:VGFN\n1:x\n");  // MPCE reached by no record
  test::WriteFile(Path("BIG.mdl"), "MSIZ:SNAM\n99999999999:x\n");
  test::WriteFile(Path("EMPTY.mdl"), "");
  const struct {
    std::string path;
    bool opens;
    std::size_t sizes;
  } cases[] = {
      {Path("MISSING.mdl"), false, 0},
      {dir_.Path(), false, 0},  // a folder
      {Path("BIG.mdl"), false, 0},
      {Path("EMPTY.mdl"), true, 0},
      {dir_.Path() + "/" + std::string(260, 'x') + ".mdl", false, 0},  // beyond 259 characters
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(loader_.Open(Path("JACKET.mdl").c_str()));
    EXPECT_EQ(loader_.Open(c.path.c_str()), c.opens) << c.path;
    CStringArray sizes;
    EXPECT_EQ(loader_.GetSizesFromMDL(nullptr, sizes), c.opens) << c.path;
    EXPECT_EQ(sizes.size(), c.sizes) << c.path;
    std::string name;
    EXPECT_FALSE(loader_.GetPieceNameFromMDL("JACKET", 1, name)) << c.path;
  }
  // A header that no record reaches makes the whole file unreadable.
  EXPECT_FALSE(loader_.Open(Path("BROKEN.mdl").c_str()));
}

TEST_F(ModelFileLoaderTest, ReadsEachFileOncePerLoader) {
  ASSERT_TRUE(loader_.Open(Path("JACKET.mdl").c_str()));
  test::WriteFile(Path("JACKET.mdl"), "MSIZ:SNAM\n1:XS\n");
  ASSERT_TRUE(loader_.Open(Path("JACKET.mdl").c_str()));
  CStringArray sizes;
  ASSERT_TRUE(loader_.GetSizesFromMDL(nullptr, sizes));
  EXPECT_EQ(sizes.size(), 3u) << "the second open is answered from memory";
  ModelFileLoader fresh;
  ASSERT_TRUE(fresh.Open(Path("JACKET.mdl").c_str()));
  sizes.clear();
  ASSERT_TRUE(fresh.GetSizesFromMDL(nullptr, sizes));
  EXPECT_EQ(sizes, CStringArray{"XS"}) << "a new import reads the file anew";
}

TEST_F(ModelFileLoaderTest, NamesEachFailedPathOnceWhateverTheOrderOfOpens) {
  // Opens in a row of the same path are answered at once; the list of failures must not
  // depend on that: "" and a missing file, each asked twice in a row and again later.
  const std::string missing = Path("MISSING.mdl");
  const std::string jacket = Path("JACKET.mdl");
  for (const std::string& path : {std::string(), std::string(), missing, missing, jacket, missing, std::string()}) {
    EXPECT_EQ(loader_.Open(path.c_str()), path == jacket) << "'" << path << "'";
  }
  EXPECT_EQ(loader_.FailedPaths(), (std::vector<std::string>{"", missing}));
}
