#include "win32/single_instance.h"

#include "win32/wide.h"

namespace ombrisk {

InstanceMarker::InstanceMarker(std::u16string_view name) : mutex_(CreateMutexW(nullptr, FALSE, Wide(name).c_str())) {
  existed_ = mutex_.Valid() && GetLastError() == ERROR_ALREADY_EXISTS;
}

void InstanceMarker::Release() {
  if (mutex_.Valid()) ReleaseMutex(mutex_.Get());
}

}  // namespace ombrisk
