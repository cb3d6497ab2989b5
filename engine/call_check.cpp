// The call check: what logging a call on a band would mean (a dupe, no new multiplier, a new
// multiplier), and the exchange the station sent in its last QSO on another band. Only reads
// the QSO list, on the host's thread, which is the only one that changes it.
#include <cstddef>
#include <string_view>

#include "engine/classify.h"
#include "engine/tables.h"
#include "frame/entry_points.h"
#include "frame/seams.h"
#include "platform/text.h"

namespace {

enum CheckResult : int { kDupe = 0, kNoNewMultiplier = 1, kNewMultiplier = 2, kBandMismatch = 4 };

// The host's buffer for the previous exchange.
constexpr std::size_t kPreviousExchangeSize = 100;

// The groups whose call areas decide an area-scored station. OX is left out: an OX station
// counts by its DXCC prefix, so its area never decides the check.
constexpr CountryGroup kAreaCheckedGroups[] = {kJW, kJX, kLA, kOH, kOY, kOZ, kSM, kTF};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool IsAreaWorkedOnBand(const CInfo& probe, std::string_view band) {
  for (const CountryGroup group : kAreaCheckedGroups) {
    const int32_t area = probe.m_area[group];
    if (area != CInfo::kAreaNotSet && g_qsoList.HasAreaOnBand(band, group, area)) return true;
  }
  return false;
}

}  // namespace

extern "C" int SKOLP_CDECL CheckCallFunc0(const char* call, unsigned int, unsigned int,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char* areaSource,
                                          const char* prefix, int, int, int, double, double,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char* band, const char* otherBand,
                                          char* previousExchange, char*) {
  if (band != nullptr && otherBand != nullptr && !EqualIgnoringAsciiCase(band, otherBand)) {
    return kBandMismatch;
  }

  MultiplierWindowControl& window = *GetSeams().multiplierWindow;
  if (window.IsOpen()) window.RearmTimer();

  CInfo probe;
  probe.m_call = HostText(call);
  probe.m_band = HostText(band);
  probe.m_prefix = HostText(prefix);
  if (probe.m_prefix.empty()) return kNoNewMultiplier;
  Classify(probe, probe.m_prefix, HostText(areaSource));

  if (g_qsoList.HasCallOnBand(probe.m_call, probe.m_band)) return kDupe;
  // With no QSO of the call on this band, its last QSO is on another band.
  const std::string* last = g_qsoList.LastExchangeOfCall(probe.m_call);
  const std::string_view previous = last != nullptr ? std::string_view(*last) : "";

  int result = g_qsoList.HasPrefixOnBand(probe.m_band, probe.m_prefix) ? kNoNewMultiplier
                                                                        : kNewMultiplier;
  if (IsAreaScoredPrefix(probe.m_prefix)) {
    result = IsAreaWorkedOnBand(probe, probe.m_band) ? kNoNewMultiplier : kNewMultiplier;
  }

  CopyToBuffer(previous, previousExchange, kPreviousExchangeSize);
  return result;
}
