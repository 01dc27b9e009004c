// SPDX-License-Identifier: MIT
// The table of bad inputs that the exported functions, the C++ entry point and the command
// line must all survive: what each row writes, and how the import must end.
#include "hardening/bad_inputs.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "dorvan_marker/dorvan_marker_c.h"

namespace test {
namespace {

// The model file every well-formed row uses: one size, one piece.
const std::string kModel = "MSIZ:SNAM\n1:S\nMPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:M:1:p1:Front:0:1:1\n";
const std::string kPlacement = "P1,S,16,0,0.000000,5.000000,10.000000,10.000000,20.000000,0\r\n";

// A small, good marker whose three reference fields can be set, or left out (nullopt):
// line 4 is the "VVET" record, line 6 the "IBA" record, line 8 the "IGEO" record.
std::string Marker(std::optional<std::string> vvet_vnum = "1", std::optional<std::string> iba_vnum = "1",
                   std::optional<std::string> inum = "1", const std::string& model = "M",
                   const std::string& piece = "p1") {
  auto column = [](const char* tag, const std::optional<std::string>& value, std::string& header, std::string& record) {
    if (!value) return;
    header += std::string(":") + tag;
    record += ":" + *value;
  };
  std::string vvet_header = "VVET", vvet = "2";
  column("VNUM", vvet_vnum, vvet_header, vvet);
  std::string iba_header = "IBA:IART:INAM", iba = "3:" + piece + ":1";
  column("VNUM", iba_vnum, iba_header, iba);
  std::string geo_header = "IGEO", geo = "4";
  column("INUM", inum, geo_header, geo);
  return "VART:VEXT:VGFN\n1:VET:" + model + "\n" + vvet_header + ":VTAI:VTBA:VCTA\n" + vvet + ":0:" + model + ":1\n" +
         iba_header + ":IFLG\n" + iba + ":0\n" + geo_header + ":IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\n" + geo +
         ":0:0:0:100:200:0\n";
}

// Writes the marker and the model M.mdl; returns the marker path.
std::function<std::string(const TempDir&)> Files(std::string marker, std::string model = kModel,
                                                 std::string model_name = "M") {
  return [=](const TempDir& dir) {
    WriteFile(dir / (model_name + ".mdl"), model);
    WriteFile(dir / "marker.txt", marker);
    return dir / "marker.txt";
  };
}

// Writes a file of `count` copies of `piece` between head and tail without holding it all.
void WriteRepeated(const std::string& path, const std::string& head, const std::string& piece, std::size_t count,
                   const std::string& tail) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  std::string block;
  const std::size_t per_block = piece.size() >= (1u << 20) ? 1 : (1u << 20) / piece.size();
  for (std::size_t i = 0; i < per_block; ++i) block += piece;
  std::fwrite(head.data(), 1, head.size(), file);
  for (std::size_t done = 0; done < count; done += per_block) {
    const std::size_t n = std::min(per_block, count - done);
    std::fwrite(block.data(), 1, n * piece.size(), file);
  }
  std::fwrite(tail.data(), 1, tail.size(), file);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

std::string Outside(const std::string& line, const std::string& where, const std::string& value,
                    const std::string& what) {
  return "{marker}:" + line + ": " + where + ": \"" +
         std::string(where.find("IGEO") != std::string::npos ? "INUM" : "VNUM") + "\" \"" + value +
         "\" points outside the " + what;
}

// The three reference fields, each missing, zero, negative, huge and not a number.
void AddReferenceRows(std::vector<BadInput>& rows) {
  const struct {
    const char* label;
    std::optional<std::string> value;
    std::string shown;
  } values[] = {{"missing", std::nullopt, ""},
                {"zero", "0", "0"},
                {"negative", "-1", "-1"},
                {"huge", "99999999999999999999", "99999999999999999999"},
                {"not a number", "x7", "x7"}};
  for (const auto& v : values) {
    rows.push_back({std::string("IGEO INUM ") + v.label, Files(Marker("1", "1", v.value)), Outcome::Malformed,
                    Styles::NoStyles, Outside("8", "\"IGEO\" record 1", v.shown, "1 piece records"), "", kNothing});
    rows.push_back({std::string("IBA VNUM ") + v.label, Files(Marker("1", v.value, "1")), Outcome::Malformed,
                    Styles::NoStyles, Outside("6", "\"IBA\" record 1", v.shown, "1 articles (placement 1 of \"IGEO\")"),
                    "", kNothing});
    rows.push_back({std::string("VVET VNUM ") + v.label, Files(Marker(v.value, "1", "1")), Outcome::Malformed,
                    Styles::NoStyles, Outside("4", "\"VVET\" record 1", v.shown, "1 records of \"VVET\""), "",
                    kNothing});
  }
}

void AddFileRows(std::vector<BadInput>& rows) {
  const std::string no_models = "{marker} is an invalid Dorvan marker file.  No models were found.";
  rows.push_back({"empty file", Files(""), Outcome::NoModels, Styles::NoStyles, no_models, "", kNothing});
  rows.push_back({"only comments", Files("# saved by hand\n#VART:VEXT\n\n#1:VET\n   \n"), Outcome::NoModels,
                  Styles::NoStyles, no_models, "", kNothing});
  // The lookups stop at the first that decides: without "IGEO" the import refuses the
  // marker as having no models before it asks for the "IBA" that no record reaches.
  rows.push_back({"no IGEO before an unreached IBA",
                  Files("PLC:PNAM\n1:Marker\nXTRA:XVAL\nLEZ:LLON:LLEZ\n3::1500\nVART:VEXT:VGFN\n4::Parka-3\n"
                        "VMDL:VNUM:VNMD:VTAN:VDAT\n5:1:Parka-3:0:VET\nVVET:VNUM:VTAI:VTBA:VCTA\n6:1:0x::1\n"
                        "IBA:IART:INAM:VNUM:IFLG\n"),
                  Outcome::NoModels, Styles::Listed, no_models, "", kNothing});
  rows.push_back({"binary garbage",
                  Files(std::string("\x7f"
                                    "ELF\x02\x01\x01\0\0\xff\xfe:\x80\x81\n\x90\0\0:\0",
                                    20) +
                        std::string(1000, '\xC8')),
                  Outcome::NoModels, Styles::NoStyles, no_models, "", kNothing});
  // NUL bytes are ordinary bytes of a name: they reach the host file, they end nothing.
  rows.push_back({"NUL bytes in a name", Files(Marker("1", "1", "1", "M", std::string("p\0q", 3))), Outcome::Imported,
                  Styles::NoStyles, "",
                  std::string("P\0Q", 3) + ",S,16,0,0.000000,5.000000,10.000000,10.000000,20.000000,0\r\n", kNothing});
  rows.push_back({"a line of 100 MB",
                  [](const TempDir& dir) {
                    WriteFile(dir / "M.mdl", kModel);
                    WriteRepeated(dir / "marker.txt", "# ", "0123456789abcdef", (100u << 20) / 16, "\n" + Marker());
                    return dir / "marker.txt";
                  },
                  Outcome::Imported, Styles::NoStyles, "", kPlacement, kHuge});
  rows.push_back({"10 million tiny records",
                  [](const TempDir& dir) {
                    WriteFile(dir / "M.mdl", kModel);
                    WriteRepeated(dir / "marker.txt", Marker() + "PLC:PNAM\n", "5:\n", 10'000'000, "");
                    return dir / "marker.txt";
                  },
                  Outcome::Imported, Styles::NoStyles, "", kPlacement, kHuge});
  // Found while naming outcomes: memory that ran out was blamed on the marker as malformed.
  rows.push_back({"marker larger than the memory",
                  [](const TempDir& dir) {
                    WriteFile(dir / "marker.txt", Marker());
                    std::filesystem::resize_file(dir / "marker.txt", std::uintmax_t{1} << 40);  // sparse: no disk
                    return dir / "marker.txt";
                  },
                  Outcome::OutOfMemory, Styles::OutOfMemory, "out of memory while reading {marker}", "", kHuge});
  rows.push_back({"record number 2147483648", Files(Marker() + "2147483648:x\n"), Outcome::Malformed, Styles::Malformed,
                  "{marker}:9: record number \"2147483648\" does not fit in 32 bits", "", kNothing});
  rows.push_back({"record number 99999999999999999999", Files(Marker() + "99999999999999999999:x\n"),
                  Outcome::Malformed, Styles::Malformed,
                  "{marker}:9: record number \"99999999999999999999\" does not fit in 32 bits", "", kNothing});
  rows.push_back({"header no record reaches", Files(Marker() + "LEZ:LLEZ\n"), Outcome::Malformed, Styles::Malformed,
                  "{marker}:9: \"LEZ\": header record 5 names section \"LEZ\", but no numbered record carries 5 or a "
                  "higher number",
                  "", kNothing});
}

// Found while measuring: a name is written for every placement that uses it. A long name
// is fine, but the names and sizes of all placements may come to at most 16 times the
// marker plus 16 MiB, so a long name placed by many short records cannot fill the memory.
void AddAmplificationRows(std::vector<BadInput>& rows) {
  rows.push_back({"value of 5000 bytes", Files(Marker("1", "1", "1", "M", std::string(5000, 'n'))), Outcome::Imported,
                  Styles::NoStyles, "",
                  std::string(5000, 'N') + ",S,16,0,0.000000,5.000000,10.000000,10.000000,20.000000,0\r\n", kNothing});
  std::string repeated = Marker("1", "1", "1", "M", std::string(4096, 'n'));
  for (int i = 0; i < 5000; ++i) repeated += "4:1\n";
  const std::size_t budget = 16 * repeated.size() + (std::size_t{16} << 20);
  const std::size_t last = budget / (4096 + 1) + 1;  // each placement holds the name and the size "S"
  rows.push_back({"long name placed beyond the budget", Files(repeated), Outcome::Malformed, Styles::NoStyles,
                  "{marker}:" + std::to_string(7 + last) + ": \"IGEO\" record " + std::to_string(last) +
                      ": the names and sizes of the placements up to this one come to more than " +
                      std::to_string(budget) + " bytes, 16 times the marker's size",
                  "", kNothing});
}

void AddPathRows(std::vector<BadInput>& rows) {
  // 300 characters through folders of 50: the system takes it, the model path (beyond
  // 259 bytes) is never opened, so the size stays the code "0" and the piece keeps its key.
  rows.push_back({"marker path of 300 characters",
                  [](const TempDir& dir) {
                    std::string folder = dir.Path();
                    while (folder.size() + 11 < 300) {
                      folder += "/" + std::string(std::min<std::size_t>(49, 300 - 12 - folder.size()), 'd');
                      std::filesystem::create_directory(folder);
                    }
                    const std::string path = folder + "/marker.txt";
                    WriteFile(folder + "/M.mdl", kModel);
                    WriteFile(path, Marker());
                    if (path.size() != 300) throw std::logic_error("path of " + std::to_string(path.size()));
                    return path;
                  },
                  Outcome::Imported, Styles::NoStyles, "",
                  "P1,0,16,0,0.000000,5.000000,10.000000,10.000000,20.000000,0\r\n", kNothing});
  rows.push_back({"marker file name of 300 characters", [](const TempDir& dir) { return dir / std::string(300, 'n'); },
                  Outcome::CannotOpen, Styles::CannotOpen, "cannot open {marker}: File name too long", "", kNothing});
  rows.push_back({"marker path is a folder",
                  [](const TempDir& dir) {
                    std::filesystem::create_directory(dir / "folder.txt");
                    return dir / "folder.txt";
                  },
                  Outcome::CannotOpen, Styles::CannotOpen, "cannot open {marker}: a folder", "", kNothing});
  // Found while building the table: a pipe blocked the host until something wrote to it,
  // and a device without end was read until the memory ran out.
  rows.push_back({"marker path is a pipe",
                  [](const TempDir& dir) {
                    mkfifo((dir / "pipe.txt").c_str(), 0644);
                    return dir / "pipe.txt";
                  },
                  Outcome::CannotOpen, Styles::CannotOpen, "cannot open {marker}: not a regular file", "", kNothing});
  rows.push_back({"marker path is a device without end", [](const TempDir&) { return std::string("/dev/zero"); },
                  Outcome::CannotOpen, Styles::CannotOpen, "cannot open {marker}: not a regular file", "", kNothing});
  rows.push_back({"model file is a pipe",
                  [](const TempDir& dir) {
                    mkfifo((dir / "M.mdl").c_str(), 0644);
                    WriteFile(dir / "marker.txt", Marker());
                    return dir / "marker.txt";
                  },
                  Outcome::Imported, Styles::NoStyles, "",
                  "P1,0,16,0,0.000000,5.000000,10.000000,10.000000,20.000000,0\r\n", kNothing});
  // A model file that cannot be read is a missing one: the import goes on without it.
  const std::string without_model = "P1,0,16,0,0.000000,5.000000,10.000000,10.000000,20.000000,0\r\n";
  rows.push_back({"model file is a folder",
                  [](const TempDir& dir) {
                    std::filesystem::create_directory(dir / "M.mdl");
                    WriteFile(dir / "marker.txt", Marker());
                    return dir / "marker.txt";
                  },
                  Outcome::Imported, Styles::NoStyles, "", without_model, kNothing});
  rows.push_back(
      {"model file empty", Files(Marker(), ""), Outcome::Imported, Styles::NoStyles, "", without_model, kNothing});
  rows.push_back({"model file garbage", Files(Marker(), std::string("\0\xff\x80:\n9999999999999:x\n", 20)),
                  Outcome::Imported, Styles::NoStyles, "", without_model, kNothing});
  rows.push_back({"model file unreadable",
                  [](const TempDir& dir) {
                    const std::string path = Files(Marker())(dir);
                    chmod((dir / "M.mdl").c_str(), 0);
                    return path;
                  },
                  Outcome::Imported, Styles::NoStyles, "", without_model, kUnprivileged});
  rows.push_back({"model file named with blanks and non-ASCII bytes",
                  Files(Marker("1", "1", "1", "Spring \xC3\xA9t\xE9 M"), kModel, "Spring \xC3\xA9t\xE9 M"),
                  Outcome::Imported, Styles::NoStyles, "", kPlacement, kNothing});
}

void AddOutputRows(std::vector<BadInput>& rows) {
  rows.push_back({"host folder missing", Files(Marker()), Outcome::CannotWrite, Styles::NoStyles,
                  "cannot create {out}/csvimprt.txt: No such file or directory", "", kOutFolderMissing});
  rows.push_back({"host folder read-only", Files(Marker()), Outcome::CannotWrite, Styles::NoStyles,
                  "cannot create {out}/csvimprt.txt: Permission denied", "", kOutFolderReadOnly | kUnprivileged});
  rows.push_back({"host file read-only", Files(Marker()), Outcome::CannotWrite, Styles::NoStyles,
                  "{out}/csvimprt.txt is read-only", "", kHostFileReadOnly});
}

// The C face's own: what a caller of another language may get wrong, with a good marker.
void AddCallRows(std::vector<BadInput>& rows) {
  const auto refused = [&](const char* name, CallFault fault, const std::string& why) {
    rows.push_back({name, Files(Marker()), Outcome::BadCall, Styles::NoStyles, why, "", kNothing, fault});
  };
  refused("C face: null marker path", CallFault::kNullMarker, "dorvan_marker_import: marker_path is null");
  refused("C face: null output folder", CallFault::kNullFolder, "dorvan_marker_import: out_dir is null");
  refused("C face: name buffer of 0 bytes", CallFault::kEmptyNameBuffer,
          "dorvan_marker_import: name holds 0 bytes, a name takes up to 256");
  refused("C face: message buffer of 0 bytes", CallFault::kEmptyMessageBuffer, "");
  refused("C face: options smaller than the first version's", CallFault::kOptionsTooSmall,
          "dorvan_marker_import: options->size is " + std::to_string(sizeof(std::size_t)) +
              ": the options take at least " + std::to_string(offsetof(dorvan_marker_options, path_encoding)) +
              " bytes");
  refused("C face: unknown code page", CallFault::kUnknownCodePage,
          "dorvan_marker_import: unknown code page \"1253\" (1252, 932, 936, 949, 950 or utf-8)");
  refused("C face: unknown path encoding", CallFault::kUnknownPathEncoding,
          "dorvan_marker_import: options->path_encoding is 7 (DORVAN_MARKER_PATHS_SYSTEM or DORVAN_MARKER_PATHS_UTF8)");
  for (const auto& [name, fault] :
       {std::pair{"C face: options of a newer caller", CallFault::kOptionsFromNewer},
        std::pair{"C face: options of a first-version caller", CallFault::kOptionsOfFirstVersion}}) {
    rows.push_back({name, Files(Marker()), Outcome::Imported, Styles::NoStyles, "", kPlacement, kNothing, fault});
  }
}

std::vector<BadInput> MakeRows() {
  std::vector<BadInput> rows;
  AddFileRows(rows);
  AddReferenceRows(rows);
  AddAmplificationRows(rows);
  AddPathRows(rows);
  AddOutputRows(rows);
  AddCallRows(rows);
  return rows;
}

}  // namespace

const std::vector<BadInput>& BadInputs() {
  static const std::vector<BadInput> rows = MakeRows();
  return rows;
}

std::vector<std::size_t> RowsWithFault(bool fault) {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < BadInputs().size(); ++i) {
    if ((BadInputs()[i].fault != CallFault::kNone) == fault) rows.push_back(i);
  }
  return rows;
}

