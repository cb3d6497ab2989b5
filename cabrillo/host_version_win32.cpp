// The host executable search of Stats.dll: the platform's own directory search.
#include <windows.h>

#include <optional>
#include <string>

#include "cabrillo/host_version.h"

namespace {

// A directory search handle, closed with FindClose.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : m_handle(handle) {}
  ~FindHandle() {
    if (valid()) FindClose(m_handle);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

}  // namespace

std::optional<std::string> FindHostExecutable() {
  WIN32_FIND_DATAA entry;
  const FindHandle search(FindFirstFileA("*.exe", &entry));
  if (!search.valid()) return std::nullopt;
  do {
    if (IsHostExecutableName(entry.cFileName)) return std::string(entry.cFileName);
  } while (FindNextFileA(search.get(), &entry));
  return std::nullopt;
}
