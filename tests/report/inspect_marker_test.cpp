// SPDX-License-Identifier: MIT
// Reports on crafted markers: one marker for each diagnostic, each placed on its line.
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/report.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

using dorvan_marker::Diagnostic;
using dorvan_marker::MarkerReport;
using dorvan_marker::ReportStatus;
using dorvan_marker::Severity;

// One shirt article in size code 1 (M in SHIRT.mdl), one piece placed on 1 m fabric.
// {ARTICLES}, {MODELS}, {GARMENTS}, {PIECES}, {PLACEMENTS} and {TAIL} take extra lines;
// {WIDTH} takes the fabric's record.
const char* const kBase =
    "VART:VEXT:VGFN\n"
    "VMDL:VNUM:VNMD:VTAN\n"
    "VVET:VNUM:VTAI:VTBA:VCTA\n"
    "IBA:IART:INAM:VNUM:IFLG\n"
    "IGEO:INUM:IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\n"
    "LEZ:LLEZ\n"
    "1:VET:SHIRT\n{ARTICLES}"
    "2:1:SHIRT:0\n{MODELS}"
    "3:1:1:SHIRT:1\n{GARMENTS}"
    "4:sh-fr:1:1:0\n{PIECES}"
    "5:1:0:0:0:4000:5000:0\n{PLACEMENTS}"
    "{WIDTH}{TAIL}";

const char* const kShirtModel =
    "MSIZ:SNAM\n1:S\n1:M\n"
    "MPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:SHIRT:1:sh-fr:Front:0:1:1\n2:SHIRT:2:sh-bk:Back:0:1:1\n";

struct Edits {
  std::string articles, models, garments, pieces, placements, tail;
  std::string width = "6:10000\n";
};

std::string MarkerText(const Edits& e) {
  std::string text = kBase;
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"{ARTICLES}", e.articles},
                                   {"{MODELS}", e.models},
                                   {"{GARMENTS}", e.garments},
                                   {"{PIECES}", e.pieces},
                                   {"{PLACEMENTS}", e.placements},
                                   {"{WIDTH}", e.width},
                                   {"{TAIL}", e.tail}}) {
    text.replace(text.find(key), key.size(), value);
  }
  return text;
}

// 1-based line of the first line of text that begins with start.
std::size_t LineOf(const std::string& text, const std::string& start) {
  std::size_t line = 1;
  for (std::size_t at = 0; at < text.size(); ++line) {
    if (text.compare(at, start.size(), start) == 0) return line;
    const std::size_t end = text.find('\n', at);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return 0;
}

struct Inspected {
  test::TempDir dir;
  std::string text;
  dorvan_marker::MarkerSheet report;
};

void Inspect(Inspected& out, const std::string& text, const char* model = kShirtModel) {
  out.text = text;
  test::WriteFile(out.dir / "m.txt", text);
  if (model != nullptr) test::WriteFile(out.dir / "SHIRT.mdl", model);
  out.report = dorvan_marker::InspectMarkerSheet(out.dir / "m.txt");
  // The import's own reading gives the same report, whatever became of its host files.
  std::size_t placements = 0;
  dorvan_marker::MarkerSheet imported;
  dorvan_marker::ImportAndInspect(out.dir / "m.txt", dorvan_marker::HostFilePathsIn(out.dir.Path()), {}, placements,
                                  imported);
  EXPECT_EQ(dorvan_marker::InspectJson({imported}, ""), dorvan_marker::InspectJson({out.report}, "")) << text;
  // And the import that lists no placements says all else alike.
  dorvan_marker::MarkerSheet checked;
  dorvan_marker::ImportAndCheck(out.dir / "m.txt", dorvan_marker::HostFilePathsIn(out.dir.Path()), {}, placements,
                                checked);
  dorvan_marker::MarkerSheet listed = out.report;
  listed.placements.clear();
  listed.garments = 0;
  listed.garments_by_size.clear();
  EXPECT_TRUE(checked.placements.empty()) << text;
  EXPECT_EQ(dorvan_marker::InspectJson({checked}, ""), dorvan_marker::InspectJson({listed}, "")) << text;
}

std::vector<std::string> Codes(const MarkerReport& report) {
  std::vector<std::string> codes;
  for (const Diagnostic& d : report.diagnostics) codes.push_back(d.code);
  return codes;
}

}  // namespace

