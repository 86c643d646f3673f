// Opening Service.cds of 1,000,000 rows (read, decode, order by vehicle and date) through the
// client table, the codec alone, and loading the same rows in the same order from SQLite.
// Prints the ratio of the table's rate to each SQLite layout's after the run; the clustered
// key-order scan is the baseline to quote.
#include "bench/store_bench_data.h"
#include "store/data_module.h"
#include "store/datapacket.h"
#include "store/table_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <tuple>

namespace {

using namespace wf;
using namespace wf::bench;

std::string servicePath() { return (benchDataFolder() / "Service.cds").string(); }

std::size_t fileSize(const std::string& path) { return std::filesystem::file_size(path); }

// Gives the memory freed after a load back to the system, so that every load starts from fresh
// memory, as a program loading its records at start-up does: otherwise a loader whose memory
// the heap keeps (many small blocks) is spared the page faults a loader of large blocks pays.
void releaseFreedMemory() { malloc_trim(0); }

void BM_OpenServiceTable(benchmark::State& state) {
  TDataModule1 module;
  module.tblService.setFileName(servicePath());
  std::size_t heapPerOpen = 0;
  for (auto _ : state) {
    const std::size_t before = heapInUse();
    module.tblService.open();
    state.PauseTiming();
    heapPerOpen = heapInUse() - before;
    module.tblService.close();  // unchanged: nothing is written
    releaseFreedMemory();
    state.ResumeTiming();
  }
  const double rows = double(benchServiceCount());
  state.SetItemsProcessed(int64_t(rows) * state.iterations());
  state.SetBytesProcessed(int64_t(fileSize(servicePath())) * state.iterations());
  state.counters["heap_after_open_MB"] = double(heapPerOpen) / 1e6;
  state.counters["heap_per_file_byte"] = double(heapPerOpen) / double(fileSize(servicePath()));
}
BENCHMARK(BM_OpenServiceTable)->Unit(benchmark::kMillisecond)->MinTime(5.0)->UseRealTime();

void BM_DecodeServiceFile(benchmark::State& state) {
  const std::vector<unsigned char> bytes = *readTableFile(servicePath());
  for (auto _ : state) {
    DataPacket packet = decodeDataPacket(bytes);
    benchmark::DoNotOptimize(packet.rows.data());
    state.PauseTiming();
    packet = DataPacket();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
  state.SetBytesProcessed(int64_t(bytes.size()) * state.iterations());
}
BENCHMARK(BM_DecodeServiceFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Rows handed over one at a time in a reused row, as a table that copies them into its own
// storage would take them.
void BM_DecodeServiceFileRowByRow(benchmark::State& state) {
  const std::vector<unsigned char> bytes = *readTableFile(servicePath());
  std::size_t textBytes = 0;
  for (auto _ : state) {
    const DataPacket packet =
        decodeDataPacket(bytes, [&](const Row& row) { textBytes += row.values[2].bytes().size(); });
    benchmark::DoNotOptimize(packet.columns.data());
  }
  benchmark::DoNotOptimize(textBytes);
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
  state.SetBytesProcessed(int64_t(bytes.size()) * state.iterations());
}
BENCHMARK(BM_DecodeServiceFileRowByRow)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_EncodeServiceTable(benchmark::State& state) {
  const std::vector<unsigned char> bytes = *readTableFile(servicePath());
  const DataPacket packet = decodeDataPacket(bytes);
  for (auto _ : state) benchmark::DoNotOptimize(encodeDataPacket(packet).data());
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
  state.SetBytesProcessed(int64_t(bytes.size()) * state.iterations());
}
BENCHMARK(BM_EncodeServiceTable)->Unit(benchmark::kMillisecond)->MinTime(3.0);

struct DiscardSink : ByteSink {
  void append(const uint8_t*, std::size_t n) override { size += n; }
  void overwrite(std::size_t, const uint8_t*, std::size_t) override {}
  std::size_t size = 0;
};

// Rows supplied one at a time as views, as a table encoding from its own storage does.
void BM_EncodeServiceTableRowByRow(benchmark::State& state) {
  const std::vector<unsigned char> bytes = *readTableFile(servicePath());
  const DataPacket packet = decodeDataPacket(bytes);
  for (auto _ : state) {
    // Chunks are dropped as they come: this measures the encoding alone.
    DiscardSink sink;
    encodeDataPacket(
        packet, packet.rows.size(),
        [&](std::size_t i, RowView& row) {
          const std::vector<Value>& from = packet.rows[i].values;
          row.values.resize(from.size());
          for (std::size_t j = 0; j < from.size(); ++j) row.values[j] = ValueView::of(from[j]);
        },
        sink);
    benchmark::DoNotOptimize(sink.size);
  }
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
  state.SetBytesProcessed(int64_t(bytes.size()) * state.iterations());
}
BENCHMARK(BM_EncodeServiceTableRowByRow)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// ---- SQLite -------------------------------------------------------------------------------------

void check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "sqlite"));
}

