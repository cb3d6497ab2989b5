// PeVersionReader: the file version that a Windows executable (a PE file: EXE or DLL) carries
// in its version resource, the fixed file information of the root block "\".
//
// Two implementations with one contract:
// - VersionDllPeVersionReader (Windows builds only) asks version.dll: GetFileVersionInfoSizeA,
//   GetFileVersionInfoA, VerQueryValueA with the sub-block "\";
// - PortablePeVersionReader is our own reader of the PE file: the headers, the section table,
//   the resource directory (type 16, name 1, the first language), the VS_VERSIONINFO block.
// DefaultPeVersionReader is the one the module uses: version.dll's in a Windows build, ours
// elsewhere.
//
// The contract:
// - The version is there when the file is a PE image whose version resource holds a fixed
//   file information block: at least its 52 bytes, beginning with the signature 0xFEEF04BD.
// - Nothing comes back for a missing or unreadable file, a file that is no PE image, one
//   without a version resource, one whose root block is too short or lacks the signature, and
//   for every file cut short before the signature ends. A file cut inside the rest of the
//   fixed file information gives nothing from our reader; version.dll reads the missing bytes
//   as zeros and may give the parts that remain.
// - Any file may be given, however malformed: our reader checks every offset and size it takes
//   from the file against the file's bounds and reads at most the headers and the resource
//   data, never the whole file.
//
// Both implementations may be called from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The four parts of a file version: dwFileVersionMS holds major (high 16 bits) and minor,
// dwFileVersionLS build (high 16 bits) and revision.
struct FileVersion {
  uint16_t major = 0, minor = 0, build = 0, revision = 0;
  bool operator==(const FileVersion&) const = default;
};

class PeVersionReader {
 public:
  virtual ~PeVersionReader() = default;
  // The file version of the executable at `path` (narrow, in the system's ANSI code page).
  virtual std::optional<FileVersion> Read(const std::string& path) = 0;
};

PeVersionReader& PortablePeVersionReader();
// Defined in Windows builds only.
PeVersionReader& VersionDllPeVersionReader();
PeVersionReader& DefaultPeVersionReader();