TEST(InspectMarker, ReportsACleanMarkerAsTheImportSeesIt) {
  Inspected m;
  Inspect(m, MarkerText({}));
  const MarkerReport& r = m.report;
  ASSERT_EQ(r.status, ReportStatus::Read);
  EXPECT_EQ(r.title, "M");
  EXPECT_DOUBLE_EQ(r.width_mm, 1000.0);
  EXPECT_DOUBLE_EQ(r.used_length_mm, 400.0);
  EXPECT_DOUBLE_EQ(r.used_width_mm, 500.0);
  EXPECT_DOUBLE_EQ(r.box_efficiency, 400.0 * 500.0 / (1000.0 * 400.0));
  ASSERT_EQ(r.sizes.size(), 1u);
  EXPECT_EQ(r.sizes[0].size, "M");
  EXPECT_EQ(r.sizes[0].placed, 1u);
  EXPECT_EQ(r.sizes[0].host_model, "M-M");
  ASSERT_EQ(r.placements.size(), 1u);
  EXPECT_EQ(r.placements[0].name, "FRONT");
  EXPECT_EQ(r.placements[0].line, LineOf(m.text, "5:1:0"));
  EXPECT_FALSE(r.placements[0].lost);
  EXPECT_EQ(r.styles, std::vector<std::string>{"SHIRT"});
  EXPECT_TRUE(r.diagnostics.empty()) << r.diagnostics[0].message;
}

TEST(InspectMarker, PlacesEachDiagnosticOnItsLine) {
  const struct {
    const char* name;
    Edits edits;
    bool with_model;
    const char* code;
    Severity severity;
    const char* line_start;  // the diagnostic's line begins with this
    const char* section;
    const char* field;
    ReportStatus status;
    const char* says = "";  // the message holds this
  } cases[] = {
      {"model file missing",
       {},
       false,
       "model-missing",
       Severity::Warning,
       "1:VET:SHIRT",
       "VART",
       "VGFN",
       ReportStatus::Read},
      {"size left a code",
       {},
       false,
       "size-unresolved",
       Severity::Warning,
       "3:1:1:SHIRT",
       "VVET",
       "VTBA",
       ReportStatus::Read},
      {"piece not in the model file",
       {.pieces = "4:sh-x:7:1:0\n", .placements = "5:2:0:4000:0:100:100:0\n"},
       true,
       "piece-name-unknown",
       Severity::Warning,
       "4:sh-x",
       "IBA",
       "INAM",
       ReportStatus::Read},
      // An article of kind MDL keeps its raw size code, which its resolved size replaced.
      {"placement lost",
       {.articles = "1:MDL:SHIRT\n",
        .models = "2:2:SHIRT:1\n",
        .garments = "3:2:1:SHIRT:1\n",
        .pieces = "4:sh-bk:2:2:0\n",
        .placements = "5:2:0:4000:0:3000:5000:0\n"},
       true,
       "placement-lost",
       Severity::Error,
       "5:2:0:4000",
       "IGEO",
       "INUM",
       ReportStatus::Read},
      // Sizes M and S in turn: the report takes each placement's geometry from where the
      // import wrote it, which is not the marker's record order.
      {"piece across the far edge",
       {.articles = "1:VET:SHIRT\n",
        .models = "2:2:SHIRT:0\n",
        .garments = "3:2:0:SHIRT:1\n",
        .pieces = "4:sh-fr:1:2:0\n",
        .placements = "5:2:0:0:0:100:100:0\n5:1:0:4000:6000:4000:5000:0\n"},
       true,
       "piece-outside-fabric",
       Severity::Warning,
       "5:1:0:4000:6000",
       "IGEO",
       "IYOR",
       ReportStatus::Read,
       "(size \"M\") lies outside the fabric: its box runs from (400.0, 600.0) to (800.0, 1100.0) mm on a width of "
       "1000.0 mm"},
      {"piece at a negative origin",
       {.placements = "5:1:0:-10:0:4000:5000:0\n"},
       true,
       "piece-outside-fabric",
       Severity::Warning,
       "5:1:0:-10",
       "IGEO",
       "IXOR",
       ReportStatus::Read,
       "from (-1.0, 0.0) to (399.0, 500.0) mm"},
      {"article of a kind without size",
       {.articles = "1:XYZ:OTHER\n", .garments = "3:2:0:OTHER:0\n"},
       true,
       "article-no-size",
       Severity::Warning,
       "1:XYZ",
       "VART",
       "VEXT",
       ReportStatus::Read},
      {"header repeated",
       {.tail = "IBA:IART\n7:x\n"},
       true,
       "duplicate-header",
       Severity::Warning,
       "IBA:IART\n",
       "IBA",
       "",
       ReportStatus::Read},
      {"records no header names",
       {.tail = "9:stray\n"},
       true,
       "orphan-section",
       Severity::Warning,
       "9:stray",
       "9",
       "",
       ReportStatus::Read},
      // A record numbered beyond "LEZ" lets its header stand without records.
      {"no fabric width",
       {.tail = "7:x\n", .width = ""},
       true,
       "fabric-width-missing",
       Severity::Warning,
       "LEZ:LLEZ",
       "LEZ",
       "LLEZ",
       ReportStatus::Read},
      // 400 x 500 and 400 x 600 mm boxes on 400 x 1000 mm of fabric: 110 %.
      {"boxes overlap",
       {.placements = "5:1:0:0:0:4000:6000:0\n"},
       true,
       "boxes-overlap",
       Severity::Warning,
       "IGEO:",
       "IGEO",
       "",
       ReportStatus::Read},
      {"reference outside its section",
       {.placements = "5:9:0:0:0:10:10:0\n"},
       true,
       "malformed",
       Severity::Error,
       "5:9:0",
       "IGEO",
       "INUM",
       ReportStatus::Malformed},
  };
  for (const auto& c : cases) {
    Inspected m;
    Inspect(m, MarkerText(c.edits), c.with_model ? kShirtModel : nullptr);
    EXPECT_EQ(m.report.status, c.status) << c.name;
    const Diagnostic* found = nullptr;
    for (const Diagnostic& d : m.report.diagnostics) {
      if (d.code == c.code) found = &d;
    }
    ASSERT_NE(found, nullptr) << c.name << ": got " << testing::PrintToString(Codes(m.report));
    EXPECT_EQ(found->severity, c.severity) << c.name;
    EXPECT_EQ(found->where.line, LineOf(m.text, c.line_start)) << c.name << ": " << found->message;
    EXPECT_NE(found->where.line, 0u) << c.name;
    EXPECT_EQ(found->where.section, c.section) << c.name;
    EXPECT_EQ(found->where.field, c.field) << c.name;
    EXPECT_EQ(found->where.file, m.dir / "m.txt") << c.name;
    EXPECT_FALSE(found->message.empty()) << c.name;
    EXPECT_NE(found->message.find(c.says), std::string::npos) << c.name << ": " << found->message;
  }
}