// The same services in SQLite files, built once, in two layouts:
//  - clustered: a WITHOUT ROWID table whose primary key is the table's order with the service
//    number as tie-break, rows inserted in that order. Reading it in key order is a plain scan
//    of the b-tree: what a careful SQLite user would set up to load the records in this order.
//  - indexed: a rowid table with a secondary index on the order; reading in order walks the
//    index and looks each row up. Kept, and labelled as such, because it is the layout a
//    straightforward schema gets.
enum class SqliteLayout { Clustered, Indexed };

const char* kServiceColumns =
    "ServiceNumber, VehicleNumber, ServiceDescription, ServiceDate, ServiceTechName, ServiceNote, "
    "ServiceDistance";

void insertServices(sqlite3* db, const std::vector<const Row*>& rows) {
  sqlite3_stmt* insert = nullptr;
  check(sqlite3_prepare_v2(
            db,
            (std::string("INSERT INTO Service(") + kServiceColumns + ") VALUES(?,?,?,?,?,?,?)")
                .c_str(),
            -1, &insert, nullptr),
        db, "prepare");
  for (const Row* row : rows) {
    for (int j = 0; j < 7; ++j) {
      const Value& v = row->values[std::size_t(j)];
      if (!v.hasValue())
        sqlite3_bind_null(insert, j + 1);
      else if (v.isInt())
        sqlite3_bind_int64(insert, j + 1, v.toInt());
      else if (v.isDouble())
        sqlite3_bind_double(insert, j + 1, v.toDouble());
      else
        sqlite3_bind_text(insert, j + 1, v.bytes().data(), int(v.bytes().size()), SQLITE_STATIC);
    }
    check(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
}

std::string buildSqliteFile(SqliteLayout layout) {
  const bool clustered = layout == SqliteLayout::Clustered;
  const auto file =
      benchDataFolder() / (clustered ? "Service.clustered.sqlite" : "Service.indexed.sqlite");
  if (std::filesystem::exists(file)) return file.string();
  const auto temp = std::filesystem::path(file.string() + ".tmp");
  std::filesystem::remove(temp);
  const DataPacket packet = decodeDataPacket(*readTableFile(servicePath()));
  std::vector<const Row*> rows;
  rows.reserve(packet.rows.size());
  for (const Row& row : packet.rows) rows.push_back(&row);
  if (clustered)
    std::sort(rows.begin(), rows.end(), [](const Row* a, const Row* b) {
      const auto key = [](const Row* r) {
        return std::make_tuple(r->values[1].toInt(), r->values[3].toDouble(), r->values[0].toInt());
      };
      return key(a) < key(b);
    });
  sqlite3* db = nullptr;
  check(sqlite3_open(temp.string().c_str(), &db), db, "open");
  const std::string create =
      clustered
          ? "CREATE TABLE Service(ServiceNumber INTEGER NOT NULL, VehicleNumber INTEGER NOT NULL, "
            "ServiceDescription TEXT, ServiceDate REAL NOT NULL, ServiceTechName TEXT, ServiceNote "
            "TEXT, "
            "ServiceDistance TEXT, PRIMARY KEY(VehicleNumber, ServiceDate, ServiceNumber)) WITHOUT "
            "ROWID;"
          : "CREATE TABLE Service(ServiceNumber INTEGER PRIMARY KEY, VehicleNumber INTEGER, "
            "ServiceDescription TEXT, ServiceDate REAL, ServiceTechName TEXT, ServiceNote TEXT, "
            "ServiceDistance TEXT);";
  check(sqlite3_exec(db, (create + "BEGIN;").c_str(), nullptr, nullptr, nullptr), db, "create");
  insertServices(db, rows);
  check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "commit");
  if (!clustered)
    check(sqlite3_exec(db, "CREATE INDEX ServiceOrder ON Service(VehicleNumber, ServiceDate);",
                       nullptr, nullptr, nullptr),
          db, "index");
  check(sqlite3_exec(db, "VACUUM; ANALYZE;", nullptr, nullptr, nullptr), db, "vacuum");
  sqlite3_close(db);
  std::filesystem::rename(temp, file);
  return file.string();
}

const std::string& sqlitePath(SqliteLayout layout) {
  static const std::string clustered = buildSqliteFile(SqliteLayout::Clustered);
  static const std::string indexed = buildSqliteFile(SqliteLayout::Indexed);
  return layout == SqliteLayout::Clustered ? clustered : indexed;
}

std::string orderedSelect(SqliteLayout layout) {
  return std::string("SELECT ") + kServiceColumns +
         " FROM Service ORDER BY VehicleNumber, ServiceDate" +
         (layout == SqliteLayout::Clustered ? ", ServiceNumber" : "");
}

// Reads the file once so every measured run finds it in the page cache.
void warmPageCache(const std::string& path) {
  benchmark::DoNotOptimize(readTableFile(path)->size());
}

// The query plan SQLite picks, printed with the figures so a reader can see no sort step is
// hidden in the clustered read.
std::string queryPlan(SqliteLayout layout) {
  sqlite3* db = nullptr;
  check(sqlite3_open_v2(sqlitePath(layout).c_str(), &db, SQLITE_OPEN_READONLY, nullptr), db,
        "open");
  sqlite3_stmt* plan = nullptr;
  check(sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + orderedSelect(layout)).c_str(), -1, &plan,
                           nullptr),
        db, "plan");
  std::string text;
  while (sqlite3_step(plan) == SQLITE_ROW) {
    if (!text.empty()) text += "; ";
    text += reinterpret_cast<const char*>(sqlite3_column_text(plan, 3));
  }
  sqlite3_finalize(plan);
  sqlite3_close(db);
  return text;
}

