// The contest engine at log sizes of 1 000, 10 000 and 100 000 QSOs, through its entry points:
// re-feeding the whole log after it was emptied, the call check on a full log, and removing
// QSOs from anywhere in it. The logs look like a contest's: calls of many entities with a
// Scandinavian share, each worked on one to several bands, serial numbers and names, a few
// QSOs in the wrong mode or without a number (which go to the UBN file).
//
// The UBN file is written in a temporary directory that the program makes and removes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/tables.h"
#include "frame/entry_points.h"
#include "platform/module_lock.h"

namespace {

struct Entity {
  const char* prefix;  // the DXCC prefix the host passes
  const char* callPrefix;
  int weight;
};

// Roughly the spread of a European RTTY contest log.
constexpr Entity kEntities[] = {
    {"SM", "SM", 140}, {"OH", "OH", 90},  {"LA", "LA", 60},  {"OZ", "OZ", 50}, {"DL", "DL", 110},
    {"UA", "UA", 80},  {"SP", "SP", 40},  {"G", "G", 35},    {"I", "I", 35},   {"F", "F", 30},
    {"OK", "OK", 30},  {"YO", "YO", 20},  {"HA", "HA", 20},  {"UR", "UR", 30}, {"ES", "ES", 15},
    {"YL", "YL", 12},  {"LY", "LY", 12},  {"K", "W", 45},    {"K", "K", 25},   {"JA", "JA", 15},
    {"VE", "VE", 8},   {"EA", "EA", 20},  {"S5", "S5", 8},   {"9A", "9A", 8},  {"PA", "PA", 15},
    {"ON", "ON", 10},  {"TF", "TF", 5},   {"OH0", "OH0", 3}, {"OY", "OY", 3},  {"OX", "OX", 2},
    {"JW", "JW", 1},   {"JX", "JX", 1},   {"UA9", "UA9", 12}, {"ZS", "ZS", 2},  {"LU", "LU", 2},
};

constexpr const char* kBands[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
constexpr int kBandWeights[] = {5, 20, 25, 30, 12, 8};
constexpr unsigned int kBandStartsHz[] = {1800000, 3570000, 7035000, 14070000, 21070000, 28070000};
constexpr const char* kNames[] = {"ANNA", "BO", "PEKKA", "OLE", "HANS", "JAN", "IVAN", "TOM"};

struct QsoArgs {
  std::string call, areaSource, prefix, band, number, exchange, mode;
  COleDateTime time;
  unsigned int freqHz;
};

class LogMaker {
 public:
  explicit LogMaker(unsigned seed) : m_random(seed) {
    std::vector<int> weights;
    for (const Entity& e : kEntities) weights.push_back(e.weight);
    m_entity = std::discrete_distribution<std::size_t>(weights.begin(), weights.end());
    m_band = std::discrete_distribution<std::size_t>(std::begin(kBandWeights),
                                                     std::end(kBandWeights));
  }

  // A call sign and its entity: the prefix, an area digit, two or three letters.
  std::pair<std::string, const Entity*> Station() {
    const Entity& e = kEntities[m_entity(m_random)];
    std::string call = e.callPrefix;
    if (call.back() < '0' || call.back() > '9') call += static_cast<char>('0' + Digit());
    const int letters = 2 + static_cast<int>(m_random() % 2);
    for (int i = 0; i < letters; ++i) call += static_cast<char>('A' + m_random() % 26);
    return {call, &e};
  }

  // n QSOs with about n / 3 stations, each worked on the bands it happens to be heard on.
  std::vector<QsoArgs> Log(std::size_t n) {
    std::vector<std::pair<std::string, const Entity*>> stations;
    for (std::size_t i = 0; i < std::max<std::size_t>(n / 3, 1); ++i) stations.push_back(Station());
    std::vector<QsoArgs> log;
    for (std::size_t i = 0; i < n; ++i) {
      const auto& [call, entity] = stations[m_random() % stations.size()];
      QsoArgs q;
      q.call = call;
      q.areaSource = call;
      q.prefix = entity->prefix;
      const std::size_t band = m_band(m_random);
      q.band = kBands[band];
      q.freqHz = kBandStartsHz[band] + m_random() % 40000;
      char number[8];
      std::snprintf(number, sizeof number, "%03zu", i % 1000 + 1);
      q.number = number;
      q.exchange = std::to_string(m_random() % 2000 + 1) + " " + kNames[m_random() % 8];
      const unsigned roll = m_random() % 1000;
      q.mode = roll < 5 ? "CW" : "RTTY";
      if (roll == 999) q.exchange.clear();
      q.time = COleDateTime(41275.5 + static_cast<double>(i) / static_cast<double>(n));
      log.push_back(std::move(q));
    }
    return log;
  }

  std::mt19937& Random() { return m_random; }

 private:
  int Digit() { return static_cast<int>(m_random() % 10); }

  std::mt19937 m_random;
  std::discrete_distribution<std::size_t> m_entity;
  std::discrete_distribution<std::size_t> m_band;
};

int Add(QsoArgs& q) {
  return AddData0("SM5XYZ", q.call.c_str(), &q.time, nullptr, nullptr, nullptr, 0, q.freqHz,
                  q.mode.c_str(), "599", "599", q.number.c_str(), q.exchange.c_str(), "", "", "",
                  "", "", "", "", "", q.areaSource.c_str(), q.prefix.c_str(), 0, 0, 0, 0.0, 0.0,
                  "", "EU", "", q.band.c_str(), "");
}

int Remove(QsoArgs& q) {
  return RemoveData0("SM5XYZ", q.call.c_str(), &q.time, nullptr, nullptr, nullptr, 0, q.freqHz,
                     q.mode.c_str(), "599", "599", q.number.c_str(), q.exchange.c_str(), "", "",
                     "", "", "", "", "", "", q.areaSource.c_str(), q.prefix.c_str(), 0, 0, 0,
                     0.0, 0.0, "", "EU", "", q.band.c_str(), "");
}

int Check(const QsoArgs& q, char* out) {
  return CheckCallFunc0(q.call.c_str(), 0, 0, "RTTY", "", "", "", "", "", "", "", "",
                        q.areaSource.c_str(), q.prefix.c_str(), 0, 0, 0, 0.0, 0.0, "", "", "",
                        "", "", q.band.c_str(), q.band.c_str(), out, nullptr);
}

// What the contest reset does to the engine's tables before the host feeds its log again.
void EmptyTables() {
  const ModuleLockGuard lock(g_moduleLock);
  g_qsoList.RemoveAll();
  g_bandList.clear();
}

void Feed(std::vector<QsoArgs>& log) {
  for (QsoArgs& q : log) benchmark::DoNotOptimize(Add(q));
}

void BM_RefeedAfterEmptying(benchmark::State& state) {
  std::vector<QsoArgs> log = LogMaker(1).Log(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    EmptyTables();
    state.ResumeTiming();
    Feed(log);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["stored"] = static_cast<double>(g_qsoList.GetCount());
  EmptyTables();
}

// Probes as an operator types them: a third are calls of the log on the band of one of their
// QSOs (dupes), a third on another band, a third stations not yet worked.
void BM_CheckCallOnFullLog(benchmark::State& state) {
  LogMaker maker(2);
  std::vector<QsoArgs> log = maker.Log(static_cast<std::size_t>(state.range(0)));
  EmptyTables();
  Feed(log);
  std::vector<QsoArgs> probes;
  for (std::size_t i = 0; i < 3000; ++i) {
    QsoArgs probe = log[maker.Random()() % log.size()];
    if (i % 3 == 1) probe.band = kBands[maker.Random()() % 6];
    if (i % 3 == 2) {
      const auto [call, entity] = maker.Station();
      probe.call = call;
      probe.areaSource = call;
      probe.prefix = entity->prefix;
    }
    probes.push_back(std::move(probe));
  }
  char out[100];
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Check(probes[next], out));
    next = next + 1 == probes.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
  EmptyTables();
}

// Each round removes a tenth of the log, picked anywhere in it, then (untimed) logs those QSOs
// again, so the log keeps its size.
void BM_RemoveFromFullLog(benchmark::State& state) {
  LogMaker maker(3);
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  std::vector<QsoArgs> log = maker.Log(n);
  EmptyTables();
  Feed(log);
  std::vector<QsoArgs*> round;
  for (auto _ : state) {
    state.PauseTiming();
    round.clear();
    for (std::size_t i = 0; i < n / 10; ++i) round.push_back(&log[maker.Random()() % n]);
    state.ResumeTiming();
    for (QsoArgs* q : round) benchmark::DoNotOptimize(Remove(*q));
    state.PauseTiming();
    for (QsoArgs* q : round) Add(*q);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n / 10));
  EmptyTables();
}

BENCHMARK(BM_RefeedAfterEmptying)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckCallOnFullLog)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_RemoveFromFullLog)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::filesystem::path home = std::filesystem::current_path();
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("skolp-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::current_path(home);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return 0;
}
