// Linked into a second build of the start-up baseline: it notes when the
// baseline's runtime starts (its "entry") and writes that beside the
// executable as it ends ("baseline.trace", the format of Ombrisk_trace.exe),
// so the breakdown shows the bare window's process start beside the
// program's.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

ULONGLONG Now() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

struct EntryMark {
  ULONGLONG time = Now();
  ~EntryMark() {
    wchar_t path[MAX_PATH];
    std::wstring trace(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    trace = trace.substr(0, trace.rfind(L'.')) + L".trace";
    if (FILE* file = _wfopen(trace.c_str(), L"w")) {
      std::fprintf(file, "entry\t%llu\n", time);
      std::fclose(file);
    }
  }
} entryMark;

}  // namespace
