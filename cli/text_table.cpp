#include "cli/text_table.h"

#include <cstring>
#include <utility>

namespace {

bool Holds(const char* slotKey, std::size_t length, std::string_view key) {
  return length == key.size() && std::memcmp(slotKey, key.data(), length) == 0;
}

}  // namespace

// FNV-1a: short keys, few instructions, and good enough spread for call signs.
std::uint32_t CTextTable::Hash(std::string_view key) {
  std::uint32_t h = 2166136261u;
  for (const char c : key) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

// Bits of the hash other than the low ones that pick the slot.
std::size_t CTextTable::FilterBit(std::uint32_t hash) const {
  const std::uint32_t mixed = (hash ^ (hash >> 15)) * 0x2c1b3c6du;
  return (mixed >> 8) & (m_filter.size() * 64 - 1);
}

void CTextTable::Insert(std::string_view key, std::uint32_t value) {
  if (key.size() > kInlineKey) {
    m_long.emplace(std::string(key), value);
    return;
  }
  // At most half full, so every probe sequence ends at an empty slot soon.
  if ((m_size + 1) * 2 > m_slots.size()) Grow();
  const std::uint32_t hash = Hash(key);
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = m_slots[i];
    if (slot.length == 0) {
      const std::size_t bit = FilterBit(hash);
      m_filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
      std::memcpy(slot.key, key.data(), key.size());
      slot.length = static_cast<std::uint8_t>(key.size());
      slot.value = value;
      ++m_size;
      return;
    }
    if (Holds(slot.key, slot.length, key)) return;
  }
}

const std::uint32_t* CTextTable::Find(std::string_view key) const {
  if (key.empty()) return nullptr;
  if (key.size() > kInlineKey) {
    const auto found = m_long.find(std::string(key));
    return found == m_long.end() ? nullptr : &found->second;
  }
  if (m_slots.empty()) return nullptr;
  const std::uint32_t hash = Hash(key);
  const std::size_t bit = FilterBit(hash);
  if ((m_filter[bit / 64] >> (bit % 64) & 1) == 0) return nullptr;
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = m_slots[i];
    if (slot.length == 0) return nullptr;
    if (Holds(slot.key, slot.length, key)) return &slot.value;
  }
}

void CTextTable::Grow() {
  std::vector<Slot> old(m_slots.empty() ? 1024 : m_slots.size() * 2);
  old.swap(m_slots);
  m_filter.assign(m_slots.size() * 4 / 64, 0);
  m_size = 0;
  for (const Slot& slot : old) {
    if (slot.length != 0) Insert(std::string_view(slot.key, slot.length), slot.value);
  }
}

void CTextTable::Clear() {
  m_slots.clear();
  m_filter.clear();
  m_size = 0;
  m_long.clear();
}
