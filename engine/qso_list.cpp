#include "engine/qso_list.h"

#include <functional>
#include <utility>

namespace {

// Keys of several texts: each text preceded by its length, so that no two different tuples of
// texts (embedded zeros included) make the same key.
void AppendKeyPart(std::string& key, std::string_view part) {
  const std::size_t size = part.size();
  key.append(reinterpret_cast<const char*>(&size), sizeof size);
  key.append(part);
}

std::string Key(std::string_view a, std::string_view b) {
  std::string key;
  key.reserve(2 * sizeof(std::size_t) + a.size() + b.size());
  AppendKeyPart(key, a);
  AppendKeyPart(key, b);
  return key;
}

std::string Key(std::string_view a, std::string_view b, std::string_view c) {
  std::string key = Key(a, b);
  AppendKeyPart(key, c);
  return key;
}

std::string AreaKey(std::string_view band, int group, int32_t area) {
  std::string key;
  AppendKeyPart(key, band);
  key.push_back(static_cast<char>(group));
  key.append(reinterpret_cast<const char*>(&area), sizeof area);
  return key;
}

std::size_t Mix(std::size_t seed, std::size_t value) {
  return seed ^ (value + static_cast<std::size_t>(0x9e3779b97f4a7c15ULL) + (seed << 6) +
                 (seed >> 2));
}

// Equal times must hash alike: every null time is equal to every other whatever its day
// count, and 0.0 equals -0.0.
std::size_t TimeHash(const COleDateTime& time) {
  if (time.GetStatus() == COleDateTime::null) return 0x6e756c6cu;
  return std::hash<double>{}(time.m_dt == 0.0 ? 0.0 : time.m_dt);
}

std::size_t IdentityHash(const CInfo& r) {
  const std::hash<std::string_view> text;
  std::size_t h = 0;
  for (const std::string* member :
       {&r.m_call, &r.m_prefix, &r.m_continent, &r.m_band, &r.m_mode, &r.m_rstRcvd,
        &r.m_rstSent, &r.m_exchRcvd, &r.m_exchSent, &r.m_spare1, &r.m_spare2}) {
    h = Mix(h, text(*member));
  }
  for (const int32_t area : r.m_area) h = Mix(h, static_cast<std::size_t>(area));
  h = Mix(h, static_cast<std::size_t>(r.m_freqKHz));
  h = Mix(h, static_cast<std::size_t>(r.m_zone));
  return Mix(h, TimeHash(r.m_time));
}

// The identity test is a partial equivalence: texts and numbers are always equal to
// themselves, and only the time can make a record unequal to itself (an invalid time). Such a
// record equals no record at all, so it needs no place in the identity index.
bool CanEqualAnything(const CInfo& record) { return record.m_time == record.m_time; }

std::size_t LowestBit(std::size_t i) { return i & (0 - i); }

template <typename Map>
void CountUp(Map& counts, std::string key) {
  ++counts[std::move(key)];
}

template <typename Map>
void CountDown(Map& counts, const std::string& key) {
  const auto it = counts.find(key);
  if (--it->second == 0) counts.erase(it);
}

}  // namespace

CQsoList::CQsoList(const CQsoList& other) {
  other.ForEach([this](const CInfo& record) { Add(record); });
}

CQsoList& CQsoList::operator=(const CQsoList& other) {
  if (this != &other) {
    CQsoList copy(other);
    Swap(copy);
  }
  return *this;
}

CQsoList::CQsoList(CQsoList&& other) noexcept { Swap(other); }

CQsoList& CQsoList::operator=(CQsoList&& other) noexcept {
  if (this != &other) {
    CQsoList taken(std::move(other));
    Swap(taken);
  }
  return *this;
}

