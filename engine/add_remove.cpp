// Adding and removing QSOs. AddData0 stores every QSO that can count in the contest, once, and
// lists every other one in the UBN file; RemoveData0 withdraws the first stored QSO with the
// call, mode and band of a deleted one.
#include <string>
#include <string_view>
#include <utility>

#include "engine/classify.h"
#include "engine/tables.h"
#include "engine/ubn_file.h"
#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "platform/module_lock.h"
#include "platform/text.h"

namespace {

constexpr std::string_view kContestMode = "RTTY";
constexpr char kUbnTimeFormat[] = "%Y-%m-%d %H%M";

// The zone table entry for the decimal value of the received exchange; values outside the
// table read as zone 0.
int32_t ZoneOf(std::string_view exchange) {
  std::size_t value = 0;
  for (const char c : exchange) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<std::size_t>(c - '0');
    if (value >= g_zoneTable.size()) return 0;
  }
  return g_zoneTable[value];
}

// Why a QSO cannot count, or an empty view when it can. A QSO without a number is reported for
// that even when its mode is wrong too.
std::string_view RefusalReason(std::string_view mode, std::string_view numberSent,
                               std::string_view exchRcvd) {
  if (exchRcvd.empty() || numberSent.empty()) return kUbnNoNumber;
  if (mode != kContestMode) return kUbnNoRtty;
  return {};
}

}  // namespace

extern "C" {

int SKOLP_CDECL AddData0(const char* ownCall, const char* call, COleDateTime* time,
                         COleDateTime*, COleDateTime*, COleDateTime*, unsigned int,
                         unsigned int freqHz, const char* mode, const char* rstSent,
                         const char* rstRcvd, const char* numberSent, const char* exchRcvd,
                         const char*, const char*, const char*, const char*, const char*,
                         const char*, const char*, const char*, const char* areaSource,
                         const char* prefix, int, int, int, double, double, const char*,
                         const char* continent, const char*, const char* band, const char*) {
  AddToBandList(HostText(band));

  CInfo record;
  record.m_call = HostText(call);
  record.m_band = HostText(band);
  record.m_mode = HostText(mode);
  record.m_continent = HostText(continent);
  record.m_rstRcvd = HostText(rstRcvd);
  record.m_rstSent = HostText(rstSent);
  record.m_exchRcvd = HostText(exchRcvd);
  record.m_exchSent = HostText(numberSent);
  record.m_exchSent += ' ';
  record.m_exchSent += g_strMyName;
  record.m_prefix = HostText(prefix);
  record.m_freqKHz = static_cast<int32_t>(freqHz / 1000);
  record.m_time = ReadDateTime(time);
  record.m_zone = ZoneOf(record.m_exchRcvd);

  const std::string_view reason =
      RefusalReason(record.m_mode, HostText(numberSent), record.m_exchRcvd);
  if (!reason.empty()) {
    const std::string when = record.m_time.Format(kUbnTimeFormat);
    UbnQso refused;
    refused.freqHz = freqHz;
    refused.mode = record.m_mode;
    refused.time = when;
    refused.ownCall = HostText(ownCall);
    refused.rstSent = record.m_rstSent;
    refused.numberSent = HostText(numberSent);
    refused.call = record.m_call;
    refused.rstRcvd = record.m_rstRcvd;
    refused.exchRcvd = record.m_exchRcvd;
    AppendToUbnFile(FormatUbnLine(refused, reason));
    return 0;
  }

  Classify(record, record.m_prefix, HostText(areaSource));
  EnsureUbnFile();
  const ModuleLockGuard lock(g_moduleLock);
  g_qsoList.AddIfAbsent(std::move(record));
  return 1;
}

int SKOLP_CDECL RemoveData0(const char*, const char* call, COleDateTime*, COleDateTime*,
                            COleDateTime*, COleDateTime*, unsigned int, unsigned int,
                            const char* mode, const char*, const char*, const char* numberSent,
                            const char* exchRcvd, const char*, const char*, const char*,
                            const char*, const char*, const char*, const char*, const char*,
                            const char*, const char*, int, int, int, double, double, const char*,
                            const char*, const char*, const char* band, const char*) {
  if (HostText(mode) != kContestMode) return 0;
  if (HostText(exchRcvd).empty() || HostText(numberSent).empty()) return 0;
  const ModuleLockGuard lock(g_moduleLock);
  g_qsoList.RemoveFirstMatch(HostText(call), HostText(mode), HostText(band));
  return 1;
}

}  // extern "C"
