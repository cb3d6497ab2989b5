// POSIX: the file mapped, its pages loaded by the one call that maps it.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "cli/file_bytes.h"
#include "cli/file_view.h"

namespace {

#ifdef MAP_POPULATE
constexpr int kMapFlags = MAP_PRIVATE | MAP_POPULATE;
#else
constexpr int kMapFlags = MAP_PRIVATE;
#endif

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

std::optional<CFileView> CFileView::Open(const std::string& path, std::string& error) {
  const Descriptor fd(::open(path.c_str(), O_RDONLY));
  struct stat status {};
  if (fd.Get() < 0 || ::fstat(fd.Get(), &status) != 0) {
    error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) {
    error = path + ": is a folder, not a file";
    return std::nullopt;
  }
  CFileView view;
  // Pipes, devices and empty files cannot be mapped: they are read as a stream is.
  if (S_ISREG(status.st_mode) && status.st_size > 0) {
    const auto size = static_cast<std::size_t>(status.st_size);
    void* mapping = ::mmap(nullptr, size, PROT_READ, kMapFlags, fd.Get(), 0);
    if (mapping != MAP_FAILED) {
      view.m_mapping = mapping;
      view.m_mappedSize = size;
      view.m_bytes = std::string_view(static_cast<const char*>(mapping), size);
      return view;
    }
  }
  std::optional<std::string> bytes = ReadFileBytes(path, error);
  if (!bytes) return std::nullopt;
  view.m_copy = std::make_unique<std::string>(std::move(*bytes));
  view.m_bytes = *view.m_copy;
  return view;
}

CFileView::CFileView(CFileView&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, {})),
      m_mapping(std::exchange(other.m_mapping, nullptr)),
      m_mappedSize(std::exchange(other.m_mappedSize, 0)),
      m_copy(std::move(other.m_copy)) {}

CFileView& CFileView::operator=(CFileView&& other) noexcept {
  if (this != &other) {
    if (m_mapping != nullptr) ::munmap(m_mapping, m_mappedSize);
    m_bytes = std::exchange(other.m_bytes, {});
    m_mapping = std::exchange(other.m_mapping, nullptr);
    m_mappedSize = std::exchange(other.m_mappedSize, 0);
    m_copy = std::move(other.m_copy);
  }
  return *this;
}

CFileView::~CFileView() {
  if (m_mapping != nullptr) ::munmap(m_mapping, m_mappedSize);
}
