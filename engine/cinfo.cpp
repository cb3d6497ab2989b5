#include "engine/cinfo.h"

#include <utility>

CInfo& CInfo::operator=(const CInfo& other) {
  if (this == &other) return *this;
  m_call = other.m_call;
  m_prefix = other.m_prefix;
  m_continent = other.m_continent;
  m_band = other.m_band;
  m_mode = other.m_mode;
  m_rstRcvd = other.m_rstRcvd;
  m_rstSent = other.m_rstSent;
  m_exchRcvd = other.m_exchRcvd;
  m_exchSent = other.m_exchSent;
  m_spare1 = other.m_spare1;
  m_spare2 = other.m_spare2;
  m_freqKHz = other.m_freqKHz;
  m_zone = other.m_zone;
  m_area = other.m_area;
  m_time = other.m_time;
  return *this;
}

CInfo::CInfo(CInfo&& other) noexcept
    : m_call(std::move(other.m_call)),
      m_prefix(std::move(other.m_prefix)),
      m_continent(std::move(other.m_continent)),
      m_band(std::move(other.m_band)),
      m_mode(std::move(other.m_mode)),
      m_rstRcvd(std::move(other.m_rstRcvd)),
      m_rstSent(std::move(other.m_rstSent)),
      m_exchRcvd(std::move(other.m_exchRcvd)),
      m_exchSent(std::move(other.m_exchSent)),
      m_spare1(std::move(other.m_spare1)),
      m_spare2(std::move(other.m_spare2)),
      m_freqKHz(other.m_freqKHz),
      m_zone(other.m_zone),
      m_area(other.m_area),
      m_time(other.m_time) {}

bool CInfo::operator==(const CInfo& other) const {
  return m_call == other.m_call && m_prefix == other.m_prefix &&
         m_continent == other.m_continent && m_band == other.m_band && m_mode == other.m_mode &&
         m_rstRcvd == other.m_rstRcvd && m_rstSent == other.m_rstSent &&
         m_exchRcvd == other.m_exchRcvd && m_exchSent == other.m_exchSent &&
         m_spare1 == other.m_spare1 && m_area == other.m_area && m_spare2 == other.m_spare2 &&
         m_freqKHz == other.m_freqKHz && m_time == other.m_time && m_zone == other.m_zone;
}
