// SPDX-License-Identifier: MIT
#pragma once

#include "cli_arguments.hpp"

namespace cli {

// Each returns the exit code of its command (exit_codes.hpp).
int RunStyles(const Arguments& args);
int RunImport(const Arguments& args);
int RunInspect(const Arguments& args);
int RunRender(const Arguments& args);
int RunReport(const Arguments& args);
int RunPlan(const Arguments& args);

}  // namespace cli
