#include "win32/background_task.h"

#include <process.h>

#include <utility>

namespace ombrisk {

BackgroundTask::BackgroundTask(std::function<void()> work) : work_(std::move(work)) {
  // Through the C runtime, so the thread's own runtime data is set up and
  // freed with it.
  thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &BackgroundTask::Run, this, 0, nullptr));
  if (thread_ == nullptr) Run(this);
}

BackgroundTask::~BackgroundTask() { Join(); }

unsigned __stdcall BackgroundTask::Run(void* task) {
  auto* self = static_cast<BackgroundTask*>(task);
  try {
    self->work_();
  } catch (...) {
    self->failure_ = std::current_exception();
  }
  return 0;
}

void BackgroundTask::Join() {
  if (thread_ == nullptr) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

void BackgroundTask::Wait() {
  Join();
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace ombrisk
