// SPDX-License-Identifier: MIT
// Each article's size and the marker's distinct sizes, resolved through the model files.
#include <gtest/gtest.h>

#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"

using dorvan_marker::CStringArray;
using dorvan_marker::InvalidArgumentError;
using test::MarkerText;
using test::ParsedMarker;
using Calls = std::vector<std::string>;

namespace {

// Articles of one model J (file /m/J.mdl, sizes S, M, L) with "VET" codes `codes`.
std::string VetMarker(const std::vector<std::string>& codes, const std::string& vcta = "") {
  std::vector<MarkerText::Row> articles, garments;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    articles.push_back({"VET", "J"});
    garments.push_back({std::to_string(i + 1), codes[i], "J", vcta});
  }
  return MarkerText()
      .Section("VART", {"VEXT", "VGFN"}, articles)
      .Section("VVET", {"VNUM", "VTAI", "VTBA", "VCTA"}, garments)
      .Text();
}

}  // namespace

TEST(ReadArticleSizeCodes, FollowsTheArticleKinds) {
  const std::string with_both =
      MarkerText()
          .Section("VART", {"VEXT"}, {{"MDL"}, {"mDl"}, {"VET"}, {"vet"}, {""}, {"xin"}, {"XIN"}, {"other"}})
          .Section("VMDL", {"VTAN"}, {{"38"}, {""}, {"x"}, {"x"}, {"x"}, {"x"}, {"x"}, {"x"}})
          .Section("VVET", {"VTAI"}, {{"y"}, {"y"}, {"40"}, {""}, {"42"}, {"y"}, {"y"}, {"y"}})
          .Text();
  ParsedMarker marker(with_both);
  CStringArray codes;
  dorvan_marker::ReadArticleSizeCodes(*marker, codes);
  EXPECT_EQ(codes, (CStringArray{"38", "-1", "40", "-1", "42", "-1", "", ""}));

  const std::string without_vvet = MarkerText()
                                       .Section("VART", {"VEXT"}, {{"MDL"}, {"VET"}, {""}, {"xin"}, {"other"}})
                                       .Section("VMDL", {"VTAN"}, {{"38"}, {"x"}, {"x"}, {"x"}, {"x"}})
                                       .Text();
  ParsedMarker no_garments(without_vvet);
  codes.clear();
  dorvan_marker::ReadArticleSizeCodes(*no_garments, codes);
  EXPECT_EQ(codes, (CStringArray{"38", "-1", "-1", "-1", ""}));

  ParsedMarker no_models(MarkerText().Section("VART", {"VEXT"}, {{"MDL"}}).Section("VVET", {"VTAI"}, {{"5"}}).Text());
  codes.clear();
  dorvan_marker::ReadArticleSizeCodes(*no_models, codes);
  EXPECT_EQ(codes, CStringArray{"-1"});
}

TEST(ReadArticleSizeCodes, RaisesForAnArticleWithoutItsRecord) {
  ParsedMarker short_vmdl(
      MarkerText().Section("VART", {"VEXT"}, {{"MDL"}, {"MDL"}}).Section("VMDL", {"VTAN"}, {{"1"}}).Text());
  CStringArray codes;
  EXPECT_THROW(dorvan_marker::ReadArticleSizeCodes(*short_vmdl, codes), InvalidArgumentError);
  ParsedMarker short_vvet(
      MarkerText().Section("VART", {"VEXT"}, {{"VET"}, {""}}).Section("VVET", {"VTAI"}, {{"1"}}).Text());
  codes.clear();
  try {
    dorvan_marker::ReadArticleSizeCodes(*short_vvet, codes);
    FAIL();
  } catch (const InvalidArgumentError& error) {
    EXPECT_STREQ(error.what(),
                 "/m/marker.txt:3: \"VART\" record 2: article of kind \"\" has no \"VVET\" record at its position "
                 "(\"VVET\" has 1 records)");
  }
}

