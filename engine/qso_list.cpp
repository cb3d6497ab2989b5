#include "engine/qso_list.h"

#include <algorithm>
#include <functional>

#include "engine/hash_index.h"

namespace {

std::size_t Mix(std::size_t seed, std::size_t value) {
  return seed ^ (value + static_cast<std::size_t>(0x9e3779b97f4a7c15ULL) + (seed << 6) +
                 (seed >> 2));
}

std::size_t TextHash(std::string_view text) { return std::hash<std::string_view>{}(text); }

// Equal times must hash alike: every null time is equal to every other whatever its day
// count, and 0.0 equals -0.0.
std::size_t TimeHash(const COleDateTime& time) {
  if (time.GetStatus() == COleDateTime::null) return 0x6e756c6cu;
  return std::hash<double>{}(time.m_dt == 0.0 ? 0.0 : time.m_dt);
}

std::size_t IdentityHash(const CInfo& r) {
  std::size_t h = 0;
  for (const std::string* member :
       {&r.m_call, &r.m_prefix, &r.m_continent, &r.m_band, &r.m_mode, &r.m_rstRcvd,
        &r.m_rstSent, &r.m_exchRcvd, &r.m_exchSent, &r.m_spare1, &r.m_spare2}) {
    h = Mix(h, TextHash(*member));
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

// How many records of a band have one prefix, or one area in one group.
struct Tally {
  std::string band;
  std::string prefix;
  int group = 0;
  int32_t area = 0;
  std::size_t count = 0;
};

std::size_t PrefixHash(std::string_view band, std::string_view prefix) {
  return Mix(TextHash(band), TextHash(prefix));
}

std::size_t AreaHash(std::string_view band, int group, int32_t area) {
  return Mix(Mix(TextHash(band), static_cast<std::size_t>(group)), static_cast<std::size_t>(area));
}

Tally* FindPrefix(const HashIndex<Tally>& index, std::string_view band, std::string_view prefix) {
  return index.Find(PrefixHash(band, prefix),
                    [&](const Tally& t) { return t.band == band && t.prefix == prefix; });
}

Tally* FindArea(const HashIndex<Tally>& index, std::string_view band, int group, int32_t area) {
  return index.Find(AreaHash(band, group, area), [&](const Tally& t) {
    return t.band == band && t.group == group && t.area == area;
  });
}

void CountDown(HashIndex<Tally>& index, std::size_t hash, Tally* tally) {
  if (--tally->count != 0) return;
  index.Erase(hash, tally);
  delete tally;
}

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

template <typename Node, typename Chain>
void Unlink(Chain& chain, Node* node, Node* Node::*prev, Node* Node::*next) {
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
}

}  // namespace

// All records of one call. The last one's exchange is kept here as well, so that the call
// check, which asks for it on every keystroke, does not have to reach the record.
struct CQsoList::CallGroup {
  std::string call;
  std::size_t hash = 0;
  Chain records;
  std::string lastExchange;
};

// All records of one call on one band, and among them the chain of each mode.
struct CQsoList::CallBandGroup {
  struct ModeChain {
    std::string mode;
    Chain matches;
  };
  std::string call;
  std::string band;
  std::size_t hash = 0;
  std::size_t count = 0;
  // Records that reach the list through AddData0 all have one mode, so this stays tiny.
  std::vector<ModeChain> modes;

  ModeChain* FindMode(std::string_view mode) {
    for (ModeChain& chain : modes) {
      if (chain.mode == mode) return &chain;
    }
    return nullptr;
  }
};

// The groups and tallies are owned here, made for the first record of their key and deleted
// with the last.
struct CQsoList::Indexes {
  Indexes() = default;
  Indexes(const Indexes&) = delete;
  Indexes& operator=(const Indexes&) = delete;
  ~Indexes() {
    calls.ForEach([](CallGroup* group) { delete group; });
    callBands.ForEach([](CallBandGroup* group) { delete group; });
    bandPrefixes.ForEach([](Tally* tally) { delete tally; });
    bandAreas.ForEach([](Tally* tally) { delete tally; });
  }

  CallGroup* FindCall(std::size_t hash, std::string_view call) const {
    return calls.Find(hash, [&](const CallGroup& g) { return g.call == call; });
  }
  CallBandGroup* FindCallBand(std::size_t hash, std::string_view call,
                              std::string_view band) const {
    return callBands.Find(hash,
                          [&](const CallBandGroup& g) { return g.call == call && g.band == band; });
  }

  HashIndex<Node> identity;  // by IdentityHash, records that can equal a record
  HashIndex<CallGroup> calls;
  HashIndex<CallBandGroup> callBands;
  HashIndex<Tally> bandPrefixes;
  HashIndex<Tally> bandAreas;  // every set entry of m_area
};

CQsoList::CQsoList() = default;
CQsoList::~CQsoList() = default;

CQsoList::CQsoList(const CQsoList& other) : CQsoList() {
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
  m_indexes.swap(other.m_indexes);
}

CQsoList::Indexes& CQsoList::GetIndexes() {
  if (!m_indexes) m_indexes = std::make_unique<Indexes>();
  return *m_indexes;
}

const CInfo& CQsoList::GetAt(std::size_t index) const {
  return m_slots[SlotOfIndex(index)]->record;
}

void CQsoList::Add(const CInfo& record) {
  CInfo copy(record);
  const std::size_t identity = IdentityHash(copy);
  Append(std::move(copy), identity);
}

bool CQsoList::AddIfAbsent(CInfo&& record) {
  const std::size_t identity = IdentityHash(record);
  if (FindEqual(record, identity) != nullptr) return false;
  Append(std::move(record), identity);
  return true;
}

bool CQsoList::Contains(const CInfo& record) const {
  return FindEqual(record, IdentityHash(record)) != nullptr;
}

void CQsoList::RemoveAt(std::size_t index) { Remove(m_slots[SlotOfIndex(index)].get()); }

bool CQsoList::RemoveFirstMatch(std::string_view call, std::string_view mode,
                                std::string_view band) {
  if (!m_indexes) return false;
  const std::size_t hash = Mix(TextHash(call), TextHash(band));
  CallBandGroup* group = m_indexes->FindCallBand(hash, call, band);
  if (group == nullptr) return false;
  CallBandGroup::ModeChain* chain = group->FindMode(mode);
  if (chain == nullptr) return false;
  Remove(chain->matches.head);
  return true;
}

void CQsoList::RemoveAll() {
  CQsoList empty;
  Swap(empty);
}

bool CQsoList::HasCallOnBand(std::string_view call, std::string_view band) const {
  if (!m_indexes) return false;
  return m_indexes->FindCallBand(Mix(TextHash(call), TextHash(band)), call, band) != nullptr;
}

const std::string* CQsoList::LastExchangeOfCall(std::string_view call) const {
  if (!m_indexes) return nullptr;
  const CallGroup* group = m_indexes->FindCall(TextHash(call), call);
  return group == nullptr ? nullptr : &group->lastExchange;
}

bool CQsoList::HasPrefixOnBand(std::string_view band, std::string_view prefix) const {
  return m_indexes && FindPrefix(m_indexes->bandPrefixes, band, prefix) != nullptr;
}

bool CQsoList::HasAreaOnBand(std::string_view band, int group, int32_t area) const {
  return m_indexes && FindArea(m_indexes->bandAreas, band, group, area) != nullptr;
}

void CQsoList::Append(CInfo&& record, std::size_t identity) {
  Indexes& indexes = GetIndexes();
  auto owned = std::make_unique<Node>(std::move(record));
  Node* node = owned.get();
  const CInfo& r = node->record;
  node->slot = m_slots.size();
  node->identity = identity;
  m_slots.push_back(std::move(owned));
  PushLiveSlot();
  ++m_live;

  if (CanEqualAnything(r)) {
    indexes.identity.Insert(identity, node);
    node->inIdentity = true;
  }

  const std::size_t callHash = TextHash(r.m_call);
  CallGroup* call = indexes.FindCall(callHash, r.m_call);
  if (call == nullptr) {
    call = new CallGroup{r.m_call, callHash, {}, {}};
    indexes.calls.Insert(callHash, call);
  }
  LinkAtEnd(call->records, node, &Node::callPrev, &Node::callNext);
  call->lastExchange = r.m_exchRcvd;
  node->call = call;

  const std::size_t callBandHash = Mix(callHash, TextHash(r.m_band));
  CallBandGroup* callBand = indexes.FindCallBand(callBandHash, r.m_call, r.m_band);
  if (callBand == nullptr) {
    callBand = new CallBandGroup{r.m_call, r.m_band, callBandHash, 0, {}};
    indexes.callBands.Insert(callBandHash, callBand);
  }
  ++callBand->count;
  CallBandGroup::ModeChain* chain = callBand->FindMode(r.m_mode);
  if (chain == nullptr) chain = &callBand->modes.emplace_back(CallBandGroup::ModeChain{r.m_mode, {}});
  LinkAtEnd(chain->matches, node, &Node::matchPrev, &Node::matchNext);
  node->callBand = callBand;

  Tally* prefix = FindPrefix(indexes.bandPrefixes, r.m_band, r.m_prefix);
  if (prefix == nullptr) {
    prefix = new Tally{r.m_band, r.m_prefix, 0, 0, 0};
    indexes.bandPrefixes.Insert(PrefixHash(r.m_band, r.m_prefix), prefix);
  }
  ++prefix->count;
  for (int group = 0; group < kCountryGroups; ++group) {
    const int32_t area = r.m_area[group];
    if (area == CInfo::kAreaNotSet) continue;
    Tally* tally = FindArea(indexes.bandAreas, r.m_band, group, area);
    if (tally == nullptr) {
      tally = new Tally{r.m_band, {}, group, area, 0};
      indexes.bandAreas.Insert(AreaHash(r.m_band, group, area), tally);
    }
    ++tally->count;
  }
}

void CQsoList::Remove(Node* node) {
  Indexes& indexes = *m_indexes;
  const CInfo& r = node->record;
  if (node->inIdentity) indexes.identity.Erase(node->identity, node);

  CallGroup* call = node->call;
  Unlink(call->records, node, &Node::callPrev, &Node::callNext);
  if (call->records.head == nullptr) {
    indexes.calls.Erase(call->hash, call);
    delete call;
  } else if (node->callNext == nullptr) {
    call->lastExchange = call->records.tail->record.m_exchRcvd;
  }

  CallBandGroup* callBand = node->callBand;
  CallBandGroup::ModeChain* chain = callBand->FindMode(r.m_mode);
  Unlink(chain->matches, node, &Node::matchPrev, &Node::matchNext);
  if (chain->matches.head == nullptr) {
    std::swap(*chain, callBand->modes.back());
    callBand->modes.pop_back();
  }
  if (--callBand->count == 0) {
    indexes.callBands.Erase(callBand->hash, callBand);
    delete callBand;
  }

  CountDown(indexes.bandPrefixes, PrefixHash(r.m_band, r.m_prefix),
            FindPrefix(indexes.bandPrefixes, r.m_band, r.m_prefix));
  for (int group = 0; group < kCountryGroups; ++group) {
    const int32_t area = r.m_area[group];
    if (area == CInfo::kAreaNotSet) continue;
    CountDown(indexes.bandAreas, AreaHash(r.m_band, group, area),
              FindArea(indexes.bandAreas, r.m_band, group, area));
  }
  ClearSlot(node->slot);
}

const CQsoList::Node* CQsoList::FindEqual(const CInfo& record, std::size_t identity) const {
  if (!m_indexes || !CanEqualAnything(record)) return nullptr;
  return m_indexes->identity.Find(identity, [&](const Node& node) { return node.record == record; });
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