std::string PrepareOutFolder(const TempDir& dir, const BadInput& row) {
  const std::string out = dir / "out";
  if ((row.needs & kOutFolderMissing) != 0) return out;
  std::filesystem::create_directory(out);
  WriteFile(out + "/csvimprt.txt", kOldCommandFile);
  WriteFile(out + "/posimport.txt", kOldPlacementFile);
  if ((row.needs & kHostFileReadOnly) != 0) chmod((out + "/csvimprt.txt").c_str(), 0444);
  if ((row.needs & kOutFolderReadOnly) != 0) chmod(out.c_str(), 0555);
  return out;
}

void GiveToNobody(const TempDir& dir) {
  if (chown(dir.Path().c_str(), kNobody, kNobody) != 0) throw std::runtime_error("cannot chown " + dir.Path());
  std::error_code ignored;
  for (auto& entry : std::filesystem::recursive_directory_iterator(dir.Path(), ignored)) {
    if (lchown(entry.path().c_str(), kNobody, kNobody) != 0)
      throw std::runtime_error("cannot chown " + entry.path().string());
  }
}

std::string Expand(std::string text, const std::string& marker, const std::string& out) {
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"{marker}", marker}, {"{out}", out}}) {
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
      text.replace(at, key.size(), value);
    }
  }
  return text;
}

std::string RowName(const ::testing::TestParamInfo<std::size_t>& info) {
  std::string name;
  bool upper = true;
  for (char c : BadInputs()[info.param].name) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum) {
      upper = true;
      continue;
    }
    name += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    upper = false;
  }
  return name;
}

bool IsPrivileged() { return geteuid() == 0; }

bool SkippedHere(const BadInput& row) {
#if defined(DORVAN_TESTS_UNDER_SANITIZER)
  return (row.needs & kHuge) != 0;
#else
  (void)row;
  return false;
#endif
}

}  // namespace test
