#include "win32/single_instance.h"

#include "win32/wide.h"

namespace ombrisk {

InstanceMarker::InstanceMarker(std::u16string_view name) {
  mutex_ = CreateMutexW(nullptr, FALSE, Wide(name).c_str());
  existed_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

InstanceMarker::~InstanceMarker() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

void InstanceMarker::Release() {
  if (mutex_ != nullptr) ReleaseMutex(mutex_);
}

}  // namespace ombrisk
