// CQsoList: the QSO list, the records of the log in the order they were added, with the
// indexes that answer the engine's questions without scanning it.
//
// Every query gives exactly the answer of a scan of the records from index 0 (the first match,
// the last match, whether any record matches); the indexes only make it cheap. Texts compare
// byte for byte and case-sensitively; record identity is CInfo's operator==.
//
// Cost, with n records in the list and L the length of the texts involved (hash tables are
// expected cost):
//   Add, AddIfAbsent ........................ O(L) amortised
//   RemoveFirstMatch, RemoveAt .............. O(L + log n) amortised (the gaps removals leave
//                                             are compacted away once they are a quarter of
//                                             the slots); O(L) for the last record
//   GetAt ................................... O(1), or O(log n) while removals have left gaps
//   ForEach ................................. O(n)
//   the Has... queries, LastExchangeOfCall .. O(L)
//   RemoveAll, copy ......................... O(n)
// So feeding n records after RemoveAll costs O(n) in total, and a call check does not grow
// with the log. The indexes are flat hash tables (HashIndex) over one group object per call and
// per call and band, so that a lookup in a large log reads few, mostly cached, places.
//
// Not thread-safe by itself: the module-wide instance g_qsoList is changed only while holding
// the module lock. The const operations change nothing (no caches), so any number of readers
// may run together while nobody changes the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/cinfo.h"

class CQsoList {
 public:
  CQsoList();
  // A copy holds copies of the records in the same order, made as Add makes them.
  CQsoList(const CQsoList& other);
  CQsoList& operator=(const CQsoList& other);
  // The moved-from list is empty.
  CQsoList(CQsoList&& other) noexcept;
  CQsoList& operator=(CQsoList&& other) noexcept;
  ~CQsoList();

  std::size_t GetCount() const { return m_live; }
  // `index` must be below GetCount().
  const CInfo& GetAt(std::size_t index) const;
  // Calls `visit(const CInfo&)` for every record, in order. `visit` must not change the list.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const std::unique_ptr<Node>& node : m_slots) {
      if (node) visit(node->record);
    }
  }

  // Appends a copy (made as CInfo's copy constructor makes it), whether or not an equal record
  // is already there.
  void Add(const CInfo& record);
  // Appends `record` unless a record equal to it is in the list; true when it appended. Takes
  // the texts of `record` only when it appends.
  bool AddIfAbsent(CInfo&& record);
  // True when a record equal to `record` is in the list.
  bool Contains(const CInfo& record) const;

  // Later records move down by one. `index` must be below GetCount().
  void RemoveAt(std::size_t index);
  // Removes the first record with this call, mode and band. True when there was one.
  bool RemoveFirstMatch(std::string_view call, std::string_view mode, std::string_view band);
  // Count 0, storage released.
  void RemoveAll();

  // True when a record has this call and this band.
  bool HasCallOnBand(std::string_view call, std::string_view band) const;
  // The received exchange of the last record with this call, or null when no record has it.
  // Valid until the list next changes.
  const std::string* LastExchangeOfCall(std::string_view call) const;
  // True when a record on this band has this prefix.
  bool HasPrefixOnBand(std::string_view band, std::string_view prefix) const;
  // True when a record on this band has `area` in the entry of `group`. `area` must not be
  // CInfo::kAreaNotSet.
  bool HasAreaOnBand(std::string_view band, int group, int32_t area) const;

 private:
  struct CallGroup;
  struct CallBandGroup;
  struct Indexes;
  // The records that share one key, in list order, linked through the nodes.
  struct Node;
  struct Chain {
    Node* head = nullptr;
    Node* tail = nullptr;
  };
  // One record and its links into the indexes.
  struct Node {
    explicit Node(CInfo&& source) : record(std::move(source)) {}
    CInfo record;
    std::size_t slot = 0;      // its place in m_slots
    std::size_t identity = 0;  // hash of everything the identity test compares
    bool inIdentity = false;   // false for a record that can equal no record
    CallGroup* call = nullptr;          // the records with its call
    CallBandGroup* callBand = nullptr;  // the records with its call and band
    Node* callPrev = nullptr;
    Node* callNext = nullptr;
    Node* matchPrev = nullptr;  // the records with its call, band and mode
    Node* matchNext = nullptr;
  };

  void Swap(CQsoList& other) noexcept;
  Indexes& GetIndexes();
  void Append(CInfo&& record, std::size_t identity);
  void Remove(Node* node);
  const Node* FindEqual(const CInfo& record, std::size_t identity) const;
  std::size_t SlotOfIndex(std::size_t index) const;
  void PushLiveSlot();
  void ClearSlot(std::size_t slot);
  void Compact();

  // The records in list order; a removed record leaves an empty slot until the next
  // compaction. m_tree is a Fenwick tree over the slots (1 for a record, 0 for a gap) that
  // turns an index into a slot while gaps exist.
  std::vector<std::unique_ptr<Node>> m_slots;
  std::vector<std::size_t> m_tree;
  std::size_t m_live = 0;
  // Made with the first record; null while the list has never held one.
  std::unique_ptr<Indexes> m_indexes;
};
