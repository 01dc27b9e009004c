// SPDX-License-Identifier: MIT
#include "marker/marker_document.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/marker_fixture.hpp"

using dorvan_marker::CodePage;
using dorvan_marker::CSection;
using dorvan_marker::InvalidArgumentError;
using test::ParsedMarker;

TEST(MarkerDocument, FindsSectionsAndFieldsByExactTags) {
  ParsedMarker marker("VMDL:VNMD\n1:ALPHA\n1:BETA\n");
  const CSection* models = marker->FindSection("VMDL");
  ASSERT_NE(models, nullptr);
  ASSERT_EQ(models->size(), 2u);
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "VNMD"), "ALPHA");
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[1], "VNMD"), "BETA");
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "VMDL"), "1") << "the section's own tag gives the number";
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "vnmd"), "");
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "XXXX"), "");
  EXPECT_EQ(marker->FindSection("vmdl"), nullptr);
  EXPECT_EQ(marker->FindSection("VMD"), nullptr);
}

TEST(MarkerDocument, GivesAnEmptyValueForAShortRecord) {
  ParsedMarker marker("VMDL:VNUM:VNMD\n1:7\n");
  const CSection* models = marker->FindSection("VMDL");
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "VNUM"), "7");
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "VNMD"), "");
}

TEST(MarkerDocument, TakesTheFirstOfTwoHeadersWithOneTag) {
  ParsedMarker marker("VMDL:VNMD\nVMDL:VNMD\n1:FIRST\n2:SECOND\n");
  const CSection* models = marker->FindSection("VMDL");
  ASSERT_EQ(models->size(), 1u);
  EXPECT_EQ(marker->GetFieldValue(*models, (*models)[0], "VNMD"), "FIRST");
}

TEST(MarkerDocument, ReturnsASectionWithoutRecords) {
  ParsedMarker marker("VMDL:VNMD\nIGEO:INUM\n2:1\n");
  const CSection* models = marker->FindSection("VMDL");
  ASSERT_NE(models, nullptr);
  EXPECT_EQ(models->size(), 0u);
}

TEST(MarkerDocument, RaisesForAHeaderNoRecordReaches) {
  ParsedMarker marker("PLC:PNAM\nLEZ:LLEZ\nIGEO:INUM\n1:a\n2:1500\n", "/m/lay.txt");
  try {
    marker->FindSection("IGEO");
    FAIL();
  } catch (const InvalidArgumentError& error) {
    EXPECT_STREQ(error.what(),
                 "/m/lay.txt:3: \"IGEO\": header record 3 names section \"IGEO\", but no numbered record carries 3 or "
                 "a higher number");
  }
}

TEST(MarkerDocument, LooksUpTheSectionsAnImportNeedsInOrder) {
  // The sections of `reached` are reached by a numbered record, those of `unreached`
  // come after the last numbered record, so asking for one raises: a row shows which
  // lookup decides and that none after it is asked.
  enum Answer { kNoModels, kModels, kMalformed };
  const struct {
    const char* name;
    const char* reached;
    const char* unreached;
    Answer answer;
    const char* missing;  // MissingSections, for a refused marker
  } cases[] = {
      {"no IGEO decides", "", "IBA:A\nVART:A\nVVET:A\nVMDL:A\n", kNoModels, "\"IGEO\""},
      {"an unreached IGEO decides", "", "IGEO:A\n", kMalformed, ""},
      {"no IBA decides", "IGEO:A\n", "VART:A\nVVET:A\nVMDL:A\n", kNoModels, "\"IBA\""},
      {"no VART decides", "IGEO:A\nIBA:A\n", "VVET:A\nVMDL:A\n", kNoModels, "\"VART\""},
      {"VVET decides", "IGEO:A\nIBA:A\nVART:A\nVVET:A\n", "VMDL:A\n", kModels, ""},
      {"VMDL without VVET", "IGEO:A\nIBA:A\nVART:A\nVMDL:A\n", "", kModels, ""},
      {"an unreached VMDL without VVET", "IGEO:A\nIBA:A\nVART:A\n", "VMDL:A\n", kMalformed, ""},
      {"neither VVET nor VMDL", "IGEO:A\nIBA:A\nVART:A\n", "", kNoModels, "\"VVET\" or \"VMDL\""},
      {"nothing", "", "", kNoModels, "\"IGEO\", \"IBA\", \"VART\", \"VVET\" or \"VMDL\""},
  };
  for (const auto& c : cases) {
    const std::string reached = c.reached;
    const std::string last_number = std::to_string(std::count(reached.begin(), reached.end(), '\n'));
    ParsedMarker marker(reached + last_number + ":x\n" + c.unreached);
    if (c.answer == kMalformed) {
      EXPECT_THROW(marker->HasModels(), InvalidArgumentError) << c.name;
      continue;
    }
    EXPECT_EQ(marker->HasModels(), c.answer == kModels) << c.name;
    std::string missing;
    for (const std::string& section : marker->MissingSections()) missing += (missing.empty() ? "" : ", ") + section;
    EXPECT_EQ(missing, c.missing) << c.name;
  }
}

