#include "cli/log_qso.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::literals;

// The QSO of the file's first record as "CALL date time Hz band mode rst rst [sent] [rcvd]
// own [name]" (" freq from band" added when FREQ was missing), or "error: ...".
std::string Read(std::string_view file) {
  CAdifReader reader(file);
  AdifRecord record;
  if (!reader.Next(record) || !record.error.empty()) return "unreadable";
  CLogTexts texts;
  texts.Add("before");
  const std::size_t before = texts.Size();
  LogQso q;
  std::string error;
  if (!ReadLogQso(record, texts, q, error)) {
    // A refused record keeps no text.
    EXPECT_EQ(texts.Size(), before) << error;
    return "error: " + error;
  }
  const auto text = [&texts](CLogTexts::Ref ref) { return std::string(texts.Get(ref)); };
  return text(q.call) + " " + q.time.Format("%Y-%m-%d %H:%M:%S") + " " + std::to_string(q.freqHz) +
         " " + text(q.band) + " " + text(q.mode) + " " + text(q.rstSent) + " " + text(q.rstRcvd) +
         " [" + text(q.numberSent) + "] [" + text(q.exchRcvd) + "] " + text(q.ownCall) + " [" +
         text(q.myName) + "]" + (q.freqFromBand ? " freq from band" : "");
}

struct Case {
  const char* what;
  std::string_view file;
  const char* expected;
};

const Case kCases[] = {
    {"every field, names in lower case, values in any case",
     "<call:6>oh2abc<qso_date:8>20130101<time_on:6>081542<freq:7>14.0855<band:3>20M"
     "<mode:4>rtty<rst_sent:3>599<rst_rcvd:3>579<stx:1>7<srx:2>17<name:5>PEKKA"
     "<station_callsign:6>sm5xyz<my_name:4>ANNA<eor>",
     "OH2ABC 2013-01-01 08:15:42 14085500 20m RTTY 599 579 [007] [017 PEKKA] SM5XYZ [ANNA]"},
    {"HHMM, the *_STRING fields before STX and SRX, OPERATOR without STATION_CALLSIGN",
     "<CALL:6>LA1ABC<QSO_DATE:8>20130101<TIME_ON:4>0930<FREQ:5>7.035<BAND:3>40m<MODE:4>RTTY"
     "<STX:1>9<STX_STRING:3>012<SRX:1>5<SRX_STRING:8>123 OLAV<NAME:3>PER<OPERATOR:6>SM5XYZ<EOR>",
     "LA1ABC 2013-01-01 09:30:00 7035000 40m RTTY   [012] [123 OLAV] SM5XYZ []"},
    {"no BAND: the band of FREQ; a received number without a name; serials keep their digits",
     "<CALL:6>OZ1ABC<QSO_DATE:8>20130101<TIME_ON:4>1000<FREQ:8>3.580250<MODE:4>RTTY"
     "<STX:4>1234<SRX:3>000<EOR>",
     "OZ1ABC 2013-01-01 10:00:00 3580250 80m RTTY   [1234] [000]  []"},
    {"no FREQ: the band's lower edge stands in",
     "<CALL:6>TF3ABC<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>15m<MODE:4>RTTY<EOR>",
     "TF3ABC 2013-01-01 10:00:00 21000000 15m RTTY   [] []  [] freq from band"},
    {"blanks around values are dropped; data with UTF-8 bytes is kept",
     "<CALL:8> OH2ABC <QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<SRX:3>017"
     "<NAME:6>J\xc3\xb6rg <EOR>",
     "OH2ABC 2013-01-01 10:00:00 14000000 20m    [] [017 J\xc3\xb6rg]  [] freq from band"},
    {"a frequency in a band the module does not score",
     "<CALL:6>DL1ABC<QSO_DATE:8>20130101<TIME_ON:4>1000<FREQ:6>10.140<EOR>",
     "DL1ABC 2013-01-01 10:00:00 10140000 30m    [] []  []"},
    {"other fields, zero bytes in them included, do not matter",
     "<CALL:6>DL1ABC<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<COMMENT:3>a\0b<EOR>"sv,
     "DL1ABC 2013-01-01 10:00:00 14000000 20m    [] []  [] freq from band"},
};

TEST(LogQso, MapsAdifFieldsToTheHostsArguments) {
  for (const Case& c : kCases) EXPECT_EQ(Read(c.file), c.expected) << c.what;
}

