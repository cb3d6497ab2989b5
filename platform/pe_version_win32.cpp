// version.dll behind PeVersionReader, and the module's default reader in a Windows build.
// The query asks for the root block "\" with VerQueryValueW: the fixed file information that
// VerQueryValueA gives too, without the ANSI conversion of the whole block that the A form makes.
#include <windows.h>
#include <winver.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/pe_version.h"

namespace {

// The smallest version information that holds a fixed file information: the block header
// (6 bytes), the key "VS_VERSION_INFO" with its zero (32), padding (2), the value (52).
constexpr DWORD kMinimumInfoSize = 92;

class VersionDllReader final : public PeVersionReader {
 public:
  std::optional<FileVersion> Read(const std::string& path) override {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size < kMinimumInfoSize) return std::nullopt;
    std::vector<unsigned char> info(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return std::nullopt;
    // version.dll trusts the block it read: from a damaged file (a cut one gives a block of
    // zeros) its queries run past the buffer. So the block must first state a length that
    // fits, and the query is the Unicode one, which converts nothing.
    const unsigned length = info[0] | info[1] << 8;
    if (length < kMinimumInfoSize || length > size) return std::nullopt;
    void* value = nullptr;
    UINT valueLength = 0;
    wchar_t root[] = L"\\";
    if (!VerQueryValueW(info.data(), root, &value, &valueLength) || value == nullptr) {
      return std::nullopt;
    }
    // It hands out whatever the root block holds; the contract wants a whole fixed file
    // information with its signature.
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const auto* end = info.data() + info.size();
    if (valueLength < sizeof(VS_FIXEDFILEINFO) ||
        static_cast<const unsigned char*>(value) < info.data() ||
        static_cast<const unsigned char*>(value) + sizeof(VS_FIXEDFILEINFO) > end ||
        fixed->dwSignature != VS_FFI_SIGNATURE) {
      return std::nullopt;
    }
    return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
  }
};

}  // namespace

PeVersionReader& VersionDllPeVersionReader() {
  static VersionDllReader reader;
  return reader;
}

PeVersionReader& DefaultPeVersionReader() { return VersionDllPeVersionReader(); }
