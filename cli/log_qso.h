// LogQso: one QSO of an ADIF log in the form the host hands it to AddData0, and how it is read
// from an ADIF record.
//
// The fields read (names in any case; values without the blanks around them):
// - CALL, upper case; required.
// - QSO_DATE (YYYYMMDD) and TIME_ON (HHMM or HHMMSS), the QSO's date-time; required.
// - FREQ in MHz, as Hz (exact decimal arithmetic, rounded to the nearest Hz). Without FREQ the
//   frequency is the lower edge of the band.
// - BAND, in lower case ("20m"); without BAND the band that FREQ lies in. A QSO needs one of
//   the two.
// - MODE, upper case (ADIF's values are case-blind; the module wants "RTTY").
// - RST_SENT, RST_RCVD, as written.
// - the sent number: STX_STRING, else STX as at least three digits ("007").
// - the received exchange: SRX_STRING, else SRX as at least three digits, a blank and NAME
//   (no blank without a NAME).
// - the own call: STATION_CALLSIGN, else OPERATOR, upper case; MY_NAME, the operator's name.
// A field the module receives must not hold a zero byte (it would end the host's text early),
// and no field read here may be given twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/adif_reader.h"
#include "platform/ole_date_time.h"

// The texts of a log's QSOs in one buffer, each followed by a zero byte, so that the host's
// text arguments are pointers into it: no allocation per field, however long the log.
class CLogTexts {
 public:
  // Where a text begins; 0 is the empty text. 32 bits keep a log's QSO records small; a log
  // whose texts outgrow them makes Add throw std::length_error.
  using Ref = std::uint32_t;

  CLogTexts() : m_bytes(1, '\0') {}

  Ref Add(std::string_view text);
  Ref AddUpper(std::string_view text);
  Ref AddLower(std::string_view text);
  // Valid until the next Add.
  const char* Get(Ref ref) const { return m_bytes.data() + ref; }
  bool IsEmpty(Ref ref) const { return m_bytes[ref] == '\0'; }

  // Drops every text added since Size() returned `size`.
  std::size_t Size() const { return m_bytes.size(); }
  void Truncate(std::size_t size) { m_bytes.resize(size); }
  void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }

 private:
  std::string m_bytes;
};

struct LogQso {
  std::size_t record = 0;  // the ADIF record number
  COleDateTime time;
  unsigned int freqHz = 0;
  bool freqFromBand = false;   // no FREQ: the band's lower edge stands in
  CLogTexts::Ref ownCall = 0;  // may be empty
  CLogTexts::Ref myName = 0;   // may be empty
  CLogTexts::Ref call = 0;
  CLogTexts::Ref mode = 0;
  CLogTexts::Ref rstSent = 0;
  CLogTexts::Ref rstRcvd = 0;
  CLogTexts::Ref numberSent = 0;
  CLogTexts::Ref exchRcvd = 0;
  CLogTexts::Ref band = 0;
};

// Reads the QSO of a record that CAdifReader read without error, its texts into `texts`. False,
// with `error` naming the field and the fault, when the record holds no usable QSO; `texts`
// are then as they were.
bool ReadLogQso(const AdifRecord& record, CLogTexts& texts, LogQso& qso, std::string& error);

// The ADIF band of a frequency in Hz ("20m"), or "" outside every band.
std::string_view BandOfFrequency(unsigned int hz);

// Parses an ADIF frequency in MHz ("14.0855") into Hz; false for anything else, or beyond the
// 32-bit range the host passes.
bool ParseMegahertz(std::string_view text, unsigned int& hz);