void CQsoList::Swap(CQsoList& other) noexcept {
  m_slots.swap(other.m_slots);
  m_tree.swap(other.m_tree);
  std::swap(m_live, other.m_live);
  m_identity.swap(other.m_identity);
  m_byCall.swap(other.m_byCall);
  m_byCallModeBand.swap(other.m_byCallModeBand);
  m_callBandCount.swap(other.m_callBandCount);
  m_bandPrefixCount.swap(other.m_bandPrefixCount);
  m_bandAreaCount.swap(other.m_bandAreaCount);
}

const CInfo& CQsoList::GetAt(std::size_t index) const {
  return m_slots[SlotOfIndex(index)]->record;
}

void CQsoList::Add(const CInfo& record) { Append(record, IdentityHash(record)); }

bool CQsoList::AddIfAbsent(const CInfo& record) {
  const std::size_t identity = IdentityHash(record);
  if (FindEqual(record, identity) != nullptr) return false;
  Append(record, identity);
  return true;
}

bool CQsoList::Contains(const CInfo& record) const {
  return FindEqual(record, IdentityHash(record)) != nullptr;
}

void CQsoList::RemoveAt(std::size_t index) { Remove(m_slots[SlotOfIndex(index)].get()); }

bool CQsoList::RemoveFirstMatch(std::string_view call, std::string_view mode,
                                std::string_view band) {
  const auto it = m_byCallModeBand.find(Key(call, mode, band));
  if (it == m_byCallModeBand.end()) return false;
  Remove(it->second.head);
  return true;
}

void CQsoList::RemoveAll() {
  CQsoList empty;
  Swap(empty);
}

bool CQsoList::HasCallOnBand(std::string_view call, std::string_view band) const {
  return m_callBandCount.count(Key(call, band)) != 0;
}

const CInfo* CQsoList::LastWithCall(std::string_view call) const {
  const auto it = m_byCall.find(std::string(call));
  return it == m_byCall.end() ? nullptr : &it->second.tail->record;
}

bool CQsoList::HasPrefixOnBand(std::string_view band, std::string_view prefix) const {
  return m_bandPrefixCount.count(Key(band, prefix)) != 0;
}

bool CQsoList::HasAreaOnBand(std::string_view band, int group, int32_t area) const {
  return m_bandAreaCount.count(AreaKey(band, group, area)) != 0;
}

namespace {

// Chains are doubly linked through the member pair (prev, next) of the nodes.
template <typename Node, typename Chain>
void LinkAtEnd(Chain& chain, Node* node, Node* Node::*prev, Node* Node::*next) {
  node->*prev = chain.tail;
  node->*next = nullptr;
  if (chain.tail != nullptr) {
    chain.tail->*next = node;
  } else {
    chain.head = node;
  }
  chain.tail = node;
}

// Takes `node` out of the chain of `key`, and the chain out of the map when it is empty.
template <typename Node, typename Map>
void Unlink(Map& chains, const std::string& key, Node* node, Node* Node::*prev,
            Node* Node::*next) {
  const auto it = chains.find(key);
  auto& chain = it->second;
  if (node->*prev != nullptr) {
    node->*prev->*next = node->*next;
  } else {
    chain.head = node->*next;
  }
  if (node->*next != nullptr) {
    node->*next->*prev = node->*prev;
  } else {
    chain.tail = node->*prev;
  }
  if (chain.head == nullptr) chains.erase(it);
}

}  // namespace

void CQsoList::Append(const CInfo& record, std::size_t identity) {
  auto owned = std::make_unique<Node>(record);
  Node* node = owned.get();
  const CInfo& r = node->record;
  node->slot = m_slots.size();
  node->identity = identity;
  m_slots.push_back(std::move(owned));
  PushLiveSlot();
  ++m_live;

  if (CanEqualAnything(r)) {
    m_identity.emplace(identity, node);
    node->inIdentity = true;
  }
  LinkAtEnd(m_byCall[r.m_call], node, &Node::callPrev, &Node::callNext);
  LinkAtEnd(m_byCallModeBand[Key(r.m_call, r.m_mode, r.m_band)], node, &Node::matchPrev,
            &Node::matchNext);
  CountUp(m_callBandCount, Key(r.m_call, r.m_band));
  CountUp(m_bandPrefixCount, Key(r.m_band, r.m_prefix));
  for (int group = 0; group < kCountryGroups; ++group) {
    if (r.m_area[group] != CInfo::kAreaNotSet) {
      CountUp(m_bandAreaCount, AreaKey(r.m_band, group, r.m_area[group]));
    }
  }
}