TEST(InspectMarker, NamesTheModelFileTriedAndTheLostPlacement) {
  Inspected missing;
  Inspect(missing, MarkerText({}), nullptr);
  ASSERT_EQ(Codes(missing.report), (std::vector<std::string>{"model-missing", "size-unresolved"}));
  EXPECT_EQ(missing.report.diagnostics[0].model_path, missing.dir / "SHIRT.mdl");
  EXPECT_EQ(missing.report.diagnostics[1].model_path, missing.dir / "SHIRT.mdl");
  // The size stays the code, so the host files hold size "1".
  ASSERT_EQ(missing.report.sizes.size(), 1u);
  EXPECT_EQ(missing.report.sizes[0].size, "1");

  Inspected lost;
  Inspect(lost, MarkerText({.articles = "1:MDL:SHIRT\n",
                            .models = "2:2:SHIRT:1\n",
                            .garments = "3:2:1:SHIRT:1\n",
                            .pieces = "4:sh-bk:2:2:0\n",
                            .placements = "5:2:0:4000:0:3000:5000:0\n"}));
  ASSERT_EQ(lost.report.placements.size(), 2u);
  EXPECT_FALSE(lost.report.placements[0].lost);
  EXPECT_TRUE(lost.report.placements[1].lost);
  EXPECT_EQ(lost.report.placements[1].size, "1");
  EXPECT_EQ(lost.report.LostCount(), 1u);
  EXPECT_EQ(lost.report.sizes[0].placed, 1u);
  // The lost placement's article reaches no host file: it is no garment.
  EXPECT_EQ(lost.report.garments, 1u);
  EXPECT_EQ(lost.report.GarmentsOfSize(0), 1u);

  // The message names the marker's sizes, at most twelve of them: fixed articles add the
  // sizes Z3, Z4, ... to "M".
  for (const int sizes : {12, 13}) {
    Edits edits{.articles = "1:MDL:SHIRT\n",
                .models = "2:2:SHIRT:1\n",
                .garments = "3:2:1:SHIRT:1\n",
                .pieces = "4:sh-bk:2:2:0\n",
                .placements = "5:2:0:4000:0:3000:5000:0\n"};
    std::string listed = "\"M\"";
    for (int k = 3; k <= sizes + 1; ++k) {
      const std::string n = std::to_string(k);
      edits.articles += "1:MDL:SHIRT\n";
      edits.models += "2:" + n + ":SHIRT:Z" + n + "\n";
      edits.garments += "3:" + n + ":1:SHIRT:0\n";
      if (k <= 13) listed += ", \"Z" + n + "\"";
    }
    if (sizes > 12) listed += ", ...";
    Inspected many;
    Inspect(many, MarkerText(edits));
    ASSERT_EQ(many.report.sizes.size(), static_cast<std::size_t>(sizes));
    const Diagnostic* lost_placement = nullptr;
    for (const Diagnostic& d : many.report.diagnostics) {
      if (d.code == "placement-lost") lost_placement = &d;
    }
    ASSERT_NE(lost_placement, nullptr);
    EXPECT_NE(lost_placement->message.find("(" + listed + ")"), std::string::npos) << lost_placement->message;
  }
}

