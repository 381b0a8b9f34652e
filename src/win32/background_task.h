// Work done on a thread of its own while the caller goes on, such as the
// reading of the settings file while the main window is being made.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

namespace ombrisk {

class BackgroundTask {
 public:
  // Starts the work; where no thread can be started it is done at once.
  explicit BackgroundTask(std::function<void()> work);
  // Waits for the work's end; what it threw is dropped.
  ~BackgroundTask();
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Waits for the work's end and throws what it threw, once.
  void Wait();

 private:
  static unsigned __stdcall Run(void* task);
  void Join();

  std::function<void()> work_;
  std::exception_ptr failure_;
  HANDLE thread_ = nullptr;
};

}  // namespace ombrisk
