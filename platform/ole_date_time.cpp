// Placeholder until the conversion lands.
#include "platform/ole_date_time.h"

COleDateTime COleDateTime::FromParts(int, int, int, int, int, int) { return COleDateTime(); }
COleDateTime::DateTimeStatus COleDateTime::GetStatus() const { return m_status; }
bool COleDateTime::GetParts(Parts&) const { return false; }
std::string COleDateTime::Format(const char*) const { return {}; }
bool COleDateTime::operator==(const COleDateTime& o) const {
  return m_status == o.m_status && m_dt == o.m_dt;
}
COleDateTime ReadDateTime(const COleDateTime* p) {
  return p ? *p : COleDateTime(0.0, COleDateTime::null);
}
double LinearDayCount(double dt) { return dt; }
int WholeMinutesBetween(const COleDateTime&, const COleDateTime&) { return 0; }