// Reads every service in the table's order into memory through a new connection, as an
// application loading its records from SQLite would. `mmapBytes` > 0 lets SQLite read the
// file through a memory map, a setting a careful user may also choose.
void loadServices(benchmark::State& state, SqliteLayout layout, int64_t mmapBytes) {
  const std::string path = sqlitePath(layout);
  const std::string select = orderedSelect(layout);
  warmPageCache(path);
  struct Service {
    int64_t number, vehicle;
    std::string description;
    double date;
    std::string tech, note, distance;
  };
  for (auto _ : state) {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), db, "open");
    if (mmapBytes > 0)
      check(sqlite3_exec(db, ("PRAGMA mmap_size=" + std::to_string(mmapBytes)).c_str(), nullptr,
                         nullptr, nullptr),
            db, "mmap");
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v2(db, select.c_str(), -1, &statement, nullptr), db, "prepare");
    std::vector<Service> rows;
    rows.reserve(benchServiceCount());
    auto textAt = [&](int column) {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      return p ? std::string(p, std::size_t(sqlite3_column_bytes(statement, column)))
               : std::string();
    };
    while (sqlite3_step(statement) == SQLITE_ROW)
      rows.push_back({sqlite3_column_int64(statement, 0), sqlite3_column_int64(statement, 1),
                      textAt(2), sqlite3_column_double(statement, 3), textAt(4), textAt(5),
                      textAt(6)});
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (rows.size() != benchServiceCount())
      state.SkipWithError("SQLite returned a different number of rows");
    benchmark::DoNotOptimize(rows.data());
    state.PauseTiming();
    rows = {};
    releaseFreedMemory();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
}

void BM_SqliteLoadServicesClustered(benchmark::State& state) {
  loadServices(state, SqliteLayout::Clustered, 0);
}
BENCHMARK(BM_SqliteLoadServicesClustered)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(5.0)
    ->UseRealTime();

void BM_SqliteLoadServicesClusteredMmap(benchmark::State& state) {
  loadServices(state, SqliteLayout::Clustered, int64_t(1) << 30);
}
BENCHMARK(BM_SqliteLoadServicesClusteredMmap)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(5.0)
    ->UseRealTime();

// Labelled: one index lookup per row, not the layout to load records in order.
void BM_SqliteLoadServicesSecondaryIndex(benchmark::State& state) {
  loadServices(state, SqliteLayout::Indexed, 0);
}
BENCHMARK(BM_SqliteLoadServicesSecondaryIndex)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(5.0)
    ->UseRealTime();

// Remembers each benchmark's rows per second so main can compare the table with SQLite.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      auto it = run.counters.find("items_per_second");
      if (it != run.counters.end()) rates[run.benchmark_name()] = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("Service.cds: %zu rows, %zu bytes (%s)\n", benchServiceCount(),
              fileSize(servicePath()), servicePath().c_str());
  for (SqliteLayout layout : {SqliteLayout::Clustered, SqliteLayout::Indexed})
    std::printf("%s: %zu bytes; plan: %s\n", sqlitePath(layout).c_str(),
                fileSize(sqlitePath(layout)), queryPlan(layout).c_str());
  warmPageCache(servicePath());
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto rate = [&](const std::string& prefix) {
    for (const auto& [name, value] : reporter.rates)
      if (name.rfind(prefix + "/", 0) == 0) return value;
    return 0.0;
  };
  const double table = rate("BM_OpenServiceTable");
  const struct {
    const char* label;
    const char* benchmark;
  } baselines[] = {
      {"SQLite clustered key-order scan", "BM_SqliteLoadServicesClustered"},
      {"SQLite clustered key-order scan, mmap", "BM_SqliteLoadServicesClusteredMmap"},
      {"SQLite secondary-index scan (one lookup per row)", "BM_SqliteLoadServicesSecondaryIndex"}};
  for (const auto& baseline : baselines) {
    const double sqlite = rate(baseline.benchmark);
    if (table > 0 && sqlite > 0)
      std::printf("open rate / %s: %.2f (%.0f vs %.0f rows/s)\n", baseline.label, table / sqlite,
                  table, sqlite);
  }
  benchmark::Shutdown();
  return 0;
}
