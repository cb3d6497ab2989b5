// The UBN file "err.txt": the list of the QSOs that AddData0 refused, in the host's current
// directory. Lines end with CR LF on every platform; the bytes are written as they are.
//
// The file is opened only inside these calls and closed before they return, and while it is
// open other programs may read and write it. Nothing is cached between calls, so the file may
// be deleted, truncated or rewritten by anyone between them. A file that cannot be opened or
// written is passed over in silence. Called on the host's thread, never under the module lock.
#pragma once

#include <string>
#include <string_view>

inline constexpr char kUbnFileName[] = "err.txt";
inline constexpr std::string_view kUbnHeader = "SKOLP-NY-RTTY UBN file ";
inline constexpr std::string_view kUbnLineEnd = "\r\n";
// The two reasons for refusing a QSO, in the order AddData0 tests them.
inline constexpr std::string_view kUbnNoNumber = "   NO TX or RX NUMBER ||!";
inline constexpr std::string_view kUbnNoRtty = "   NO RTTY MODE !!!";

// What an error line shows of a refused QSO, as the host passed it.
struct UbnQso {
  unsigned int freqHz = 0;
  std::string_view mode;
  std::string_view time;  // the QSO date-time formatted "%Y-%m-%d %H%M"
  std::string_view ownCall;
  std::string_view rstSent;
  std::string_view numberSent;
  std::string_view call;
  std::string_view rstRcvd;
  std::string_view exchRcvd;
};

// One error line, its CR LF included.
std::string FormatUbnLine(const UbnQso& qso, std::string_view reason);

// Begins a fresh file: empties it (creating it when missing) and writes the header line.
void StartUbnFile();

// Creates the file, empty, when it does not exist; leaves an existing file untouched. Costs a
// look at the directory, not an open, when the file is there.
void EnsureUbnFile();

// Appends `line` at the end of the file (creating it when missing); the bytes are flushed and
// the file closed before this returns.
void AppendToUbnFile(std::string_view line);