TEST(BuildSizeLists, ResolvesCodesToSizeNames) {
  const struct {
    const char* name;
    std::vector<std::string> codes;
    std::vector<std::string> sizes;  // the model's size list
    CStringArray article_sizes;
    CStringArray distinct;
  } cases[] = {
      {"the worked case", {"0", "1", "0"}, {"S", "M", "L"}, {"S", "M", "S"}, {"S", "M"}},
      {"prefix digits", {"2abc", "   3"}, {"A", "B", "C", "D"}, {"C", "D"}, {"C", "D"}},
      {"order of first occurrence", {"1", "0", "1", "2"}, {"S", "M", "L"}, {"M", "S", "M", "L"}, {"M", "S", "L"}},
      {"letter case matters", {"0", "1"}, {"m", "M"}, {"m", "M"}, {"m", "M"}},
      {"an empty model list leaves codes", {"7", "-1", "x"}, {}, {"7", "-1", "x"}, {"7", "-1", "x"}},
      {"a size name holding | splits when met again",
       {"0", "0", "1"},
       {"a|b", "M"},
       {"a|b", "a", "b"},
       {"a|b", "a", "b"}},
  };
  for (const auto& c : cases) {
    ParsedMarker marker(VetMarker(c.codes));
    marker.loader->sizes["/m/J.mdl"] = c.sizes;
    EXPECT_TRUE(dorvan_marker::BuildSizeLists(*marker)) << c.name;
    EXPECT_EQ(marker->ArticleSizes, c.article_sizes) << c.name;
    EXPECT_EQ(marker->Sizes, c.distinct) << c.name;
  }
}

TEST(BuildSizeLists, ReadsEachModelOnceAndRetriesFailedOnes) {
  const std::string text =
      MarkerText()
          .Section("VART", {"VEXT", "VGFN"},
                   {{"VET", "J"},
                    {"VET", "K"},
                    {"VET", "J"},
                    {"VET", "j"},
                    {"VET", "GONE"},
                    {"VET", "GONE"},
                    {"VET", "E"},
                    {"VET", "E"}})
          .Section("VVET", {"VNUM", "VTAI", "VTBA"},
                   {{"1", "0"}, {"2", "1"}, {"3", "1"}, {"4", "0"}, {"5", "0"}, {"6", "4"}, {"7", "9"}, {"8", "-1"}})
          .Text();
  ParsedMarker marker(text);
  marker.loader->sizes["/m/J.mdl"] = {"S", "M"};
  marker.loader->sizes["/m/K.mdl"] = {"38", "40"};
  marker.loader->sizes["/m/j.mdl"] = {"s"};
  marker.loader->sizes["/m/E.mdl"] = {};
  dorvan_marker::BuildSizeLists(*marker);
  EXPECT_EQ(marker->ArticleSizes, (CStringArray{"S", "40", "M", "s", "0", "4", "9", "-1"}));
  EXPECT_EQ(marker->ArticleSizeCodes, (CStringArray{"0", "1", "1", "0", "0", "4", "9", "-1"}));
  EXPECT_EQ(marker.calls, (Calls{"Open(/m/J.mdl)=1", "GetSizesFromMDL=1", "Open(/m/K.mdl)=1", "GetSizesFromMDL=1",
                                 "Open(/m/j.mdl)=1", "GetSizesFromMDL=1", "Open(/m/GONE.mdl)=0", "Open(/m/GONE.mdl)=0",
                                 "Open(/m/E.mdl)=1", "GetSizesFromMDL=1"}));
}

TEST(BuildSizeLists, TakesTheModelFromVtbaOrTheArticleVnumPointsTo) {
  const std::string text =
      MarkerText()
          .Section("VART", {"VEXT", "VGFN"}, {{"VET", "FROMVART1"}, {"VET", "FROMVART2"}, {"VET", ""}})
          .Section("VVET", {"VNUM", "VTAI", "VTBA"}, {{"2", "0", ""}, {"1", "0", "OWN"}, {"3", "0", ""}})
          .Text();
  ParsedMarker marker(text);
  marker.loader->sizes["/m/FROMVART2.mdl"] = {"A"};
  marker.loader->sizes["/m/OWN.mdl"] = {"B"};
  dorvan_marker::BuildSizeLists(*marker);
  EXPECT_EQ(marker->ArticleSizes, (CStringArray{"A", "B", "0"})) << "an empty base name leaves the code";
  EXPECT_EQ(marker.calls,
            (Calls{"Open(/m/FROMVART2.mdl)=1", "GetSizesFromMDL=1", "Open(/m/OWN.mdl)=1", "GetSizesFromMDL=1"}));
}

