// CQsoList: the QSO list, the records of the log in the order they were added.
//
// Byte-identical records never stand in it twice (AddData0's identity test); repeated contacts
// with the same call on the same band may. Not thread-safe by itself: the module-wide instance
// g_qsoList is guarded by the module lock.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/cinfo.h"

class CQsoList {
 public:
  std::size_t GetCount() const { return m_records.size(); }
  // `index` must be below GetCount().
  const CInfo& GetAt(std::size_t index) const { return m_records[index]; }
  void Add(const CInfo& record) { m_records.push_back(record); }
  // Later records move down by one. `index` must be below GetCount().
  void RemoveAt(std::size_t index);
  // Count 0, storage released.
  void RemoveAll();

 private:
  std::vector<CInfo> m_records;
};
