// CFileView: the bytes of a file, read-only, for as long as the object lives. Where the system
// offers it (POSIX) the file is mapped into memory with its pages loaded at once: no copy and
// no fresh memory to fault in, which is most of the cost of reading a large log. Elsewhere it
// is read into memory in one go.
//
// A file mapped while another program shortens it can fault on access; logs are not written
// while they are scored. Move-only; the view's bytes stay where they are when it is moved.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CFileView {
 public:
  // The file at `path`, or nothing with `error` naming the file and the reason.
  static std::optional<CFileView> Open(const std::string& path, std::string& error);

  CFileView(CFileView&& other) noexcept;
  CFileView& operator=(CFileView&& other) noexcept;
  CFileView(const CFileView&) = delete;
  CFileView& operator=(const CFileView&) = delete;
  ~CFileView();

  std::string_view Bytes() const { return m_bytes; }

 private:
  CFileView() = default;

  std::string_view m_bytes;
  void* m_mapping = nullptr;  // when mapped
  std::size_t m_mappedSize = 0;
  std::unique_ptr<std::string> m_copy;  // when read
};