void CQsoList::Remove(Node* node) {
  const CInfo& r = node->record;
  if (node->inIdentity) {
    auto [it, end] = m_identity.equal_range(node->identity);
    while (it->second != node) ++it;
    m_identity.erase(it);
  }
  Unlink(m_byCall, r.m_call, node, &Node::callPrev, &Node::callNext);
  Unlink(m_byCallModeBand, Key(r.m_call, r.m_mode, r.m_band), node, &Node::matchPrev,
         &Node::matchNext);
  CountDown(m_callBandCount, Key(r.m_call, r.m_band));
  CountDown(m_bandPrefixCount, Key(r.m_band, r.m_prefix));
  for (int group = 0; group < kCountryGroups; ++group) {
    if (r.m_area[group] != CInfo::kAreaNotSet) {
      CountDown(m_bandAreaCount, AreaKey(r.m_band, group, r.m_area[group]));
    }
  }
  ClearSlot(node->slot);
}

const CQsoList::Node* CQsoList::FindEqual(const CInfo& record, std::size_t identity) const {
  if (!CanEqualAnything(record)) return nullptr;
  auto [it, end] = m_identity.equal_range(identity);
  for (; it != end; ++it) {
    if (it->second->record == record) return it->second;
  }
  return nullptr;
}

// m_tree is 1-based: m_tree[i] holds the number of records in the slots (i - LowestBit(i), i],
// slot s being position s + 1. m_tree[0] is unused.
std::size_t CQsoList::SlotOfIndex(std::size_t index) const {
  if (m_live == m_slots.size()) return index;
  const std::size_t size = m_slots.size();
  std::size_t step = 1;
  while (step * 2 <= size) step *= 2;
  std::size_t position = 0;
  std::size_t remaining = index + 1;
  for (; step != 0; step /= 2) {
    if (position + step <= size && m_tree[position + step] < remaining) {
      position += step;
      remaining -= m_tree[position];
    }
  }
  return position;
}

// The new position's range is itself plus the ranges of the positions i - 1, i - 2, i - 4, ...
// below its lowest bit; summed over all positions that is about one addition each, so
// appending stays O(1) amortised.
void CQsoList::PushLiveSlot() {
  if (m_tree.empty()) m_tree.push_back(0);
  const std::size_t position = m_tree.size();
  std::size_t records = 1;
  for (std::size_t k = 1; k < LowestBit(position); k *= 2) records += m_tree[position - k];
  m_tree.push_back(records);
}

void CQsoList::ClearSlot(std::size_t slot) {
  m_slots[slot].reset();
  --m_live;
  if (slot + 1 == m_slots.size()) {
    // No position before the last covers it, so trailing slots go without a trace.
    while (!m_slots.empty() && !m_slots.back()) {
      m_slots.pop_back();
      m_tree.pop_back();
    }
    return;
  }
  for (std::size_t i = slot + 1; i < m_tree.size(); i += LowestBit(i)) --m_tree[i];
  // Compacting when a quarter of the slots are gaps costs O(1) amortised per removal.
  if ((m_slots.size() - m_live) * 4 >= m_slots.size()) Compact();
}

void CQsoList::Compact() {
  std::size_t kept = 0;
  for (std::unique_ptr<Node>& node : m_slots) {
    if (!node) continue;
    node->slot = kept;
    if (&node != &m_slots[kept]) m_slots[kept] = std::move(node);
    ++kept;
  }
  m_slots.resize(kept);
  m_tree.assign(kept + 1, 0);
  for (std::size_t i = 1; i <= kept; ++i) m_tree[i] = LowestBit(i);
}
