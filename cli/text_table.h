// CTextTable: a hash table from short texts (call signs, prefixes) to 32-bit values, laid out
// for lookups that stay in the cache. Open addressing with linear probing; a key of up to
// kInlineKey bytes is stored in its slot, so a probe reads one slot and no other memory.
// Longer keys, rare among call signs, live in a side map.
//
// The first value given for a key stays. Not thread-safe while inserting; lookups may run in
// parallel once it is filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CTextTable {
 public:
  static constexpr std::size_t kInlineKey = 15;

  // Inserts `key` (not empty) with `value` unless the key is present.
  void Insert(std::string_view key, std::uint32_t value);
  // The value of `key`, or nullptr.
  const std::uint32_t* Find(std::string_view key) const;

  std::size_t Size() const { return m_size + m_long.size(); }
  void Clear();

 private:
  struct Slot {
    char key[kInlineKey];
    std::uint8_t length = 0;  // 0: an empty slot
    std::uint32_t value = 0;
  };

  static std::uint32_t Hash(std::string_view key);
  std::size_t FilterBit(std::uint32_t hash) const;
  void Grow();

  std::vector<Slot> m_slots;
  std::vector<std::uint64_t> m_filter;  // m_slots.size() * 4 bits
  std::size_t m_size = 0;
  std::unordered_map<std::string, std::uint32_t> m_long;
};
