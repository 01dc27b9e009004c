// SPDX-License-Identifier: MIT
// The piece placement file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/placement_line.hpp"
#include "hostfiles/printf_file.hpp"
#include "platform/c_numbers.hpp"
#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"
#include "support/test_support.hpp"

using dorvan_marker::InvalidArgumentError;
using test::MarkerText;
using test::ParsedMarker;

namespace {

struct Piece {
  std::string name;
  std::string iflg;
  std::string igrs, ixor, iyor, ixdi, iydi, igrf;
  double rotation;  // radians, from the model file
};

// One "MDL" article of size 38 (model file /m/J.mdl), one piece record and one placement
// per piece.
ParsedMarker* MarkerOf(const std::vector<Piece>& pieces) {
  std::vector<MarkerText::Row> iba, igeo;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    iba.push_back({pieces[i].name, std::to_string(i + 1), "1", pieces[i].iflg});
    const Piece& p = pieces[i];
    igeo.push_back({std::to_string(i + 1), p.igrs, p.ixor, p.iyor, p.ixdi, p.iydi, p.igrf});
  }
  auto* marker = new ParsedMarker(MarkerText()
                                      .Section("VART", {"VEXT", "VGFN"}, {{"MDL", "J"}})
                                      .Section("VMDL", {"VNUM", "VNMD", "VTAN"}, {{"1", "J", "38"}})
                                      .Section("IBA", {"IART", "INAM", "VNUM", "IFLG"}, iba)
                                      .Section("IGEO", {"INUM", "IGRS", "IXOR", "IYOR", "IXDI", "IYDI", "IGRF"}, igeo)
                                      .Text());
  marker->loader->sizes["/m/J.mdl"] = {};
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    marker->loader->by_number[{"/m/J.mdl", "J", static_cast<int>(i + 1)}] = {pieces[i].rotation, 1.0, 1.0};
  }
  return marker;
}

std::string WritePlacementFile(ParsedMarker& marker) {
  test::TempDir dir;
  marker->BuildSizeLists("/m/marker.txt");
  marker->BuildPieceNameTable("/m/marker.txt");
  marker->WritePlacementFile("/m/marker.txt", (dir / "posimport.txt").c_str());
  return test::ReadFile(dir / "posimport.txt");
}

}  // namespace

TEST(WritePlacementFile, WritesTheFrontAndBackExamples) {
  std::unique_ptr<ParsedMarker> marker(MarkerOf({
      {"FRONT", "6", "6", "-100", "50", "4500", "6000", "5419", 0.0},
      {"BACK", "0", "0", "-20", "-30", "3000", "5000", "1000", 0.1},
  }));
  EXPECT_EQ(WritePlacementFile(*marker),
            "FRONT,38,8,1,-180.000000,215.000000,305.000000,450.000000,600.000000,0\r\n"
            "BACK,38,32,0,22.229578,148.000000,247.000000,300.000000,500.000000,0\r\n");
}

