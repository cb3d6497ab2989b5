// Without a mapping call in the standard library: the file read into memory in one go.
#include <utility>

#include "cli/file_bytes.h"
#include "cli/file_view.h"

std::optional<CFileView> CFileView::Open(const std::string& path, std::string& error) {
  std::optional<std::string> bytes = ReadFileBytes(path, error);
  if (!bytes) return std::nullopt;
  CFileView view;
  view.m_copy = std::make_unique<std::string>(std::move(*bytes));
  view.m_bytes = *view.m_copy;
  return view;
}

CFileView::CFileView(CFileView&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, {})), m_copy(std::move(other.m_copy)) {}

CFileView& CFileView::operator=(CFileView&& other) noexcept {
  m_bytes = std::exchange(other.m_bytes, {});
  m_copy = std::move(other.m_copy);
  return *this;
}

CFileView::~CFileView() = default;
