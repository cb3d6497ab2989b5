#include "engine/qso_list.h"

void CQsoList::RemoveAt(std::size_t index) {
  m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
}

void CQsoList::RemoveAll() { std::vector<CInfo>().swap(m_records); }
