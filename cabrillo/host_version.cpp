#include "cabrillo/host_version.h"

#include <cstdio>

#include "cabrillo/mbcs_text.h"

std::string HostVersionText() {
  const std::optional<std::string> executable = FindHostExecutable();
  if (!executable) return {};
  const std::optional<FileVersion> version = DefaultPeVersionReader().Read(*executable);
  return version ? FormatHostVersion(*version) : std::string();
}

std::string FormatHostVersion(const FileVersion& version) {
  char text[24];
  if (version.major == 2) {
    std::snprintf(text, sizeof text, "%d.%d", version.major, version.minor);
  } else {
    std::snprintf(text, sizeof text, "%d.%d.%d", version.major, version.minor, version.build);
  }
  return text;
}

bool IsHostExecutableName(std::string_view fileName) {
  return FindText(fileName, "Tulm") != std::string_view::npos;
}
