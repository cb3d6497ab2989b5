#include "engine/ubn_file.h"

#include <cstdio>

#include "engine/ubn_file_platform.h"

namespace {

void WriteAndClose(const char* mode, std::string_view bytes) {
  std::FILE* file = OpenSharedFile(kUbnFileName, mode);
  if (file == nullptr) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fflush(file);
  std::fclose(file);
}

}  // namespace

std::string FormatUbnLine(const UbnQso& qso, std::string_view reason) {
  const std::string_view kSeparator = "  ";
  std::string line = "QSO:  ";
  line += std::to_string(qso.freqHz / 1000);
  for (const std::string_view piece : {qso.mode, qso.time, qso.ownCall, qso.rstSent,
                                       qso.numberSent, qso.call, qso.rstRcvd, qso.exchRcvd}) {
    line += kSeparator;
    line += piece;
  }
  line += reason;
  line += kUbnLineEnd;
  return line;
}

void StartUbnFile() {
  std::string header(kUbnHeader);
  header += kUbnLineEnd;
  WriteAndClose("wb", header);
}

void EnsureUbnFile() {
  if (!FileExists(kUbnFileName)) WriteAndClose("ab", {});
}

void AppendToUbnFile(std::string_view line) { WriteAndClose("ab", line); }