const Case kErrors[] = {
    {"no CALL", "<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<EOR>", "error: no CALL"},
    {"a blank CALL", "<CALL:2>  <QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<EOR>",
     "error: no CALL"},
    {"no QSO_DATE", "<CALL:4>SM5A<TIME_ON:4>1000<BAND:3>20m<EOR>",
     "error: QSO_DATE \"\" is not a date YYYYMMDD"},
    {"a month 13", "<CALL:4>SM5A<QSO_DATE:8>20131301<TIME_ON:4>1000<BAND:3>20m<EOR>",
     "error: QSO_DATE \"20131301\" with TIME_ON \"1000\" is no date and time"},
    {"hour 24", "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>2400<BAND:3>20m<EOR>",
     "error: QSO_DATE \"20130101\" with TIME_ON \"2400\" is no date and time"},
    {"a time of five digits", "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:5>10000<BAND:3>20m<EOR>",
     "error: TIME_ON \"10000\" is not a time HHMM or HHMMSS"},
    {"a comma in FREQ",
     "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<FREQ:6>14,085<BAND:3>20m<EOR>",
     "error: FREQ \"14,085\" is not a frequency in MHz up to 4294.967295"},
    {"a FREQ beyond 32 bits of Hz",
     "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<FREQ:5>10368<BAND:3>3cm<EOR>",
     "error: FREQ \"10368\" is not a frequency in MHz up to 4294.967295"},
    {"neither BAND nor FREQ", "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<EOR>",
     "error: neither BAND nor FREQ"},
    {"FREQ outside every band, no BAND",
     "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<FREQ:4>13.5<EOR>",
     "error: no BAND, and FREQ \"13.5\" lies in no amateur band"},
    {"an STX that is no number",
     "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<STX:3>12a<EOR>",
     "error: STX \"12a\" is not a number"},
    {"an SRX that is no number",
     "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<SRX:2>-1<EOR>",
     "error: SRX \"-1\" is not a number"},
    {"a field given twice, in different case",
     "<CALL:4>SM5A<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<call:4>OH2B<EOR>",
     "error: the field CALL is given twice"},
    {"a zero byte in a field the module receives",
     "<CALL:5>SM5\0A<QSO_DATE:8>20130101<TIME_ON:4>1000<BAND:3>20m<EOR>"sv,
     "error: the field CALL holds a zero byte"},
};

TEST(LogQso, RefusesRecordsWithoutAUsableQso) {
  for (const Case& c : kErrors) EXPECT_EQ(Read(c.file), c.expected) << c.what;
}

TEST(LogQso, ParsesMegahertzExactly) {
  struct Mhz {
    const char* text;
    bool ok;
    unsigned int hz;
  };
  const Mhz kMhz[] = {
      {"14.0855", true, 14085500},
      {"14", true, 14000000},
      {"14.", true, 14000000},
      {".5", true, 500000},
      // Decimal, not binary: 0.1 MHz is 100000 Hz, not 99999.
      {"0.1", true, 100000},
      {"28.123456", true, 28123456},
      {"3.5000005", true, 3500001},
      {"3.5000004999", true, 3500000},
      {"4294.967295", true, 4294967295u},
      {"4294.9672954", true, 4294967295u},
      {"4294.967296", false, 0},
      {"4294.9672955", false, 0},
      {"99999999999999999999", false, 0},
      {"", false, 0},
      {".", false, 0},
      {"1.2.3", false, 0},
      {"-1", false, 0},
      {"+1", false, 0},
      {"1e3", false, 0},
      {" 14", false, 0},
  };
  for (const Mhz& m : kMhz) {
    unsigned int hz = 0;
    EXPECT_EQ(ParseMegahertz(m.text, hz), m.ok) << m.text;
    if (m.ok) {
      EXPECT_EQ(hz, m.hz) << m.text;
    }
  }
}

TEST(LogQso, BandEdgesBelongToTheBand) {
  EXPECT_EQ(BandOfFrequency(1799999), "");
  EXPECT_EQ(BandOfFrequency(1800000), "160m");
  EXPECT_EQ(BandOfFrequency(2000000), "160m");
  EXPECT_EQ(BandOfFrequency(2000001), "");
  EXPECT_EQ(BandOfFrequency(29700000), "10m");
  EXPECT_EQ(BandOfFrequency(2450000000u), "13cm");
}

}  // namespace
