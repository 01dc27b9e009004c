// SPDX-License-Identifier: MIT
// The dorvan-marker command line, run as a user runs it.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "support/command_runner.hpp"
#include "support/test_support.hpp"

namespace {

using test::CliRun;
using test::Quote;

CliRun RunCli(const std::string& arguments) { return test::RunProgram(DORVAN_CLI, arguments); }

const std::string kExample = std::string(DORVAN_EXAMPLES) + "/jacket/spring jacket.txt";

}  // namespace

TEST(CliStyles, PrintsTheNamesOneALine) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "VMDL:VNUM:VNMD\n1:1:SHIRT\n1:2:SKIRT\n1:3:SHIRT\n1:4\n");
  const CliRun run = RunCli("styles " + Quote(dir / "m.txt"));
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "SHIRT\nSKIRT\n\n");
  EXPECT_EQ(run.err, "");
}

TEST(CliStyles, ExitsWithTheDocumentedCodes) {
  test::TempDir dir;
  test::WriteFile(dir / "none.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "broken.txt", "PLC:PNAM\nVMDL:VNMD\n1:x\n");
  test::WriteFile(dir / "size.csv", "size,quantity\n38,1\n\"XS\",2\n");
  test::WriteFile(dir / "half.csv", "size,quantity\r\n38,2.5\r\n");
  test::WriteFile(dir / "twice.csv", "size,quantity\n\n38,1\n38 ,2\n");
  test::WriteFile(dir / "many.csv", "size,quantity\n38,101\nL,1\n42,200\n");
  const std::string plan = "plan " + Quote(kExample) + " --order ";
  const struct {
    std::string arguments;
    int exit_code;
    std::string err;
  } cases[] = {
      {"styles " + Quote(dir / "none.txt"), 1, "dorvan-marker: " + (dir / "none.txt") + " has no \"VMDL\" section\n"},
      {"styles " + Quote(dir / "missing.txt"), 2,
       "dorvan-marker: cannot open " + (dir / "missing.txt") + ": no such file\n"},
      {"styles " + Quote(dir / "broken.txt"), 4,
       "dorvan-marker: " + (dir / "broken.txt") +
           ":2: \"VMDL\": header record 2 names section \"VMDL\", but no numbered record carries 2 or a higher "
           "number\n"},
      {"styles", 64, "dorvan-marker: styles takes one or more marker files\nTry 'dorvan-marker --help'.\n"},
      {"frobnicate x", 64, "dorvan-marker: unknown command frobnicate\nTry 'dorvan-marker --help'.\n"},
      {"import " + Quote(dir / "none.txt") + " --out-dir", 64,
       "dorvan-marker: --out-dir needs a value\nTry 'dorvan-marker --help'.\n"},
      // plan: the order file's line and why, then the order that the plies cannot meet.
      {plan + Quote(dir / "size.csv"), 64,
       "dorvan-marker: " + (dir / "size.csv") + ":3: size \"XS\" is cut by none of the markers\n"},
      {plan + Quote(dir / "half.csv"), 64,
       "dorvan-marker: " + (dir / "half.csv") +
           ":2: \"quantity\" \"2.5\" is not a whole number from 0 to 1000000000\n"},
      {plan + Quote(dir / "twice.csv"), 64,
       "dorvan-marker: " + (dir / "twice.csv") + ":4: size \"38\" is ordered on line 3 already\n"},
      {plan + Quote(dir / "many.csv"), 9,
       "dorvan-marker: " + (dir / "many.csv") +
           ": the order cannot be met with at most 100 plies of each marker: size "
           "\"38\" needs 101, at most 100 can be cut; size \"42\" needs 200, at most 100 can be cut\n"},
      {plan + Quote(dir / "size.csv") + " a b c d e f g h i j k l", 64,
       "dorvan-marker: a plan takes at most 12 markers, not 13: plan the order in parts\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
  }
}

TEST(CliHelp, DescribesCommandsAndExitCodes) {
  const CliRun help = RunCli("--help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("exit codes:"), std::string::npos);
  EXPECT_NE(help.out.find("import MARKER"), std::string::npos);
  const CliRun version = RunCli("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out.rfind("dorvan-marker ", 0), 0u);
}

TEST(CliImport, WritesBothHostFilesAndPrintsTheName) {
  test::TempDir dir;
  const CliRun run = RunCli("import " + Quote(kExample) + " --out-dir " + Quote(dir / "made/with parents"));
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "SPRING JACKET\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(test::ReadFile(dir / "made/with parents/csvimprt.txt"),
            test::ReadFile(std::string(DORVAN_EXAMPLES) + "/jacket/expected/csvimprt.txt"));
  EXPECT_EQ(test::ReadFile(dir / "made/with parents/posimport.txt"),
            test::ReadFile(std::string(DORVAN_EXAMPLES) + "/jacket/expected/posimport.txt"));
}

TEST(CliImport, FailsWithoutTouchingTheFolder) {
  test::TempDir dir;
  test::WriteFile(dir / "nomodels.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "broken.txt", "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n");
  test::TempDir out;
  const struct {
    std::string arguments;
    int exit_code;
    std::string err;
  } cases[] = {
      {"import " + Quote(dir / "missing.txt"), 2,
       "dorvan-marker: cannot open " + (dir / "missing.txt") + ": no such file\n"},
      {"import " + Quote(dir / "nomodels.txt"), 3,
       "dorvan-marker: " + (dir / "nomodels.txt") + " is an invalid Dorvan marker file.  No models were found.\n"},
      {"import " + Quote(dir / "broken.txt"), 4,
       "dorvan-marker: " + (dir / "broken.txt") +
           ":5: \"IGEO\" record 1: \"INUM\" \"9\" points outside the 1 piece records\n"},
      // A folder that cannot be made is told once, before any marker is read.
      {"import " + Quote(dir / "missing.txt") + " " + Quote(kExample) + " --out-dir " + Quote(dir / "broken.txt/out"),
       5, "dorvan-marker: cannot make the folder " + (dir / "broken.txt/out") + ": Not a directory\n"},
      {"import -j0 " + Quote(kExample) + " " + Quote(kExample), 64,
       "dorvan-marker: -j needs a number of workers from 1 on\nTry 'dorvan-marker --help'.\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.arguments + (c.exit_code == 5 ? "" : " --out-dir " + Quote(out.Path())));
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
    EXPECT_FALSE(test::Exists(out / "csvimprt.txt")) << c.arguments;
    EXPECT_FALSE(test::Exists(out / "posimport.txt")) << c.arguments;
  }
}

// Several markers: each into a folder named after it, side by side; the largest exit code.
TEST(CliImport, ImportsManyMarkersEachIntoAFolderOfItsOwn) {
  test::TempDir dir;
  test::TempDir out;
  test::WriteFile(dir / "nomodels.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "Spring Jacket.txt", test::ReadFile(kExample));  // its model files are not beside it
  // Two different failures, the smaller last: the largest code.
  const CliRun run =
      RunCli("import -j 2 " + Quote(kExample) + " " + Quote(dir / "nomodels.txt") + " " + Quote(dir / "missing.txt") +
             " " + Quote(dir / "Spring Jacket.txt") + " --out-dir " + Quote(out.Path()));
  EXPECT_EQ(run.exit_code, 3) << run.err;
  const std::string failures =
      "dorvan-marker: " + (dir / "nomodels.txt") +
      " is an invalid Dorvan marker file.  No models were found.\ndorvan-marker: cannot open " + (dir / "missing.txt") +
      ": no such file\n";
  EXPECT_EQ(run.err.substr(0, failures.size()), failures);
  const std::string table = std::regex_replace(run.out, std::regex(" +"), " ");  // the columns' widths aside
  for (const std::string& row : {kExample + " imported 24 0 " + (out / "spring jacket") + "\n",
                                 (dir / "nomodels.txt") + " no-models - - " + (out / "nomodels") + "\n",
                                 (dir / "missing.txt") + " cannot-open - - " + (out / "missing") + "\n",
                                 (dir / "Spring Jacket.txt") + " imported 24 5 " + (out / "Spring Jacket-2") + "\n"}) {
    EXPECT_NE(table.find(row), std::string::npos) << row << table;
  }
  EXPECT_EQ(test::ListFolder(out.Path()), (std::vector<std::string>{"Spring Jacket-2", "spring jacket"}));
  for (const char* file : {"csvimprt.txt", "posimport.txt"}) {
    EXPECT_EQ(test::ReadFile(out / (std::string("spring jacket/") + file)),
              test::ReadFile(std::string(DORVAN_EXAMPLES) + "/jacket/expected/" + file));
    EXPECT_TRUE(test::Exists(out / (std::string("Spring Jacket-2/") + file)));
  }
}

// A file-size limit fails the writes part way, as a full disk does.
TEST(CliImport, AFileSizeLimitLeavesTheOldPairAndNothingElse) {
  test::TempDir out;
  test::WriteFile(out / "csvimprt.txt", "old\r\n");
  test::WriteFile(out / "posimport.txt", "old too\r\n");
  // 512 bytes (1024 in some shells): less than one host file of the example at least.
  const CliRun run =
      test::RunProgram(DORVAN_CLI, "import " + Quote(kExample) + " --out-dir " + Quote(out.Path()), "ulimit -f 1 && ");
  EXPECT_EQ(run.exit_code, 5);
  EXPECT_TRUE(std::regex_match(run.err,
                               std::regex("dorvan-marker: cannot write " + out.Path() +
                                          "/(csvimprt|posimport)\\.txt\\.[0-9a-f]{16}\\.dorvan-new: File too large\n")))
      << run.err;
  EXPECT_EQ(test::ListFolder(out.Path()), (std::vector<std::string>{"csvimprt.txt", "posimport.txt"}));
  EXPECT_EQ(test::ReadFile(out / "csvimprt.txt"), "old\r\n");
  EXPECT_EQ(test::ReadFile(out / "posimport.txt"), "old too\r\n");
}

namespace {

// A marker whose second placement keeps a raw size code and so reaches neither host file.
const char* const kShirtModel =
    "MSIZ:SNAM\n1:S\n1:M\nMPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:SHIRT:1:sh-fr:Front:0:1:1\n"
    "2:SHIRT:2:sh-bk:Back:0:1:1\n";
const char* const kLostMarker =
    "VART:VEXT:VGFN\nVMDL:VNUM:VNMD:VTAN\nVVET:VNUM:VTAI:VTBA:VCTA\nIBA:IART:INAM:VNUM:IFLG\n"
    "IGEO:INUM:IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\nLEZ:LLEZ\n1:VET:SHIRT\n1:MDL:SHIRT\n2:1:SHIRT:0\n2:2:SHIRT:1\n"
    "3:1:1:SHIRT:1\n3:2:1:SHIRT:1\n4:sh-fr:1:1:0\n4:sh-bk:2:2:0\n5:1:0:0:0:4000:5000:0\n5:2:0:4000:0:3000:5000:0\n"
    "6:10000\n";

}  // namespace

TEST(CliInspect, ReportsTheExampleWithoutWritingAnything) {
  const CliRun run = RunCli("inspect " + Quote(kExample));
  EXPECT_EQ(run.exit_code, 0) << run.err;
  for (const char* expected :
       {"SPRING JACKET", "1500.0 mm = 150.0 cm = 59.06 in wide", "5570.0 mm long", "83.4 % by bounding boxes",
        "24 (0 in neither host file)", "SPRING JACKET-42", "JACKET, TROUSERS", "0 errors, 0 warnings",
        "\ngarments    5 (an article with a placement in the host files is one garment of its size)\n",
        "\nper garment 1114.0 mm = 1.114 m = 1.218 yd of used length\n", "42         6         1  SPRING"}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
  }
}

TEST(CliInspect, ExitsWithTheDocumentedCodes) {
  test::TempDir dir;
  test::WriteFile(dir / "SHIRT.mdl", kShirtModel);
  test::WriteFile(dir / "lost.txt", kLostMarker);
  std::string warned = kLostMarker;
  warned.replace(warned.find("5:2:0:4000:0:3000:5000:0\n"), 25, "5:1:0:4000:7000:3000:5000:0\n");
  test::WriteFile(dir / "warned.txt", warned);
  std::string lost_and_warned = kLostMarker;  // placement 2 lost, placement 1 off the fabric
  lost_and_warned.replace(lost_and_warned.find("5:1:0:0:0:"), 10, "5:1:0:0:7000:");
  test::WriteFile(dir / "both.txt", lost_and_warned);
  test::WriteFile(dir / "nomodels.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "broken.txt", "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n");
  std::string no_width = kLostMarker;
  no_width.erase(no_width.find("6:10000\n")).erase(no_width.find("LEZ:LLEZ\n"), 9);
  test::WriteFile(dir / "nowidth.txt", no_width);
  std::string overlap = kLostMarker;  // 400 x 500 and 400 x 600 mm boxes on 400 x 1000 mm
  test::WriteFile(dir / "overlap.txt", overlap.replace(overlap.find("5:2:"), 24, "5:1:0:0:0:4000:6000:0"));
  test::WriteFile(dir / "big.csv", "size,quantity\n38,101\n");
  const std::string out = " --out-dir " + Quote(dir / "out");
  const struct {
    std::string arguments;
    int exit_code;
    std::string shown;  // in stdout or stderr; empty: both are empty
  } cases[] = {
      {"inspect " + Quote(dir / "warned.txt"), 0, "warned.txt:16: warning: \"IGEO\" record 2: \"IYOR\""},
      {"inspect --strict " + Quote(dir / "warned.txt"), 1, "[piece-outside-fabric]"},
      {"inspect --strict " + Quote(dir / "both.txt"), 6, "[piece-outside-fabric]"},
      {"inspect " + Quote(dir / "missing.txt"), 2, "[cannot-open]"},
      {"inspect " + Quote(dir / "nomodels.txt"), 3, "[no-models]"},
      {"inspect " + Quote(dir / "broken.txt"), 4, "broken.txt:5: error: \"IGEO\" record 1: \"INUM\""},
      {"inspect " + Quote(dir / "lost.txt"), 6, "lost.txt:16: error: \"IGEO\" record 2: \"INUM\""},
      // Several markers: the largest code, and a summary table.
      {"inspect " + Quote(kExample) + " " + Quote(dir / "broken.txt") + " " + Quote(dir / "warned.txt"), 4, "marker"},
      {"inspect", 64, "inspect takes one or more marker files"},
      {"inspect --codepage 1253 " + Quote(kExample), 64,
       "unknown code page \"1253\" (1252, 932, 936, 949, 950 or utf-8)"},
      {"inspect --csv " + Quote(dir / "nowidth.txt"), 6, ",read,NOWIDTH,built-in (.mdl model files),,,,700,500,,2,"},
      {"inspect --json " + Quote(dir / "nowidth.txt"), 6, "\"fabric_width\": null"},
      {"inspect " + Quote(dir / "nowidth.txt"), 6, "nowidth.txt: warning: \"LEZ\": \"LLEZ\": the marker names no"},
      // Plies: the fabric N x (used length + end allowance) and the garments N cut; none for a marker not read.
      {"inspect --plies 3 --end-allowance 20 " + Quote(kExample), 0,
       "\nplies       3 x (5570.0 + 20.0 mm end allowance) = 16770.0 mm = 16.770 m = 18.340 yd of fabric, 15 garments\n"
       "sizes       size  placed  garments  cut  host model\n            38         5         1    3  SPRING"},
      {"inspect --json --plies 2 " + Quote(dir / "broken.txt"), 4,
       "\"fabric_needed_mm\": null,\n      \"garments_cut\": 0"},
      {"inspect --plies 0 " + Quote(kExample), 64, "--plies needs a whole number from 1 to 10000"},
      {"inspect --end-allowance 1.2345 " + Quote(kExample), 64, "--end-allowance needs millimetres >= 0"},
      {"styles --plies 2 " + Quote(kExample), 64, "styles does not take --plies (inspect and report take it)"},
      {"inspect " + Quote(dir / "overlap.txt"), 0,
       "110.0 % by bounding boxes (sum of the pieces' box areas / "
       "width x used length; the boxes overlap, so the figure says nothing)"},
      // import: what inspect says, on stderr; with --strict, the exit code of inspect --strict.
      {"import " + Quote(dir / "lost.txt") + out, 0, "lost.txt:16: error: \"IGEO\" record 2: \"INUM\""},
      {"import --strict " + Quote(dir / "warned.txt") + out, 1, "warned.txt:16: warning: \"IGEO\" record 2: \"IYOR\""},
      // Options a command does not take.
      {"styles --paper a4 " + Quote(kExample), 64, "styles does not take --paper (only report takes it)"},
      {"import " + Quote(kExample) + " --json" + out, 64,
       "import does not take --json (styles, inspect and plan take it)"},
      {"--version extra", 64, "--version takes nothing else"},
      // report: one page per marker, with the exit codes of inspect.
      {"report " + Quote(dir / "lost.txt") + " " + Quote(kExample) + " -o " + Quote(dir / "r.html"), 6, ""},
      {"report " + Quote(kExample), 64, "report needs -o FILE.html"},
      {"report " + Quote(kExample) + " -o " + Quote(dir / "r.html") + " --paper a3", 64, "unknown paper a3"},
      // report --order: the plan on the summary page; an order no plan meets is said, and the pages still written.
      {"report " + Quote(kExample) + " -o " + Quote(dir / "r.html") + " --max-plies 5", 64,
       "report takes --max-plies with --order only"},
      {"report " + Quote(kExample) + " -o " + Quote(dir / "r.html") + " --order " + Quote(dir / "big.csv"), 9,
       "big.csv: the order cannot be met with at most 100 plies of each marker: size \"38\" needs 101"},
      {"report " + Quote(kExample) + " -o " + Quote(dir / "r.html") + " --order " + Quote(dir / "none.csv"), 64,
       "cannot read the order"},
      {"render " + Quote(kExample), 64, "render needs -o"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments << "\n" << run.out << run.err;
    if (c.shown.empty()) {
      EXPECT_EQ(run.out + run.err, "") << c.arguments;
    } else {
      EXPECT_NE((run.out + run.err).find(c.shown), std::string::npos) << c.arguments << "\n" << run.out << run.err;
    }
  }
}

TEST(CliInspect, EndsSeveralMarkersWithASummaryTable) {
  test::TempDir dir;
  test::WriteFile(dir / "SHIRT.mdl", kShirtModel);
  test::WriteFile(dir / "lost.txt", kLostMarker);
  const CliRun run = RunCli("inspect " + Quote(kExample) + " " + Quote(dir / "lost.txt"));
  EXPECT_EQ(run.exit_code, 6);
  const std::size_t table = run.out.rfind("marker  ");
  ASSERT_NE(table, std::string::npos) << run.out;
  const std::string summary = run.out.substr(table);
  EXPECT_NE(summary.find("sizes  placements  warnings  errors"), std::string::npos) << summary;
  EXPECT_NE(summary.find(kExample + "      5          24         0       0"), std::string::npos) << summary;
  EXPECT_NE(summary.find("lost.txt"), std::string::npos) << summary;
  // Not a terminal: no progress line.
  EXPECT_EQ(run.err.find("[1/2]"), std::string::npos) << run.err;
}

// The page is staged beside its place and renamed: a write that fails part way leaves
// neither the page nor its staging file.
TEST(CliReport, AFailedWriteLeavesNoFile) {
  test::TempDir out;
  const CliRun limited =
      test::RunProgram(DORVAN_CLI, "report " + Quote(kExample) + " -o " + Quote(out / "r.html"), "ulimit -f 1 && ");
  EXPECT_EQ(limited.exit_code, 5);
  EXPECT_EQ(limited.err, "dorvan-marker: cannot write " + (out / "r.html") + ": File too large\n");
  EXPECT_EQ(RunCli("report " + Quote(kExample) + " -o " + Quote(out / "no/r.html")).exit_code, 5);
  // A picture smaller than the file's buffer fails only when its file is closed.
  test::TempDir dir;
  test::WriteFile(dir / "SHIRT.mdl", kShirtModel);
  std::string clean = kLostMarker;
  test::WriteFile(dir / "clean.txt", clean.erase(clean.find("5:2:"), 25));
  const CliRun small = test::RunProgram(
      DORVAN_CLI, "render " + Quote(dir / "clean.txt") + " -o " + Quote(out / "m.svg"), "ulimit -f 1 && ");
  EXPECT_EQ(small.exit_code, 5);
  EXPECT_EQ(small.err, "dorvan-marker: cannot write " + (out / "m.svg") + ": File too large\n");
  EXPECT_TRUE(test::ListFolder(out.Path()).empty());
}

TEST(CliCodePage, UnknownNamesAreUsageErrors) {
  const CliRun unknown = RunCli("styles --codepage klingon " + Quote(kExample));
  EXPECT_EQ(unknown.exit_code, 64);
  EXPECT_EQ(unknown.err,
            "dorvan-marker: unknown code page \"klingon\" (1252, 932, 936, 949, 950 or utf-8)\n"
            "Try 'dorvan-marker --help'.\n");
  for (const char* name : {"1252", "932", "936", "949", "950", "utf-8", "UTF8", "cp1252"}) {
    const CliRun run = RunCli(std::string("styles --codepage ") + name + " " + Quote(kExample));
    EXPECT_EQ(run.exit_code, 0) << name << run.err;
    EXPECT_EQ(run.out, "JACKET\nTROUSERS\n") << name;
  }
}

TEST(CliRender, WritesAnSvgOfTheMarker) {
  test::TempDir dir;
  const CliRun run = RunCli("render " + Quote(kExample) + " -o " + Quote(dir / "m.svg"));
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::string svg = test::ReadFile(dir / "m.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<rect class=\"s3\" x=\"2340\" y=\"0\" width=\"350\" height=\"1050\"/>"), std::string::npos);
  EXPECT_NE(svg.find(">100 cm</text>"), std::string::npos);
  EXPECT_NE(svg.find(">42 (6)</text>"), std::string::npos);
  const CliRun unwritable = RunCli("render " + Quote(kExample) + " -o " + Quote(dir / "no/such/m.svg"));
  EXPECT_EQ(unwritable.exit_code, 5);
}

TEST(CliLoaderPlugin, TheSamplePluginImportsTheExampleAsTheOwnLoaderDoes) {
  // The plug-in's data alone beside the marker: no .mdl file to fall back on.
  test::TempDir models;
  const std::string data = std::string(DORVAN_EXAMPLES) + "/loader-plugin/data/";
  for (const char* model : {"JACKET.tsv", "TROUSERS.tsv"})
    test::WriteFile(models / model, test::ReadFile(data + model));
  test::WriteFile(models / "spring jacket.txt", test::ReadFile(kExample));
  test::TempDir own, plugin;
  const CliRun by_own = RunCli("import " + Quote(kExample) + " --out-dir " + Quote(own.Path()));
  const CliRun by_plugin = RunCli("import " + Quote(models / "spring jacket.txt") + " --loader " +
                                  Quote(DORVAN_SAMPLE_LOADER) + " --out-dir " + Quote(plugin.Path()));
  EXPECT_EQ(by_plugin.exit_code, 0) << by_plugin.err;
  EXPECT_EQ(by_plugin.out, by_own.out);
  for (const char* file : {"csvimprt.txt", "posimport.txt"}) {
    EXPECT_EQ(test::ReadFile(plugin / file), test::ReadFile(own / file)) << file;
    EXPECT_EQ(test::ReadFile(own / file), test::ReadFile(std::string(DORVAN_EXAMPLES) + "/jacket/expected/" + file));
  }
  // inspect names the loader it used.
  const CliRun inspected =
      RunCli("inspect " + Quote(models / "spring jacket.txt") + " --loader " + Quote(DORVAN_SAMPLE_LOADER));
  EXPECT_EQ(inspected.exit_code, 0) << inspected.err;
  EXPECT_NE(inspected.out.find("\nloader      plug-in sample-tsv 1.0.0  (" DORVAN_SAMPLE_LOADER ")\n"),
            std::string::npos)
      << inspected.out;
  EXPECT_NE(RunCli("inspect " + Quote(kExample)).out.find("\nloader      built-in (.mdl model files)\n"),
            std::string::npos);
}

// --loader first, then DORVAN_MARKER_LOADER (an empty one names none); a plug-in that
// cannot serve ends the commands that import with exit code 7 and writes nothing.
TEST(CliLoaderPlugin, IsFoundByOptionThenEnvironment) {
  test::TempDir out;
  const std::string message =
      std::string(DORVAN_NO_ENTRY_PLUGIN) + ": the loader plug-in lacks the entry function dorvan_marker_get_loader";
  const std::string broken = "DORVAN_MARKER_LOADER=" + Quote(DORVAN_NO_ENTRY_PLUGIN) + " ";
  const std::string sample = DORVAN_SAMPLE_LOADER;
  const std::string plugin_folder = sample.substr(0, sample.rfind('/'));
  const std::string plugin_name = sample.substr(sample.rfind('/') + 1);
  test::TempDir models;  // the sample plug-in's data beside the marker: it resolves every size
  for (const char* model : {"JACKET.tsv", "TROUSERS.tsv"}) {
    test::WriteFile(models / model, test::ReadFile(std::string(DORVAN_EXAMPLES) + "/loader-plugin/data/" + model));
  }
  const std::string tsv_marker = Quote(models / "spring jacket.txt");
  test::WriteFile(models / "spring jacket.txt", test::ReadFile(kExample));
  const struct {
    std::string prefix;
    std::string arguments;
    int exit_code;
    std::string err;
  } cases[] = {
      {"", "import --loader " + Quote(DORVAN_NO_ENTRY_PLUGIN) + " " + Quote(kExample), 7,
       "dorvan-marker: " + message + "\n"},
      {broken, "import " + Quote(kExample), 7, "dorvan-marker: " + message + "\n"},
      {broken, "import --loader " + Quote(DORVAN_SAMPLE_LOADER) + " " + tsv_marker, 0, ""},
      {"DORVAN_MARKER_LOADER= ", "import " + Quote(kExample), 0, ""},
      {broken, "render " + Quote(kExample) + " -o " + Quote(out / "m.svg"), 7,
       kExample + ": error: " + message + " [loader-unusable]\n"},
      {broken, "styles " + Quote(kExample), 0, ""},
      // A bare file name is the file in the current folder, not one the system searches for.
      {"cd " + Quote(plugin_folder) + " && ", "import --loader " + Quote(plugin_name) + " " + tsv_marker, 0, ""},
      {"", "import --loader= " + Quote(kExample), 64,
       "dorvan-marker: --loader needs a path\nTry 'dorvan-marker --help'.\n"},
  };
  for (const auto& c : cases) {
    const bool importing = c.arguments.starts_with("import");
    const CliRun run =
        test::RunProgram(DORVAN_CLI, c.arguments + (importing ? " --out-dir " + Quote(out.Path()) : ""), c.prefix);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.prefix << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.prefix << c.arguments;
    const bool imported = c.exit_code == 0 && importing;
    EXPECT_EQ(test::ListFolder(out.Path()).size(), imported ? 2u : 0u) << c.prefix << c.arguments;
    for (const char* file : {"csvimprt.txt", "posimport.txt", "m.svg"}) std::remove((out / file).c_str());
  }
  const CliRun inspected = RunCli("inspect --loader " + Quote(DORVAN_NO_ENTRY_PLUGIN) + " " + Quote(kExample));
  EXPECT_EQ(inspected.exit_code, 7);
  EXPECT_NE(inspected.out.find("\nloader      plug-in " DORVAN_NO_ENTRY_PLUGIN "\n"), std::string::npos)
      << inspected.out;
  EXPECT_NE(inspected.out.find(kExample + ": error: " + message + " [loader-unusable]\n"), std::string::npos)
      << inspected.out;
}