TEST(WritePlacementFile, DerivesCodesAndAngles) {
  const struct {
    const char* name;
    Piece piece;
    const char* line;
  } cases[] = {
      {"no IFLG gives 16", {"A", "", "0", "10", "10", "20", "20", "0", 0.0}, "A,38,16,0,0.000000,2.000000,2.000000,2.000000,2.000000,0"},
      {"IFLG 5 gives 16", {"A", "5", "0", "0", "0", "0", "0", "0", 0.0}, "A,38,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IFLG 7 gives 32", {"A", "7", "0", "0", "0", "0", "0", "0", 0.0}, "A,38,32,0,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"one negative origin keeps the code", {"A", "6", "0", "-10", "10", "0", "0", "0", 0.0}, "A,38,8,0,0.000000,-1.000000,1.000000,0.000000,0.000000,0"},
      {"IGRS 1 gives mirror 2", {"A", "0", "1", "0", "0", "0", "0", "1000", 0.0}, "A,38,16,2,-16.500000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 2 gives mirror 1", {"A", "0", "2", "0", "0", "0", "0", "0", 0.0}, "A,38,16,1,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 3 gives mirror 3, not negated", {"A", "0", "3", "0", "0", "0", "0", "1000", 0.0}, "A,38,16,3,16.500000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 4 turns a quarter", {"A", "0", "4", "0", "0", "0", "0", "0", 0.0}, "A,38,16,0,90.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 5 turns back a quarter when mirrored", {"A", "0", "5", "0", "0", "0", "0", "0", 0.0}, "A,38,16,2,-90.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"the model's rotation is added unrounded", {"A", "0", "0", "0", "0", "0", "0", "0", -0.01}, "A,38,16,0,-0.572958,0.000000,0.000000,0.000000,0.000000,0"},
      {"a name longer than one copy step", {"A RATHER LONG PIECE NAME 17", "0", "0", "-7", "3", "1", "2", "0", 0.0},
       "A RATHER LONG PIECE NAME 17,38,16,0,0.000000,-0.650000,0.400000,0.100000,0.200000,0"},
      {"IGRF written with a point takes the general reading", {"A", "0", "0", "0", "0", "0", "0", "1000.0", 0.0}, "A,38,16,0,16.500000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRF of -0", {"A", "0", "1", "0", "0", "0", "0", "-0", 0.0}, "A,38,16,2,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
  };
  for (const auto& c : cases) {
    std::unique_ptr<ParsedMarker> marker(MarkerOf({c.piece}));
    EXPECT_EQ(WritePlacementFile(*marker), std::string(c.line) + "\r\n") << c.name;
  }
}

TEST(RoundToHalfDegree, RoundsHalvesAwayFromZero) {
  const struct {
    double angle;
    double rounded;
  } cases[] = {{0.0, 0.0}, {0.25, 0.5}, {-0.25, -0.5}, {0.24, 0.0}, {-0.24, 0.0}, {16.6075, 16.5},
               {-179.9959, -180.0}, {0.75, 1.0}, {1073741823.0, 1073741823.0}};
  for (const auto& c : cases) {
    double rounded = 99.0;
    ASSERT_TRUE(dorvan_marker::RoundToHalfDegree(c.angle, rounded)) << c.angle;
    EXPECT_EQ(rounded, c.rounded) << c.angle;
  }
  double rounded = 0.0;
  EXPECT_FALSE(dorvan_marker::RoundToHalfDegree(1e10, rounded));
  EXPECT_FALSE(dorvan_marker::RoundToHalfDegree(-1e10, rounded));
  EXPECT_FALSE(dorvan_marker::RoundToHalfDegree(std::nan(""), rounded));
  EXPECT_DOUBLE_EQ(dorvan_marker::AngleOfIgrf(5419.0), 89.99589261918112) << "divided by 6.2831853, not 2 pi";
  EXPECT_NE(dorvan_marker::AngleOfIgrf(5419.0), 5419.0 / 3450.0 / (2.0 * 3.14159265358979323846) * 360.0);
}

TEST(WritePlacementFile, RejectsAnAngleBeyondRounding) {
  for (const char* igrf : {"1e20", "nan", "-inf"}) {
    std::unique_ptr<ParsedMarker> marker(MarkerOf({{"A", "0", "0", "0", "0", "0", "0", igrf, 0.0}}));
    try {
      WritePlacementFile(*marker);
      ADD_FAILURE() << igrf;
    } catch (const InvalidArgumentError& error) {
      EXPECT_EQ(std::string(error.what()),
                "/m/marker.txt:8: \"IGEO\" record 1: \"IGRF\" \"" + std::string(igrf) +
                    "\" gives an angle that cannot be rounded");
    }
  }
}

TEST(WritePlacementFile, GroupsLinesBySizeAndDropsOtherSizes) {
  ParsedMarker marker(MarkerText()
                          .Section("VART", {"VEXT"}, {{"MDL"}, {"MDL"}, {"XIN"}})
                          .Section("VMDL", {"VNUM", "VTAN"}, {{"1", "40"}, {"2", "38"}, {"3", "x"}})
                          .Section("IBA", {"IART", "VNUM"}, {{"a", "2"}, {"b", "1"}, {"c", "2"}, {"d", "3"}})
                          .Section("IGEO", {"INUM"}, {{"1"}, {"2"}, {"3"}, {"4"}})
                          .Text());
  marker->BuildSizeLists("/m/marker.txt");
  marker->Sizes = dorvan_marker::CStringArray{"40", "38", "none"};
  test::TempDir dir;
  marker->WritePlacementFile("/m/marker.txt", (dir / "p.txt").c_str());
  EXPECT_EQ(test::ReadFile(dir / "p.txt"),
            "B,40,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0\r\n"
            "A,38,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0\r\n"
            "C,38,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0\r\n");
  marker->Sizes = dorvan_marker::CStringArray{"none"};
  marker->WritePlacementFile("/m/marker.txt", (dir / "p.txt").c_str());
  EXPECT_EQ(test::ReadFile(dir / "p.txt"), "") << "no placement of the marker's sizes: an empty file";
}

namespace {

// The four centre and extent values of a line as "%lf" prints the doubles that the
// placement's fields give, the reference for the writer's integer shortcut.
std::string ReferenceCentres(const Piece& p) {
  using dorvan_marker::Atof;
  const double x_origin = Atof(p.ixor) / 10.0, y_origin = Atof(p.iyor) / 10.0;
  const double x_extent = Atof(p.ixdi) / 10.0, y_extent = Atof(p.iydi) / 10.0;
  return dorvan_marker::FormatPrintf("%lf,%lf,%lf,%lf", {x_origin + x_extent * 0.5, y_origin + y_extent * 0.5,
                                                          x_extent, y_extent});
}

// The centre and extent values of the placement file's first line.
std::string WrittenCentres(const Piece& piece) {
  std::unique_ptr<ParsedMarker> marker(MarkerOf({piece}));
  const std::string line = WritePlacementFile(*marker);
  // name,size,code,mirror,angle, then the four values, then ",0\r\n"
  std::size_t start = 0;
  for (int commas = 0; commas < 5; ++commas) start = line.find(',', start) + 1;
  return line.substr(start, line.rfind(",0\r\n") - start);
}

}  // namespace

TEST(WritePlacementFile, PrintsCentresAsTheirDoublesWouldPrint) {
  // Plain integers take a path without doubles; everything else the general one. Both
  // must give what "%f" gives of the doubles.
  const char* const fields[] = {"0", "-0", "7", "-7", "15", "-15", "4283", "-5461", "999999999", "-999999999",
                                "1000000000", "+5", " 5", "5 ", "5.0", "0.05", "1e3", "0012", "", "x", "-",
                                "12x", "0x10", "2147483648"};
  for (const char* x : fields) {
    for (const char* w : fields) {
      const Piece piece{"A", "0", "0", x, w, w, x, "0", 0.0};
      ASSERT_EQ(WrittenCentres(piece), ReferenceCentres(piece)) << "origin \"" << x << "\", extent \"" << w << '"';
    }
  }
}

TEST(Hundredths, PrintsWhatFixedPrintsOfTheWritersDoubles) {
  // The writer prints (2 origin + extent) x 5 and extent x 10 hundredths for origin / 10
  // + extent / 20 and extent / 10: random tenths across the whole nine-digit range.
  std::uint64_t state = 3;
  auto next = [&state](std::int64_t range) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::int64_t>((state >> 20) % static_cast<std::uint64_t>(2 * range + 1)) - range;
  };
  for (int i = 0; i < 200000; ++i) {
    const std::int64_t range = i % 3 == 0 ? 999999999 : i % 3 == 1 ? 99999 : 99;
    const std::int64_t origin = next(range);
    const std::int64_t extent = next(range);
    const double centre = static_cast<double>(origin) / 10.0 + static_cast<double>(extent) / 10.0 * 0.5;
    std::string expected = dorvan_marker::FormatPrintf("%f,%f", {centre, static_cast<double>(extent) / 10.0});
    std::string written;
    char buffer[2 * dorvan_marker::printf_detail::kNumberRoom];
    char* p = dorvan_marker::printf_detail::PutArgument(buffer, 'f', dorvan_marker::Hundredths{(2 * origin + extent) * 5}, "%f");
    *p++ = ',';
    p = dorvan_marker::printf_detail::PutArgument(p, 'f', dorvan_marker::Hundredths{extent * 10}, "%f");
    written.assign(buffer, p);
    ASSERT_EQ(written, expected) << "origin " << origin << ", extent " << extent;
  }
}

TEST(PlacementLine, WritesWhatTheLineFormatWrites) {
  // The writer's own line formatter against the general one, fed the doubles the writer
  // would compute from the same tenths: odd names (line feeds, longer than one copy step,
  // empty), every code, and angles that are large, negative, zero and minus zero.
  namespace line = dorvan_marker::placement_line;
  const std::string names[] = {"", "FRONT 9", "a\nb", std::string(40, 'x'), "exactly sixteen!", "\n"};
  const std::string sizes[] = {"38", "", "XL\n"};
  const double angles[] = {0.0, -0.0, 24.999999, -223.5000005, 1e300, -7.25};
  std::uint64_t state = 11;
  auto next = [&state](std::int64_t range) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::int32_t>(static_cast<std::int64_t>((state >> 20) % static_cast<std::uint64_t>(2 * range + 1)) - range);
  };
  int lines = 0;
  for (const std::string& name : names) {
    for (const std::string& size : sizes) {
      std::string prefix;
      line::AppendPrefix(prefix, name, size);
      const std::size_t prefix_size = prefix.size();
      prefix.append(line::kPrefixPadding, '#');  // bytes that must not reach the line
      for (int code : {8, 16, 32}) {
        for (double angle : angles) {
          const std::int64_t range = lines % 2 == 0 ? 999999999 : 999;
          const std::int32_t tenths[4] = {next(range), next(range), next(range), next(range)};
          std::string expected;
          dorvan_marker::AppendPrintf(
              expected, line::kFormat,
              {name, size, code, lines % 4, angle, tenths[0] / 10.0 + tenths[2] / 10.0 * 0.5,
               tenths[1] / 10.0 + tenths[3] / 10.0 * 0.5, tenths[2] / 10.0, tenths[3] / 10.0, 0},
              true);
          std::string written(prefix_size + line::kRoomAfterPrefix, '\0');
          char* end = line::PutLine(written.data(), std::string_view(prefix.data(), prefix_size), code, lines % 4,
                                    angle, tenths);
          written.resize(static_cast<std::size_t>(end - written.data()));
          ASSERT_EQ(written, expected) << "line " << lines;
          ++lines;
        }
      }
    }
  }
}
