// Our own reader of a PE file's version resource. The file is untrusted: every number taken
// from it is checked against the file's size (and against the sizes the file itself states)
// before it is used, all arithmetic is done in 64 bits, and the walk through the resource tree
// has a fixed depth, so no file can make it read out of bounds, overflow or loop.
#include "platform/pe_version.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace {

constexpr uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kVersionResourceType = 16;  // RT_VERSION
constexpr uint32_t kVersionResourceName = 1;   // VS_VERSION_INFO
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr uint32_t kFixedInfoSize = 52;  // sizeof(VS_FIXEDFILEINFO)
constexpr uint32_t kMaxSections = 96;    // the loader's own limit
constexpr uint32_t kHighBit = 0x80000000u;

// Little-endian reads at absolute offsets of one file; every read outside the file fails.
class FileReader {
 public:
  explicit FileReader(const std::string& path) {
    std::error_code error;
    // Only a regular file: a FIFO or a device would block or never end.
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error) || error) return;
    m_in.open(path, std::ios::binary);
    if (!m_in) return;
    m_in.seekg(0, std::ios::end);
    const std::streamoff size = m_in.tellg();
    if (size > 0) m_size = static_cast<uint64_t>(size);
  }

  bool Bytes(uint64_t offset, uint64_t count, unsigned char* out) {
    if (offset > m_size || count > m_size - offset) return false;
    m_in.clear();
    m_in.seekg(static_cast<std::streamoff>(offset));
    m_in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return m_in.gcount() == static_cast<std::streamsize>(count);
  }

  std::optional<uint16_t> U16(uint64_t offset) {
    std::array<unsigned char, 2> b;
    if (!Bytes(offset, b.size(), b.data())) return std::nullopt;
    return static_cast<uint16_t>(b[0] | b[1] << 8);
  }

  std::optional<uint32_t> U32(uint64_t offset) {
    std::array<unsigned char, 4> b;
    if (!Bytes(offset, b.size(), b.data())) return std::nullopt;
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
  }

 private:
  std::ifstream m_in;
  uint64_t m_size = 0;
};

struct Section {
  uint32_t virtualAddress, mappedSize, rawPointer;
};

// A PE image as far as the version lookup needs it: where RVAs lie in the file.
class PeImage {
 public:
  explicit PeImage(FileReader& file) : m_file(file) {}

  // Reads the headers; false when the file is no PE image with a resource directory.
  bool Open() {
    if (m_file.U16(0) != kDosSignature) return false;
    const auto peOffset = m_file.U32(0x3C);
    if (!peOffset || m_file.U32(*peOffset) != kPeSignature) return false;
    const uint64_t coff = uint64_t{*peOffset} + 4;
    const auto sectionCount = m_file.U16(coff + 2);
    const auto optionalSize = m_file.U16(coff + 16);
    const uint64_t optional = coff + 20;
    const auto magic = m_file.U16(optional);
    if (!sectionCount || !optionalSize || !magic) return false;
    uint64_t directoryCountAt;
    if (*magic == kPe32Magic) {
      directoryCountAt = optional + 92;
    } else if (*magic == kPe32PlusMagic) {
      directoryCountAt = optional + 108;
    } else {
      return false;
    }
    const uint64_t resourceEntry = directoryCountAt + 4 + 8 * kResourceDirectoryIndex;
    const auto directoryCount = m_file.U32(directoryCountAt);
    if (!directoryCount || *directoryCount <= kResourceDirectoryIndex ||
        resourceEntry + 8 > optional + *optionalSize) {
      return false;
    }
    const auto resourceRva = m_file.U32(resourceEntry);
    if (!resourceRva || *resourceRva == 0) return false;
    m_resourceRva = *resourceRva;

    if (*sectionCount > kMaxSections) return false;
    const uint64_t table = optional + *optionalSize;
    for (uint32_t i = 0; i < *sectionCount; ++i) {
      const uint64_t at = table + 40 * uint64_t{i};
      const auto virtualSize = m_file.U32(at + 8), virtualAddress = m_file.U32(at + 12);
      const auto rawSize = m_file.U32(at + 16), rawPointer = m_file.U32(at + 20);
      if (!virtualSize || !virtualAddress || !rawSize || !rawPointer) return false;
      // Beyond its virtual size a section's raw data is padding the loader does not map.
      const uint32_t mapped =
          *virtualSize != 0 && *virtualSize < *rawSize ? *virtualSize : *rawSize;
      m_sections[i] = {*virtualAddress, mapped, *rawPointer};
    }
    m_sectionCount = *sectionCount;
    return true;
  }

  // The file offset of `count` bytes at `rva`, when they all lie in one section's file data.
  std::optional<uint64_t> FileOffset(uint64_t rva, uint64_t count) const {
    for (uint32_t i = 0; i < m_sectionCount; ++i) {
      const Section& s = m_sections[i];
      if (rva >= s.virtualAddress && rva - s.virtualAddress <= s.mappedSize &&
          count <= s.mappedSize - (rva - s.virtualAddress)) {
        return uint64_t{s.rawPointer} + (rva - s.virtualAddress);
      }
    }
    return std::nullopt;
  }

