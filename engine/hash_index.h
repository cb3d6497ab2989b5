// HashIndex<T>: pointers to objects, found by a hash of their key. The index owns nothing and
// keeps no keys: the caller hashes a key and tells, for each candidate with that hash, whether
// it matches.
//
// Open addressing with linear probing in one flat array of (hash, pointer) slots, at most half
// full, and backward-shift deletion (no tombstones). A lookup touches one or two neighbouring
// slots and only the candidates whose full hash is equal, which is what keeps a large index
// fast: no chain of separately allocated nodes is walked. Insert is O(1) amortised (the array
// doubles), Find and Erase O(1) expected.
//
// Not thread-safe; const operations change nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

template <typename T>
class HashIndex {
 public:
  std::size_t Size() const { return m_size; }

  // The first object with this hash for which `matches(const T&)` is true, or null.
  template <typename Matches>
  T* Find(std::size_t hash, Matches&& matches) const {
    if (m_size == 0) return nullptr;
    for (std::size_t i = Home(hash);; i = Next(i)) {
      const Slot& slot = m_slots[i];
      if (slot.value == nullptr) return nullptr;
      if (slot.hash == hash && matches(*slot.value)) return slot.value;
    }
  }

  // Adds `value` (not null) under `hash`, also when an object with the same key is there.
  void Insert(std::size_t hash, T* value) {
    if ((m_size + 1) * 2 > m_slots.size()) Grow();
    Place(hash, value);
    ++m_size;
  }

  // Takes out `value`, which must have been inserted under `hash`.
  void Erase(std::size_t hash, const T* value) {
    std::size_t hole = Home(hash);
    while (m_slots[hole].value != value) hole = Next(hole);
    // Later slots of the same run move back into the hole unless that would put them before
    // their home slot, so that every lookup still finds its objects without a gap.
    for (std::size_t i = Next(hole); m_slots[i].value != nullptr; i = Next(i)) {
      const std::size_t home = Home(m_slots[i].hash);
      if (Distance(home, i) >= Distance(hole, i)) {
        m_slots[hole] = m_slots[i];
        hole = i;
      }
    }
    m_slots[hole] = Slot();
    --m_size;
  }

  // Calls `visit(T*)` for every object, in no particular order.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const Slot& slot : m_slots) {
      if (slot.value != nullptr) visit(slot.value);
    }
  }

 private:
  struct Slot {
    std::size_t hash = 0;
    T* value = nullptr;
  };

  // Fibonacci hashing: the top bits of the product spread even hashes with poor low bits.
  std::size_t Home(std::size_t hash) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(hash) * 0x9E3779B97F4A7C15ull) >>
                                    (64 - m_bits));
  }
  std::size_t Next(std::size_t i) const { return (i + 1) & (m_slots.size() - 1); }
  std::size_t Distance(std::size_t from, std::size_t to) const {
    return (to - from) & (m_slots.size() - 1);
  }

  void Place(std::size_t hash, T* value) {
    std::size_t i = Home(hash);
    while (m_slots[i].value != nullptr) i = Next(i);
    m_slots[i] = Slot{hash, value};
  }

  void Grow() {
    std::vector<Slot> old;
    old.swap(m_slots);
    m_bits = m_bits == 0 ? 4 : m_bits + 1;
    m_slots.resize(std::size_t{1} << m_bits);
    for (const Slot& slot : old) {
      if (slot.value != nullptr) Place(slot.hash, slot.value);
    }
  }

  std::vector<Slot> m_slots;
  unsigned m_bits = 0;
  std::size_t m_size = 0;
};
