// The running processes of the system with their executables and command
// lines, read through the system (the process's own parameters), for
// finding the IDEs that use a settings key.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/running_ide.h"

namespace ombrisk {

// The processes of this session that may run one of the executables
// (MayRun); the command line of one that does not let itself be read is
// left empty (an elevated one is read where the system has the query that
// needs only limited rights). A process that ends meanwhile is left out.
std::vector<RunningProcess> ListRunningProcesses(std::span<const std::u16string> executables);

}  // namespace ombrisk
