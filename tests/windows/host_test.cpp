// SPDX-License-Identifier: MIT
// The Windows DLL driven the way the host application drives it: loaded by path at run
// time, its two functions found by name, markers passed as Windows paths, the host files
// read back from c:\userroot\temp, and the error box found, read and dismissed from a
// second thread as a user would.
//
//   dorvan_marker_host_test.exe DLL WORK [--code-page-932 | --sample-loader | --broken-loader]
//
// WORK holds "spring lays\spring.lay 2.txt" with its model files, and "expected\" with
// the two host files that marker gives. c:\userroot\temp must exist and be empty.
// With --code-page-932 the program checks, instead, markers whose names hold double-byte
// characters of code page 932, which must then be the system's ANSI code page. With
// --sample-loader the DLL has the sample loader plug-in beside it as
// dorvan_marker_loader.dll, and WORK also holds "tsv lays\spring.lay 2.txt" with the
// plug-in's model data instead of model files; with --broken-loader the file beside the
// DLL lacks the plug-in's entry function.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/version.h"
#include "error_box_watcher.hpp"
#include "host_checks.hpp"

namespace {

using namespace host_test;

using GetStyleListFn = decltype(&GetStyleList);
using ImportDorvanFileFn = decltype(&ImportDorvanFile);

const std::string kHostFolder = "c:\\userroot\\temp";
const char* const kHostFileNames[] = {"csvimprt.txt", "posimport.txt"};
constexpr std::size_t kNameBufferSize = 256;
constexpr char kUnusedByte = 'Z';  // fills the name buffer behind the caller's text

struct Library {
  GetStyleListFn get_style_list = nullptr;
  ImportDorvanFileFn import = nullptr;
};

struct Work {
  std::string folder;
  std::string Marker() const { return folder + "\\spring lays\\spring.lay 2.txt"; }
  std::string Expected(const char* name) const { return folder + "\\expected\\" + name; }
  std::string File(const char* name) const { return folder + "\\" + name; }
};

struct ImportCall {
  int result = 0;
  std::string buffer_before;  // all 256 bytes
  std::string buffer_after;
  ErrorBoxSeen box;
  std::string Name() const { return buffer_after.c_str(); }
  bool BufferUnchanged() const { return buffer_after == buffer_before; }
};

// One call as the host makes it, with a watcher for the error box around it.
ImportCall Import(const Library& library, const std::string& path, const std::string& caller_text) {
  char buffer[kNameBufferSize];
  std::memset(buffer, kUnusedByte, sizeof buffer);
  std::memcpy(buffer, caller_text.c_str(), caller_text.size() + 1);
  ImportCall call;
  call.buffer_before.assign(buffer, sizeof buffer);
  ErrorBoxWatcher watcher("KOV");
  call.result = library.import(path.c_str(), buffer);
  call.box = watcher.Finish();
  call.buffer_after.assign(buffer, sizeof buffer);
  return call;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text = "{";
  for (const std::string& name : names) text += (text.size() > 1 ? ", " : "") + Shown(name);
  return text + "}";
}

void CheckStyleLists(const Library& library, const Work& work) {
  const struct {
    const char* what;
    std::string path;
    std::vector<std::string> before;
    bool result;
    std::vector<std::string> after;
  } cases[] = {
      {"GetStyleList lists the models of spring.lay 2.txt", work.Marker(), {}, true, {"JACKET", "TROUSERS"}},
      {"GetStyleList appends only names the list lacks",
       work.Marker(),
       {"TROUSERS", "jacket"},
       true,
       {"TROUSERS", "jacket", "JACKET"}},
      {"GetStyleList leaves the list alone for a missing file", work.File("missing.txt"), {"KEEP"}, false, {"KEEP"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names = c.before;
    ErrorBoxWatcher watcher("KOV");
    const bool result = library.get_style_list(c.path.c_str(), &names);
    const bool boxed = watcher.Finish().found;
    Check(result == c.result && names == c.after && !boxed, c.what,
          "result " + std::to_string(result) + ", list " + Listed(names) + (boxed ? ", an error box" : ""));
  }
}

// The host files are exactly the expected ones, and nothing else is left in the folder.
void CheckHostFiles(const Work& work, const std::string& when) {
  for (const char* name : kHostFileNames) {
    const auto written = ReadBytes(kHostFolder + "\\" + name);
    const auto expected = ReadBytes(work.Expected(name));
    Check(expected.has_value(), "expected " + std::string(name) + " is readable", work.Expected(name));
    Check(written.has_value() && written == expected, when + ": " + name + " equals the expected file byte for byte",
          written ? std::to_string(written->size()) + " bytes written, " +
                        std::to_string(expected.value_or("").size()) + " expected"
                  : "not written");
  }
  const std::vector<std::string> only_host_files(std::begin(kHostFileNames), std::end(kHostFileNames));
  const FolderSnapshot folder = Snapshot(kHostFolder);
  Check(folder.names == only_host_files, when + ": " + kHostFolder + " holds the two host files only",
        Listed(folder.names));
}

void CheckFirstImport(const Library& library, const Work& work) {
  const ImportCall imported = Import(library, work.Marker(), "caller's text");
  Check(imported.result == DORVAN_IMPORT_OK, "ImportDorvanFile on spring.lay 2.txt gives 1",
        std::to_string(imported.result));
  Check(imported.Name() == "SPRING-LAY 2", "the name buffer holds SPRING-LAY 2", Shown(imported.Name()));
  Check(!imported.box.found, "a marker with models shows no box");
  CheckHostFiles(work, "first import");
}

// Each refusal leaves the caller's buffer and the earlier host files as they were.
void CheckRefusals(const Library& library, const Work& work) {
  const std::string no_models = work.File("no models.txt");
  WriteBytes(no_models, "IGEO:INUM\r\nVART:VEXT\r\nVMDL:VNMD\r\n3:JACKET\r\n");
  const std::string broken = work.File("broken.txt");
  WriteBytes(broken, "IGEO:INUM\r\nIBA:VNUM\r\nVART:VEXT\r\nVMDL:VNMD\r\n1:9\r\n2:1\r\n3:MDL\r\n4:x\r\n");
  const std::string long_text(100, 'L');

  const struct {
    const char* what;
    std::string path;
    std::string caller_text;
    int result;
    const char* box_text;  // nullptr: no box
  } refusals[] = {
      {"a marker without models", no_models, "c:\\lays\\no models.txt", DORVAN_IMPORT_NO_MODELS,
       "c:\\lays\\no models.txt is an invalid Dorvan marker file.  No models were found."},
      {"a marker without models and a long caller's text", no_models, long_text, DORVAN_IMPORT_NO_MODELS, ""},
      {"a malformed marker", broken, "caller", DORVAN_IMPORT_MALFORMED, nullptr},
      {"a missing marker", work.File("missing.txt"), "caller", DORVAN_IMPORT_CANNOT_OPEN, nullptr},
  };
  for (const auto& r : refusals) {
    const FolderSnapshot before = Snapshot(kHostFolder);
    const ImportCall call = Import(library, r.path, r.caller_text);
    const std::string what = std::string(r.what) + ": ";
    Check(call.result == r.result, what + "result " + std::to_string(r.result), std::to_string(call.result));
    Check(call.BufferUnchanged(), what + "the name buffer is unchanged", Shown(call.Name()));
    Check(SameFolder(before, Snapshot(kHostFolder)), what + "no host file was touched");
    if (r.box_text == nullptr) {
      Check(!call.box.found, what + "no box");
      continue;
    }
    // The box's text has room for 127 bytes: a longer caller's text is cut there.
    const std::string expected_text =
        *r.box_text != '\0'
            ? r.box_text
            : (r.caller_text + " is an invalid Dorvan marker file.  No models were found.").substr(0, 127);
    Check(call.box.found, what + "the error box \"KOV\" was found and dismissed");
    Check(call.box.text == expected_text, what + "the box says " + Shown(expected_text), Shown(call.box.text));
    Check(call.box.found && !call.box.owned, what + "the box has no owner");
  }
}

// Another program that still has the marker open (its writer, say) holds it with full
// sharing: the library reads a marker only when no other handle to it exists, so both
// functions fail at once as for a missing file, and succeed once the handle is gone.
void CheckHeldMarker(const Library& library, const Work& work) {
  HANDLE held = CreateFileA(work.Marker().c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(held != INVALID_HANDLE_VALUE, "another handle holds the marker open",
        "Windows error " + std::to_string(GetLastError()));
  if (held == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> names{"KEEP"};
  ErrorBoxWatcher watcher("KOV");
  const bool listed = library.get_style_list(work.Marker().c_str(), &names);
  const bool boxed = watcher.Finish().found;
  Check(!listed && names == std::vector<std::string>{"KEEP"} && !boxed,
        "a marker held open: GetStyleList gives false and leaves the list alone", Listed(names));

  const FolderSnapshot before = Snapshot(kHostFolder);
  const ImportCall refused = Import(library, work.Marker(), "caller");
  Check(refused.result == DORVAN_IMPORT_CANNOT_OPEN && refused.BufferUnchanged() && !refused.box.found,
        "a marker held open: ImportDorvanFile gives 0, leaves the name buffer and shows no box",
        std::to_string(refused.result) + ", " + Shown(refused.Name()));
  Check(SameFolder(before, Snapshot(kHostFolder)), "a marker held open: no host file was touched");

  CloseHandle(held);
  const ImportCall released = Import(library, work.Marker(), "caller");
  Check(released.result == DORVAN_IMPORT_OK && released.Name() == "SPRING-LAY 2",
        "once the other handle is closed the import gives 1", std::to_string(released.result));
}

void CheckSecondImport(const Library& library, const Work& work) {
  const FolderSnapshot first = Snapshot(kHostFolder);
  const ImportCall again = Import(library, work.Marker(), "");
  Check(again.result == DORVAN_IMPORT_OK && again.Name() == "SPRING-LAY 2",
        "a second import gives 1 and the name again");
  const FolderSnapshot second = Snapshot(kHostFolder);
  Check(second.written.size() == 2 && first.written.size() == 2 &&
            CompareFileTime(&first.written[0], &second.written[0]) != 0 &&
            CompareFileTime(&first.written[1], &second.written[1]) != 0,
        "the second import replaced both host files");
  CheckHostFiles(work, "second import");
}

// Another program holding posimport.txt open without sharing, from a second thread, as a
// virus scanner or the host itself may: the import tries again for 2 s. Released in time,
// the import succeeds; held longer, it gives -3 and leaves the previous pair as it was.
struct HeldFile {
  std::string path;
  DWORD hold_ms = 0;
  HANDLE ready = nullptr;
  bool opened = false;
};

DWORD WINAPI HoldFile(void* argument) {
  auto* held = static_cast<HeldFile*>(argument);
  const HANDLE file =
      CreateFileA(held->path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  held->opened = file != INVALID_HANDLE_VALUE;
  SetEvent(held->ready);
  Sleep(held->hold_ms);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return 0;
}

// A read-only posimport.txt is refused by its attribute, since Wine would replace it.
void CheckHeldPlacementFile(const Library& library, const Work& work) {
  const struct {
    const char* what;
    DWORD hold_ms;  // 0: not held
    bool read_only;
    int result;
  } cases[] = {
      {"posimport.txt held open for 0.3 s", 300, false, DORVAN_IMPORT_OK},
      {"posimport.txt held open for 4 s", 4000, false, DORVAN_IMPORT_CANNOT_WRITE},
      {"posimport.txt read-only", 0, true, DORVAN_IMPORT_CANNOT_WRITE},
  };
  const std::string placement_file = kHostFolder + "\\posimport.txt";
  for (const auto& c : cases) {
    const std::string what = std::string(c.what) + ": ";
    WriteBytes(kHostFolder + "\\csvimprt.txt", "previous command file\r\n");
    WriteBytes(placement_file, "previous placement file\r\n");
    if (c.read_only) SetFileAttributesA(placement_file.c_str(), FILE_ATTRIBUTE_READONLY);
    const FolderSnapshot before = Snapshot(kHostFolder);
    HeldFile held{placement_file, c.hold_ms, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    const HANDLE holder = c.hold_ms != 0 ? CreateThread(nullptr, 0, HoldFile, &held, 0, nullptr) : nullptr;
    if (holder != nullptr) {
      WaitForSingleObject(held.ready, INFINITE);
      Check(held.opened, what + "the second thread opened it without sharing");
    }
    const ULONGLONG start = GetTickCount64();
    const ImportCall call = Import(library, work.Marker(), "caller");
    const ULONGLONG waited = GetTickCount64() - start;
    if (holder != nullptr) {
      WaitForSingleObject(holder, INFINITE);
      CloseHandle(holder);
    }
    CloseHandle(held.ready);
    Check(call.result == c.result, what + "the import gives " + std::to_string(c.result), std::to_string(call.result));
    if (c.hold_ms != 0) {
      const ULONGLONG least = c.result == DORVAN_IMPORT_OK ? c.hold_ms : 2000;
      Check(waited + 20 >= least, what + "the import tried again for " + std::to_string(least) + " ms at least",
            std::to_string(waited) + " ms");
    }
    if (c.result == DORVAN_IMPORT_OK) {
      CheckHostFiles(work, c.what);
    } else {
      Check(call.BufferUnchanged(), what + "the name buffer is unchanged");
      Check(SameFolder(before, Snapshot(kHostFolder)),
            what + "the previous pair is untouched, and nothing else is there");
    }
    SetFileAttributesA(placement_file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// The host creates its import folder; the library never does.
void CheckMissingHostFolder(const Library& library, const Work& work) {
  Check(RemoveFolder(kHostFolder), "the test removed " + kHostFolder);
  const ImportCall homeless = Import(library, work.Marker(), "caller");
  Check(homeless.result == DORVAN_IMPORT_CANNOT_WRITE, "without " + kHostFolder + " the import gives -3",
        std::to_string(homeless.result));
  Check(homeless.BufferUnchanged(), "without " + kHostFolder + " the name buffer is unchanged");
  Check(!Snapshot(kHostFolder).exists, "without " + kHostFolder + " the import creates nothing");
  Check(!homeless.box.found, "without " + kHostFolder + " no box is shown");
}

// "表" in code page 932: its trail byte is the backslash, which only a reader that knows
// the lead bytes of the system's code page takes for half a character rather than a
// folder separator or a byte to replace.
const std::string kDoubleByte = "\x95\x5C";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Copies spring.lay 2.txt with its model files into a new folder, under another name.
bool CopyMarker(const Work& work, const std::string& folder, const std::string& marker) {
  const std::string source = work.folder + "\\spring lays\\";
  return CreateDirectoryA(folder.c_str(), nullptr) != 0 &&
         CopyFileA((source + "spring.lay 2.txt").c_str(), marker.c_str(), TRUE) != 0 &&
         CopyFileA((source + "JACKET.mdl").c_str(), (folder + "\\JACKET.mdl").c_str(), TRUE) != 0 &&
         CopyFileA((source + "TROUSERS.mdl").c_str(), (folder + "\\TROUSERS.mdl").c_str(), TRUE) != 0;
}

void CheckDoubleByteNames(const Library& library, const Work& work) {
  Check(GetACP() == 932, "the system's ANSI code page is 932", std::to_string(GetACP()));
  const std::string folder = work.folder + "\\" + kDoubleByte + " lays";
  const std::string marker = folder + "\\" + kDoubleByte + ".txt";
  Check(CopyMarker(work, folder, marker), "the marker and its models were copied to " + Shown(folder));

  std::vector<std::string> names;
  Check(library.get_style_list(marker.c_str(), &names) && names == std::vector<std::string>{"JACKET", "TROUSERS"},
        "GetStyleList reads a marker in a double-byte folder", Listed(names));

  const ImportCall imported = Import(library, marker, "");
  Check(imported.result == DORVAN_IMPORT_OK, "ImportDorvanFile on a double-byte name gives 1",
        std::to_string(imported.result));
  Check(imported.Name() == kDoubleByte, "the name buffer holds the double-byte name whole", Shown(imported.Name()));
  // The same marker as spring.lay 2.txt under another name: the piece names show that the
  // model files were found beside it.
  for (const char* name : kHostFileNames) {
    const auto written = ReadBytes(kHostFolder + "\\" + name);
    const std::string expected = Replaced(ReadBytes(work.Expected(name)).value_or(""), "SPRING-LAY 2", kDoubleByte);
    Check(written == expected, std::string(name) + " equals the expected file with the double-byte name",
          written ? std::to_string(written->size()) + " bytes written, " + std::to_string(expected.size()) + " expected"
                  : "not written");
  }

  const std::string no_models = folder + "\\no models.txt";
  WriteBytes(no_models, "IGEO:INUM\r\nVART:VEXT\r\nVMDL:VNMD\r\n3:JACKET\r\n");
  const ImportCall refused = Import(library, no_models, kDoubleByte);
  const std::string expected_text = kDoubleByte + " is an invalid Dorvan marker file.  No models were found.";
  Check(refused.result == DORVAN_IMPORT_NO_MODELS && refused.BufferUnchanged(),
        "a marker without models gives -1 and leaves the double-byte caller's text");
  Check(refused.box.found && refused.box.text == expected_text, "the box names the double-byte caller's text",
        Shown(refused.box.text));
}

// The DLL's version resource, read as installers and the file's properties read it, names
// the version the build was made with.
void CheckVersionResource(const std::string& dll) {
  DWORD unused = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(dll.c_str(), &unused));
  const bool read = !info.empty() && GetFileVersionInfoA(dll.c_str(), 0, static_cast<DWORD>(info.size()), info.data());
  Check(read, "GetFileVersionInfoA reads the DLL's version resource",
        "Windows error " + std::to_string(GetLastError()));
  if (!read) return;
  void* value = nullptr;
  UINT size = 0;
  const auto* fixed =
      VerQueryValueA(info.data(), "\\", &value, &size) ? static_cast<VS_FIXEDFILEINFO*>(value) : nullptr;
  const std::string version = fixed == nullptr ? "none"
                                               : std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                                     std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                                     std::to_string(HIWORD(fixed->dwFileVersionLS));
  Check(version == DORVAN_MARKER_VERSION_STRING, "the DLL's file version is " DORVAN_MARKER_VERSION_STRING, version);
  const struct {
    const char* name;
    const char* expected;
  } strings[] = {{"FileVersion", DORVAN_MARKER_VERSION_STRING},
                 {"ProductVersion", DORVAN_MARKER_VERSION_STRING},
                 {"ProductName", "dorvan_marker"},
                 {"OriginalFilename", "dorvan_marker.dll"}};
  for (const auto& s : strings) {
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + s.name;
    const std::string text = VerQueryValueA(info.data(), key.c_str(), &value, &size) && size > 0
                                 ? static_cast<const char*>(value)
                                 : "(none)";
    Check(text == s.expected, std::string("the DLL's ") + s.name + " is " + s.expected, text);
  }
}

// The site's plug-in beside the DLL serves the import: the same host files from its own
// model data, with no model file beside the marker.
void CheckSampleLoader(const Library& library, const Work& work) {
  const ImportCall imported = Import(library, work.folder + "\\tsv lays\\spring.lay 2.txt", "caller");
  Check(imported.result == DORVAN_IMPORT_OK && imported.Name() == "SPRING-LAY 2",
        "ImportDorvanFile through the sample plug-in beside the DLL gives 1 and the name",
        std::to_string(imported.result) + ", " + Shown(imported.Name()));
  Check(!imported.box.found, "the sample plug-in: no box");
  CheckHostFiles(work, "through the sample plug-in");
}

// A plug-in beside the DLL that cannot serve: the marker is judged first, then the import
// stops with the box naming the plug-in, and the style list never loads it.
void CheckBrokenLoader(const Library& library, const Work& work, HMODULE module) {
  char dll[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, dll, MAX_PATH);
  const std::string path(dll, length);
  const std::string plugin = path.substr(0, path.rfind('\\') + 1) + "dorvan_marker_loader.dll";
  const std::string words = plugin + ": the loader plug-in lacks the entry function dorvan_marker_get_loader";

  std::vector<std::string> names;
  Check(
      library.get_style_list(work.Marker().c_str(), &names) && names == std::vector<std::string>{"JACKET", "TROUSERS"},
      "a broken plug-in beside the DLL: GetStyleList still lists the models", Listed(names));

  const std::string no_models = work.File("no models.txt");
  WriteBytes(no_models, "IGEO:INUM\r\nVART:VEXT\r\nVMDL:VNMD\r\n3:JACKET\r\n");
  const FolderSnapshot before = Snapshot(kHostFolder);
  const struct {
    const char* what;
    std::string path;
    int result;
    std::string box_text;  // empty: no box
  } cases[] = {
      {"a missing marker", work.File("missing.txt"), DORVAN_IMPORT_CANNOT_OPEN, ""},
      {"a marker without models", no_models, DORVAN_IMPORT_NO_MODELS,
       "caller is an invalid Dorvan marker file.  No models were found."},
      {"the example marker", work.Marker(), DORVAN_IMPORT_LOADER_UNUSABLE, words.substr(0, 127)},
  };
  for (const auto& c : cases) {
    const ImportCall call = Import(library, c.path, "caller");
    const std::string what = std::string("a broken plug-in, ") + c.what + ": ";
    Check(call.result == c.result, what + "result " + std::to_string(c.result), std::to_string(call.result));
    Check(call.BufferUnchanged() && SameFolder(before, Snapshot(kHostFolder)),
          what + "the name buffer and the host files are untouched");
    Check(call.box.found == !c.box_text.empty() && call.box.text == c.box_text,
          what + (c.box_text.empty() ? "no box" : "the box says " + Shown(c.box_text)), Shown(call.box.text));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[3] : "";
  if ((argc != 3 && argc != 4) ||
      (argc == 4 && mode != "--code-page-932" && mode != "--sample-loader" && mode != "--broken-loader")) {
    std::fprintf(stderr,
                 "usage: dorvan_marker_host_test DLL WORK [--code-page-932 | --sample-loader | --broken-loader]\n");
    return 2;
  }
  const std::string dll = argv[1];
  const Work work{argv[2]};

  HMODULE module = LoadLibraryA(dll.c_str());
  Check(module != nullptr, "LoadLibrary " + dll, "Windows error " + std::to_string(GetLastError()));
  if (module == nullptr) return 1;
  // GetProcAddress hands back a generic function pointer; going through void* keeps the
  // compiler from warning about the cast between function types.
  Library library;
  library.get_style_list =
      reinterpret_cast<GetStyleListFn>(reinterpret_cast<void*>(GetProcAddress(module, "GetStyleList")));
  library.import =
      reinterpret_cast<ImportDorvanFileFn>(reinterpret_cast<void*>(GetProcAddress(module, "ImportDorvanFile")));
  Check(library.get_style_list != nullptr, "GetProcAddress GetStyleList");
  Check(library.import != nullptr, "GetProcAddress ImportDorvanFile");
  if (library.get_style_list == nullptr || library.import == nullptr) return 1;

  if (mode == "--code-page-932") {
    CheckDoubleByteNames(library, work);
  } else if (mode == "--sample-loader") {
    CheckSampleLoader(library, work);
  } else if (mode == "--broken-loader") {
    CheckBrokenLoader(library, work, module);
  } else {
    CheckVersionResource(dll);
    CheckStyleLists(library, work);
    CheckFirstImport(library, work);
    CheckRefusals(library, work);
    CheckHeldMarker(library, work);
    CheckSecondImport(library, work);
    CheckHeldPlacementFile(library, work);
    CheckMissingHostFolder(library, work);
  }

  Check(FreeLibrary(module) != 0, "FreeLibrary");
  return FailedChecks() == 0 ? 0 : 1;
}