  std::optional<uint32_t> ResourceU32(uint64_t offsetInResources) {
    const auto at = FileOffset(m_resourceRva + offsetInResources, 4);
    if (!at) return std::nullopt;
    return m_file.U32(*at);
  }

  std::optional<uint16_t> ResourceU16(uint64_t offsetInResources) {
    const auto at = FileOffset(m_resourceRva + offsetInResources, 2);
    if (!at) return std::nullopt;
    return m_file.U16(*at);
  }

  // The entry of the resource directory at `directory` (an offset in the resource data) whose
  // numeric id is `id`, or its first entry of any kind when `id` is empty: the entry's
  // OffsetToData.
  std::optional<uint32_t> Entry(uint32_t directory, std::optional<uint32_t> id) {
    const auto named = ResourceU16(uint64_t{directory} + 12);
    const auto ids = ResourceU16(uint64_t{directory} + 14);
    if (!named || !ids) return std::nullopt;
    const uint32_t count = uint32_t{*named} + *ids;
    for (uint32_t i = 0; i < count; ++i) {
      const uint64_t entry = uint64_t{directory} + 16 + 8 * uint64_t{i};
      const auto name = ResourceU32(entry);
      const auto offset = ResourceU32(entry + 4);
      if (!name || !offset) return std::nullopt;
      if (!id || *name == *id) return *offset;
    }
    return std::nullopt;
  }

  uint32_t ResourceRva() const { return m_resourceRva; }
  FileReader& File() { return m_file; }

 private:
  FileReader& m_file;
  uint32_t m_resourceRva = 0;
  std::array<Section, kMaxSections> m_sections{};
  uint32_t m_sectionCount = 0;
};

// The VS_VERSIONINFO block of `size` bytes at file offset `at`: its root value, the fixed file
// information.
std::optional<FileVersion> ReadVersionBlock(FileReader& file, uint64_t at, uint32_t size) {
  const auto length = file.U16(at), valueLength = file.U16(at + 2);
  if (!length || !valueLength || *length > size) return std::nullopt;
  // The key: UTF-16 units from offset 6 up to a zero unit, then padding to 32 bits.
  uint64_t key = 6;
  for (;; key += 2) {
    if (key + 2 > *length) return std::nullopt;
    const auto unit = file.U16(at + key);
    if (!unit) return std::nullopt;
    if (*unit == 0) break;
  }
  const uint64_t value = (key + 2 + 3) & ~uint64_t{3};
  if (*valueLength < kFixedInfoSize || value + kFixedInfoSize > *length) return std::nullopt;
  // The whole block must be in the file, not only the words taken from it.
  std::array<unsigned char, kFixedInfoSize> fixed;
  if (!file.Bytes(at + value, fixed.size(), fixed.data())) return std::nullopt;
  const auto word = [&](std::size_t offset) {
    return static_cast<uint32_t>(fixed[offset]) | static_cast<uint32_t>(fixed[offset + 1]) << 8 |
           static_cast<uint32_t>(fixed[offset + 2]) << 16 |
           static_cast<uint32_t>(fixed[offset + 3]) << 24;
  };
  if (word(0) != kFixedInfoSignature) return std::nullopt;
  const uint32_t versionMs = word(8), versionLs = word(12);
  return FileVersion{
      static_cast<uint16_t>(versionMs >> 16), static_cast<uint16_t>(versionMs & 0xFFFF),
      static_cast<uint16_t>(versionLs >> 16), static_cast<uint16_t>(versionLs & 0xFFFF)};
}

class PortableReader final : public PeVersionReader {
 public:
  std::optional<FileVersion> Read(const std::string& path) override {
    FileReader file(path);
    PeImage image(file);
    if (!image.Open()) return std::nullopt;
    // Three levels: type, name, language; the first two must lead to directories, the last to
    // a data entry.
    const auto types = image.Entry(0, kVersionResourceType);
    if (!types || (*types & kHighBit) == 0) return std::nullopt;
    const auto names = image.Entry(*types & ~kHighBit, kVersionResourceName);
    if (!names || (*names & kHighBit) == 0) return std::nullopt;
    const auto language = image.Entry(*names & ~kHighBit, std::nullopt);
    if (!language || (*language & kHighBit) != 0) return std::nullopt;
    const auto dataRva = image.ResourceU32(*language);
    const auto dataSize = image.ResourceU32(uint64_t{*language} + 4);
    if (!dataRva || !dataSize) return std::nullopt;
    const auto at = image.FileOffset(*dataRva, *dataSize);
    if (!at) return std::nullopt;
    return ReadVersionBlock(file, *at, *dataSize);
  }
};

}  // namespace

PeVersionReader& PortablePeVersionReader() {
  static PortableReader reader;
  return reader;
}
