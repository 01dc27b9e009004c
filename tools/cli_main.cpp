// SPDX-License-Identifier: MIT
// dorvan-marker: the command line of the dorvan_marker library.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>
#if defined(__GLIBC__)  // known once a C library header is in
#  include <malloc.h>
#endif

#include "cli_arguments.hpp"
#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/import.hpp"
#include "exit_codes.hpp"
#include "system.hpp"

namespace {

const char* const kHelp =
    "usage: dorvan-marker COMMAND [OPTIONS] MARKER...\n"
    "\n"
    "Reads marker files (garment pieces laid on fabric, saved as colon-separated text)\n"
    "and the model files (.mdl) beside them.\n"
    "\n"
    "commands:\n"
    "  styles MARKER... [--json]      print each marker's model names, one a line\n"
    "  import MARKER [--out-dir DIR] [--strict]\n"
    "                                 write DIR/csvimprt.txt and DIR/posimport.txt for the\n"
    "                                 host and print the marker's name (DIR defaults to .,\n"
    "                                 and is made with its parents when missing); what\n"
    "                                 inspect would report goes to stderr, one line each\n"
    "  import MARKER... [--out-dir DIR] [-j N] [--strict]\n"
    "                                 with several markers, each into DIR/NAME/ (NAME: its\n"
    "                                 file name without extension, -2, -3, ... added for a\n"
    "                                 name seen before), N at a time, and a summary table\n"
    "                                 with each marker's warnings\n"
    "  inspect MARKER... [--json | --csv] [--plies N] [--end-allowance MM] [--strict]\n"
    "                                 report what the import would do, writing nothing: the\n"
    "                                 marker's width, used length, efficiency, garments\n"
    "                                 (an article with a placement in the host files is one\n"
    "                                 garment of its size), length per garment, sizes and\n"
    "                                 styles, and every diagnostic with its line; with\n"
    "                                 --plies or --end-allowance, the fabric N plies need,\n"
    "                                 N x (used length + end allowance), and the garments\n"
    "                                 they cut\n"
    "  render MARKER -o FILE.svg      draw the marker, its pieces coloured by size\n"
    "  report MARKER... -o FILE.html [--paper a4|letter] [--title TEXT] [--plies N]\n"
    "       [--end-allowance MM] [--order ORDER.csv [--max-plies N]]\n"
    "                                 one printable landscape page per marker: its picture,\n"
    "                                 figures, sizes, styles and diagnostics; with several\n"
    "                                 markers, a first page sums the season (and, with\n"
    "                                 --order, shows the plan)\n"
    "  plan --order ORDER.csv MARKER... [--max-plies N] [--end-allowance MM]\n"
    "       [--json | --csv]\n"
    "                                 the plies of each marker (at most 12) that cut the\n"
    "                                 order (rows size,quantity) with the least fabric,\n"
    "                                 then the fewest garments beyond it\n"
    "\n"
    "options:\n"
    "  --codepage CP   code page of names: 1252, 932, 936, 949, 950 or utf-8\n"
    "                  (default: the system's)\n"
    "  --loader PATH   import, inspect, render, report: read the model files through\n"
    "                  the loader plug-in PATH (default: the one DORVAN_MARKER_LOADER\n"
    "                  names, else the library's own .mdl loader; docs/loader-plugin.md)\n"
    "  --json          styles, inspect, plan: one JSON document (docs/schema/*-v1.json)\n"
    "  --csv           inspect: one row per marker, the figures of --json (RFC 4180);\n"
    "                  plan: a row per marker, per size and the total\n"
    "  --paper NAME    report: a4 (default) or letter, landscape\n"
    "  -j N, -jN       import: N markers side by side (default: the machine's cores)\n"
    "  --strict        import, inspect, report: exit 1 when any marker has a warning\n"
    "                  (6 when placements reach neither host file)\n"
    "  --max-plies N   plan, report --order: at most N plies of each marker (default 100)\n"
    "  --end-allowance MM\n"
    "                  inspect, report, plan: fabric lost at the ends of each ply, in mm\n"
    "                  (default 0)\n"
    "  --plies N       inspect, report: plies of each marker spread (default 1)\n"
    "  --title TEXT    report: the report's title, on every page (default: the first\n"
    "                  marker's folder name)\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "With several markers, styles, import, inspect and report show progress on a\n"
    "terminal, and all but report end with a summary table. Only results go to stdout;\n"
    "every message goes to stderr.\n"
    "\n"
    "exit codes:\n"
    "  0   done (inspect: no errors; warnings only matter with --strict)\n"
    "  1   styles: the marker has no model names (\"VMDL\" records)\n"
    "      import, inspect, report with --strict: a marker has warnings\n"
    "  2   the marker file cannot be opened\n"
    "  3   import, inspect, render, report: the marker holds no models\n"
    "  4   the marker is malformed (the message names file, line, section and field)\n"
    "  5   import: the host files cannot be written (neither file is changed), or DIR\n"
    "      cannot be made (no marker is read);\n"
    "      render, report: the picture or the page cannot be written (none is left)\n"
    "  6   inspect, report, import --strict: placements whose size is not among the\n"
    "      marker's sizes reach neither host file\n"
    "  7   import, inspect, render, report: the loader plug-in cannot serve (the message\n"
    "      names it and says why)\n"
    "  8   the memory ran out (the marker may be fine; the message says so)\n"
    "  9   plan, report --order: no plan meets the order within --max-plies (the\n"
    "      message names the sizes that fall short; report still writes its pages)\n"
    "  64  the command line is wrong (an option the command does not take, too), or\n"
    "      the order file of plan or report is refused (the message names its line and\n"
    "      why)\n"
    "  70  a fault of dorvan-marker itself\n"
    "With several markers, a command exits with the largest of their codes.\n";

// The commands that take each option; --help and --version stand alone.
const std::vector<cli::OptionUse> kOptionUses = {
    {"--out-dir", {"import"}},
    {"--codepage", {"styles", "import", "inspect", "render", "report", "plan"}},
    {"--loader", {"import", "inspect", "render", "report", "plan"}},
    {"-o", {"render", "report"}},
    {"--paper", {"report"}},
    {"-j", {"import"}},
    {"--json", {"styles", "inspect", "plan"}},
    {"--csv", {"inspect", "plan"}},
    {"--order", {"plan", "report"}},
    {"--max-plies", {"plan", "report"}},
    {"--end-allowance", {"inspect", "report", "plan"}},
    {"--plies", {"inspect", "report"}},
    {"--title", {"report"}},
    {"--strict", {"import", "inspect", "report"}},
};

bool IsCommand(const std::string& name) {
  for (const char* command : {"styles", "import", "inspect", "render", "report", "plan"}) {
    if (name == command) return true;
  }
  return false;
}

int Run(int argc, char** argv) {
#if defined(SIGXFSZ)
  // Beyond a file-size limit (ulimit -f) a write then fails like one to a full disk, and
  // the import reports it (exit 5, the host files as they were) instead of the process
  // being killed half way.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#if defined(__GLIBC__)
  // A command reads marker after marker in one process. glibc would give each marker's
  // large buffers back to the system and fault them in again for the next one, which for
  // a season of markers costs as much as the reading itself; the heap is kept instead.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest glibc takes
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  const cli::Arguments args = cli::Parse(argc, argv,
                                         {"--out-dir", "--codepage", "--loader", "-o", "--paper", "-j", "--order",
                                          "--max-plies", "--end-allowance", "--plies", "--title"},
                                         {"--help", "-h", "--version", "--json", "--csv", "--strict"});
  if (!args.error.empty()) return cli::Usage(args.error);
  if (args.Has("--help") || args.Has("-h")) {
    std::cout << kHelp;
    return cli::kOk;
  }
  if (args.Has("--version")) {
    if (!args.command.empty() || !args.positional.empty() || args.flags.size() + args.options.size() != 1) {
      return cli::Usage("--version takes nothing else");
    }
    std::cout << "dorvan-marker " << dorvan_marker::Version() << "\n";
    return cli::kOk;
  }
  if (const std::string refused = cli::RefusedOption(args, kOptionUses); !refused.empty() && IsCommand(args.command)) {
    return cli::Usage(refused);
  }
  try {
    if (args.command == "styles") return cli::RunStyles(args);
    if (args.command == "import") return cli::RunImport(args);
    if (args.command == "inspect") return cli::RunInspect(args);
    if (args.command == "render") return cli::RunRender(args);
    if (args.command == "report") return cli::RunReport(args);
    if (args.command == "plan") return cli::RunPlan(args);
  } catch (const std::bad_alloc&) {  // the program's own memory, not the marker's fault
    cli::Complain("out of memory");
    return cli::kOutOfMemory;
  } catch (const std::exception& error) {
    cli::Complain(error.what());
    return cli::kMalformed;
  }
  if (args.command.empty()) return cli::Usage("no command given");
  return cli::Usage("unknown command " + args.command);
}

}  // namespace

#if defined(_WIN32)
// main's arguments would be in the system's code page, which holds only some of the
// names a user can give: the program starts from the UTF-16 command line (-municode) and
// carries it in UTF-8.
int wmain(int argc, wchar_t** wide_argv) {
  std::vector<std::string> arguments = cli::Utf8Arguments(argc, wide_argv);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  cli::ShowUtf8OnConsole();
  return Run(argc, argv.data());
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
