// Opening Service.cds of 1,000,000 rows (read, decode, order by vehicle and date) through the
// client table, the codec alone, and loading the same rows in the same order from SQLite.
// Prints the ratio of the table's rate to SQLite's after the run.
#include "bench/store_bench_data.h"
#include "store/data_module.h"
#include "store/datapacket.h"
#include "store/table_file.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <stdexcept>

namespace {

using namespace wf;
using namespace wf::bench;

std::string servicePath() { return (benchDataFolder() / "Service.cds").string(); }

std::size_t fileSize(const std::string& path) { return std::filesystem::file_size(path); }

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
    state.ResumeTiming();
  }
  const double rows = double(benchServiceCount());
  state.SetItemsProcessed(int64_t(rows) * state.iterations());
  state.SetBytesProcessed(int64_t(fileSize(servicePath())) * state.iterations());
  state.counters["heap_after_open_MB"] = double(heapPerOpen) / 1e6;
  state.counters["heap_per_file_byte"] = double(heapPerOpen) / double(fileSize(servicePath()));
}
BENCHMARK(BM_OpenServiceTable)->Unit(benchmark::kMillisecond)->MinTime(5.0);

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
    const DataPacket packet = decodeDataPacket(bytes, [&](const Row& row) { textBytes += row.values[2].bytes().size(); });
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

// The same services in an SQLite file with an index on the table's order, built once.
std::string sqlitePath() {
  static const std::string path = [] {
    const auto file = benchDataFolder() / "Service.sqlite";
    if (std::filesystem::exists(file)) return file.string();
    const auto temp = benchDataFolder() / "Service.sqlite.tmp";
    std::filesystem::remove(temp);
    const DataPacket packet = decodeDataPacket(*readTableFile(servicePath()));
    sqlite3* db = nullptr;
    check(sqlite3_open(temp.string().c_str(), &db), db, "open");
    check(sqlite3_exec(db,
                       "CREATE TABLE Service(ServiceNumber INTEGER PRIMARY KEY, VehicleNumber INTEGER, "
                       "ServiceDescription TEXT, ServiceDate REAL, ServiceTechName TEXT, ServiceNote TEXT, "
                       "ServiceDistance TEXT); BEGIN;",
                       nullptr, nullptr, nullptr),
          db, "create");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO Service VALUES(?,?,?,?,?,?,?)", -1, &insert, nullptr), db, "prepare");
    for (const Row& row : packet.rows) {
      for (int j = 0; j < 7; ++j) {
        const Value& v = row.values[std::size_t(j)];
        if (!v.hasValue()) sqlite3_bind_null(insert, j + 1);
        else if (v.isInt()) sqlite3_bind_int64(insert, j + 1, v.toInt());
        else if (v.isDouble()) sqlite3_bind_double(insert, j + 1, v.toDouble());
        else sqlite3_bind_text(insert, j + 1, v.bytes().data(), int(v.bytes().size()), SQLITE_STATIC);
      }
      check(sqlite3_step(insert), db, "insert");
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT; CREATE INDEX ServiceOrder ON Service(VehicleNumber, ServiceDate);", nullptr,
                       nullptr, nullptr),
          db, "index");
    sqlite3_close(db);
    std::filesystem::rename(temp, file);
    return file.string();
  }();
  return path;
}

// Reads every service in the table's order into memory, as an application loading its records
// from SQLite would.
void BM_SqliteLoadServices(benchmark::State& state) {
  const std::string path = sqlitePath();
  struct Service {
    int64_t number, vehicle;
    std::string description;
    double date;
    std::string tech, note, distance;
  };
  for (auto _ : state) {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), db, "open");
    sqlite3_stmt* select = nullptr;
    check(sqlite3_prepare_v2(db,
                             "SELECT ServiceNumber, VehicleNumber, ServiceDescription, ServiceDate, ServiceTechName, "
                             "ServiceNote, ServiceDistance FROM Service ORDER BY VehicleNumber, ServiceDate",
                             -1, &select, nullptr),
          db, "prepare");
    std::vector<Service> rows;
    rows.reserve(benchServiceCount());
    auto textAt = [&](int column) {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(select, column));
      return p ? std::string(p, std::size_t(sqlite3_column_bytes(select, column))) : std::string();
    };
    while (sqlite3_step(select) == SQLITE_ROW)
      rows.push_back({sqlite3_column_int64(select, 0), sqlite3_column_int64(select, 1), textAt(2),
                      sqlite3_column_double(select, 3), textAt(4), textAt(5), textAt(6)});
    sqlite3_finalize(select);
    sqlite3_close(db);
    benchmark::DoNotOptimize(rows.data());
    state.PauseTiming();
    rows = {};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
}
BENCHMARK(BM_SqliteLoadServices)->Unit(benchmark::kMillisecond)->MinTime(5.0);

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

// `store_open_bench --write-data=FOLDER` writes all five table files of benchOptions() (sized by
// WF_BENCH_SERVICES) into FOLDER and runs nothing else.
int main(int argc, char** argv) {
  const std::string writeData = "--write-data=";
  if (argc == 2 && std::string(argv[1]).rfind(writeData, 0) == 0) {
    const std::filesystem::path folder = std::string(argv[1]).substr(writeData.size());
    writeDataFolder(folder, benchOptions());
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      std::printf("%s %ju bytes\n", entry.path().c_str(), std::uintmax_t(entry.file_size()));
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("Service.cds: %zu rows, %zu bytes (%s)\n", benchServiceCount(), fileSize(servicePath()),
              servicePath().c_str());
  sqlitePath();
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto table = reporter.rates.find("BM_OpenServiceTable/min_time:5.000");
  const auto sqlite = reporter.rates.find("BM_SqliteLoadServices/min_time:5.000");
  if (table != reporter.rates.end() && sqlite != reporter.rates.end())
    std::printf("open rate / SQLite load rate: %.2f (%.0f vs %.0f rows/s)\n", table->second / sqlite->second,
                table->second, sqlite->second);
  benchmark::Shutdown();
  return 0;
}