TEST(BuildSizeLists, KeepsFixedArticlesAsRead) {
  // Every article fixed: no model file is read at all.
  ParsedMarker all_fixed(VetMarker({"0", "99"}, "0"));
  all_fixed.loader->sizes["/m/J.mdl"] = {"S"};
  dorvan_marker::BuildSizeLists(*all_fixed);
  EXPECT_EQ(all_fixed->ArticleSizes, (CStringArray{"0", "99"}));
  EXPECT_TRUE(all_fixed.calls.empty());

  // A fixed article keeps a code that is no valid position, and a size name equal to a
  // fixed article's code is not put in.
  const std::string text =
      MarkerText()
          .Section("VART", {"VEXT", "VGFN"}, {{"VET", "J"}, {"VET", "J"}, {"VET", "J"}, {"VET", "J"}})
          .Section("VVET", {"VNUM", "VTAI", "VTBA", "VCTA"},
                   {{"1", "99", "J", "0"}, {"2", "M", "J", "0"}, {"3", "1", "J", ""}, {"4", "2", "J", "00"}})
          .Text();
  ParsedMarker marker(text);
  marker.loader->sizes["/m/J.mdl"] = {"S", "M", "L"};
  dorvan_marker::BuildSizeLists(*marker);
  EXPECT_EQ(marker->ArticleSizes, (CStringArray{"99", "M", "1", "L"}));
  EXPECT_EQ(marker->Sizes, (CStringArray{"99", "M", "1", "L"}));
}

TEST(BuildSizeLists, LeavesCodesWithoutVvet) {
  ParsedMarker marker(MarkerText()
                          .Section("VART", {"VEXT"}, {{"MDL"}, {"MDL"}, {"x"}})
                          .Section("VMDL", {"VTAN"}, {{"38"}, {""}, {""}})
                          .Text());
  dorvan_marker::BuildSizeLists(*marker);
  EXPECT_EQ(marker->ArticleSizes, (CStringArray{"38", "-1", ""}));
  EXPECT_EQ(marker->Sizes, (CStringArray{"38", "-1", ""}));
  EXPECT_TRUE(marker.calls.empty());
}

TEST(BuildSizeLists, RaisesWhereTheMarkerIsBroken) {
  const struct {
    const char* name;
    std::string text;
    const char* message;
  } cases[] = {
      {"no articles", MarkerText().Section("VART", {"VEXT"}, {}).Section("VMDL", {"VTAN"}, {{"1"}}).Text(),
       "/m/marker.txt: \"VART\": the articles' section holds no records"},
      {"fewer VVET records than articles",
       MarkerText()
           .Section("VART", {"VEXT"}, {{"MDL"}, {"MDL"}})
           .Section("VMDL", {"VTAN"}, {{"1"}, {"2"}})
           .Section("VVET", {"VTAI"}, {{"1"}})
           .Text(),
       "/m/marker.txt: \"VVET\": the section has 1 records for 2 articles"},
      {"VNUM outside the articles",
       MarkerText()
           .Section("VART", {"VEXT", "VGFN"}, {{"VET", "J"}})
           .Section("VVET", {"VNUM", "VTAI"}, {{"2", "0"}})
           .Text(),
       "/m/marker.txt:4: \"VVET\" record 1: \"VNUM\" \"2\" points outside the 1 articles"},
      {"a code that is no position", VetMarker({"0", "3"}),
       "/m/marker.txt:6: \"VVET\" record 2: size code \"3\" of article 2 is not a size of model \"J\", which has 3 "
       "sizes"},
      {"-1 where the model has sizes", VetMarker({"-1"}),
       "/m/marker.txt:4: \"VVET\" record 1: size code \"-1\" of article 1 is not a size of model \"J\", which has 3 "
       "sizes"},
  };
  for (const auto& c : cases) {
    ParsedMarker marker(c.text);
    marker.loader->sizes["/m/J.mdl"] = {"S", "M", "L"};
    try {
      dorvan_marker::BuildSizeLists(*marker);
      ADD_FAILURE() << c.name;
    } catch (const InvalidArgumentError& error) {
      EXPECT_STREQ(error.what(), c.message) << c.name;
    }
  }
}
