// Helpers for the texts the host passes: NUL-terminated byte strings in its ANSI code page.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// A host text as a view; a null pointer reads as the empty text.
inline std::string_view HostText(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

// Copies `text` into a caller's buffer of `size` bytes, cut to size - 1 bytes and always
// terminated. Does nothing for a null buffer or a size of 0.
inline void CopyToBuffer(std::string_view text, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return;
  const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}
