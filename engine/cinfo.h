// CInfo: the contest engine's record of one QSO, as the host handed it over through AddData0.
//
// The record owns its texts (byte strings in the host's ANSI code page, compared byte for byte
// and case-sensitively everywhere). A value type: stored by value in the QSO list.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/ole_date_time.h"

// The nine country groups whose call areas are multipliers, in the order of CInfo::m_area.
enum CountryGroup : int { kJW = 0, kJX, kLA, kOH, kOX, kOY, kOZ, kSM, kTF, kCountryGroups };

class CInfo {
 public:
  static constexpr int32_t kAreaNotSet = -1;

  CInfo() = default;
  // Copies are made by assignment into a fresh record, so m_reserved is never carried over.
  CInfo(const CInfo& other) { *this = other; }
  // Like the copy, but takes the texts over; m_reserved is not carried over either.
  CInfo(CInfo&& other) noexcept;
  // Copies every member except m_reserved, which keeps its value.
  CInfo& operator=(const CInfo& other);

  // The identity test: every member but m_reserved, compared in declaration order with the
  // first difference deciding (m_area before m_spare2, m_time before m_zone).
  bool operator==(const CInfo& other) const;
  bool operator!=(const CInfo& other) const { return !(*this == other); }

  std::string m_call;       // call sign worked
  std::string m_prefix;     // DXCC prefix of the station worked ("SM", "OH0", ...)
  std::string m_continent;  // continent of the station worked, as the host gave it
  std::string m_band;       // band name, e.g. "20m"
  std::string m_mode;       // "RTTY" for every record in the QSO list
  std::string m_rstRcvd;
  std::string m_rstSent;
  std::string m_exchRcvd;   // exchange received, as the host gave it
  std::string m_exchSent;   // the sent number, one space, the operator name
  std::string m_spare1;     // never filled
  std::string m_spare2;     // never filled
  int32_t m_freqKHz = 0;    // the host's Hz divided by 1000, truncated
  int32_t m_zone = 0;       // 0 for every stored record
  std::array<int32_t, kCountryGroups> m_area{kAreaNotSet, kAreaNotSet, kAreaNotSet,
                                             kAreaNotSet, kAreaNotSet, kAreaNotSet,
                                             kAreaNotSet, kAreaNotSet, kAreaNotSet};
  COleDateTime m_time;      // 0.0, valid
  int32_t m_reserved = 0;   // never used
};