TEST(InspectMarker, FilesThatCannotBeImportedAreErrors) {
  test::TempDir dir;
  test::WriteFile(dir / "nomodels.txt", "PLC:PNAM\n1:x\n");
  const MarkerReport absent = dorvan_marker::InspectMarker(dir / "absent.txt");
  EXPECT_EQ(absent.status, ReportStatus::CannotOpen);
  ASSERT_EQ(absent.diagnostics.size(), 1u);
  EXPECT_EQ(absent.diagnostics[0].code, "cannot-open");
  const MarkerReport none = dorvan_marker::InspectMarker(dir / "nomodels.txt");
  EXPECT_EQ(none.status, ReportStatus::NoModels);
  ASSERT_EQ(Codes(none), std::vector<std::string>{"no-models"});
  EXPECT_EQ(none.diagnostics[0].severity, Severity::Error);
}

TEST(InspectMarker, AgreesWithTheExamplesHostFiles) {
  const std::string example = std::string(DORVAN_EXAMPLES) + "/jacket/spring jacket.txt";
  const dorvan_marker::MarkerSheet r = dorvan_marker::InspectMarkerSheet(example);
  ASSERT_EQ(r.status, ReportStatus::Read);
  EXPECT_TRUE(r.diagnostics.empty());
  EXPECT_EQ(r.title, "SPRING JACKET");
  EXPECT_DOUBLE_EQ(r.width_mm, 1500.0);
  EXPECT_DOUBLE_EQ(r.used_length_mm, 5570.0);
  EXPECT_DOUBLE_EQ(r.used_width_mm, 1460.0);
  std::vector<std::string> sizes;
  std::vector<std::string> models;
  std::size_t placed = 0;
  for (const auto& size : r.sizes) {
    sizes.push_back(size.size);
    models.push_back(size.host_model);
    placed += size.placed;
  }
  // Five articles, each of several placements: one garment a size.
  EXPECT_EQ(r.garments_by_size, (std::vector<std::size_t>{1, 1, 1, 1, 1}));
  EXPECT_EQ(r.garments, 5u);
  EXPECT_DOUBLE_EQ(r.LengthPerGarmentMm(), 5570.0 / 5.0);
  EXPECT_EQ(sizes, (std::vector<std::string>{"38", "40", "42", "M", "L"}));
  // The command file's model blocks: 40 runs on from 38, and L (other trousers, the same
  // pieces in the same order) from M.
  EXPECT_EQ(models, (std::vector<std::string>{"SPRING JACKET-38", "SPRING JACKET-38", "SPRING JACKET-42",
                                              "SPRING JACKET-M", "SPRING JACKET-M"}));
  EXPECT_EQ(placed, 24u);
  EXPECT_EQ(r.placements.size(), 24u);
  // The placement file's fourth line: a quarter-turned sleeve at 92 degrees.
  EXPECT_EQ(r.placements[3].name, "SLEEVE");
  EXPECT_TRUE(r.placements[3].quarter_turn);
  EXPECT_NEAR(r.placements[3].angle, 92.000001, 1e-6);
  EXPECT_TRUE(r.placements[1].mirrored);
}

// The words of the documents and tables: each 1.0 status through its outcome, the new ones
// as they are.
TEST(InspectMarker, StatusWordsComeFromTheOutcome) {
  using dorvan_marker::Outcome;
  using dorvan_marker::OutcomeWord;
  using dorvan_marker::StyleListStatus;
  using dorvan_marker::Task;
  EXPECT_STREQ(dorvan_marker::StatusName(ReportStatus::Read), "read");
  EXPECT_STREQ(dorvan_marker::StatusName(ReportStatus::OutOfMemory), "out-of-memory");
  EXPECT_STREQ(dorvan_marker::StatusName(StyleListStatus::NoStyles), "no-styles");
  EXPECT_STREQ(dorvan_marker::StatusName(StyleListStatus::Listed), "listed");
  EXPECT_STREQ(OutcomeWord(Outcome::Done, Task::Import), "imported");
  EXPECT_STREQ(OutcomeWord(Outcome::NoModels, Task::Import), "no-models");
  EXPECT_STREQ(OutcomeWord(Outcome::CannotWrite, Task::Import), "cannot-write");
  EXPECT_STREQ(OutcomeWord(Outcome::BadCall, Task::Inspect), "bad-call");
  EXPECT_STREQ(OutcomeWord(static_cast<Outcome>(-99), Task::Inspect), "unknown");
  EXPECT_EQ(static_cast<int>(Outcome::OutOfMemory), DORVAN_MARKER_OUT_OF_MEMORY);
  EXPECT_EQ(dorvan_marker::OutcomeOf(static_cast<ReportStatus>(5)), Outcome::BadCall);
}