TEST(MarkerDocument, ReadsTheFabricWidth) {
  const struct {
    const char* text;
    double width;
    bool given;
  } cases[] = {
      {"", 13608.0, false},
      {"LEZ:LLEZ\n1:1500\n", 150.0, true},
      {"LEZ:LLEZ\n1:1500.5\n1:99\n", 150.05, true},
      {"LEZ:LLEZ\n1:\n", 0.0, true},
      {"LEZ:OTHER\n1:1500\n", 0.0, true},
      {"LEZ:LLEZ\nX:Y\n2:1\n", 13608.0, false},
      {"LEZ:LLEZ\n1:abc\n", 0.0, true},
  };
  for (const auto& c : cases) {
    ParsedMarker marker(c.text);
    EXPECT_DOUBLE_EQ(marker->Width, c.width) << c.text;
    EXPECT_EQ(marker->WidthGiven, c.given) << c.text;
  }
  // A "LEZ" header that no numbered record reaches makes the marker malformed.
  EXPECT_THROW(ParsedMarker("LEZ:LLEZ\n"), InvalidArgumentError);
}

TEST(MarkerDocument, TitleIsTheNormalisedFileName) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"/lays/spring.lay 2.txt", "SPRING-LAY 2"},
      {"jacket.txt", "JACKET"},
      {"/a.b/jacket", "JACKET"},
      {"/lays/.hidden", ""},
      {"/lays/x.tar.gz", "X-TAR"},
      {"/lays/", ""},
  };
  for (const auto& c : cases) {
    dorvan_marker::MarkerDocument document(c.path, nullptr, CodePage());
    EXPECT_EQ(document.Title, c.title) << c.path;
  }
  dorvan_marker::MarkerDocument long_name("/x/" + std::string(300, 'a') + ".txt", nullptr, CodePage());
  EXPECT_EQ(long_name.Title, std::string(255, 'A'));
}

TEST(MarkerDocument, DestroysItsLoaderFirst) {
  // The loader looks at the document while it is destroyed: its records, path and title
  // must all still be there (the sanitizer build catches a read of a freed table, should
  // the order ever change).
  std::vector<std::string> calls;
  struct Watch final : test::FakeLoader {
    using FakeLoader::FakeLoader;
    const dorvan_marker::MarkerDocument* document = nullptr;
    ~Watch() override {
      const dorvan_marker::CSection* models = document->FindSection("VMDL");
      calls->push_back(document->Path() + " " + document->Title + " " +
                       std::string(document->GetFieldValue(*models, (*models)[0], "VNMD")));
    }
  };
  {
    auto watch = std::make_unique<Watch>(&calls);
    Watch& watching = *watch;
    dorvan_marker::MarkerDocument document("/m/a long enough marker path.txt", std::move(watch), CodePage());
    watching.document = &document;
    dorvan_marker::TextFile file;
    file.OpenText("VMDL:VNUM:VNMD\n1:1:a model name longer than any short string\n");
    document.Parse(file);
  }
  EXPECT_EQ(calls, std::vector<std::string>{
                       "/m/a long enough marker path.txt A LONG ENOUGH MARKER PATH a model name longer than any short "
                       "string"});
}
