// What the windows get from outside: production passes the Windows
// implementations, tests pass recording ones where a real one would block.
#pragma once

#include "core/file_system.h"
#include "core/registry.h"
#include "ui/error_boundary.h"

namespace ombrisk {

struct Services {
  RegistryFactory& registries;
  FileSystem& files;
  ErrorReporter reportError;
};

}  // namespace ombrisk
