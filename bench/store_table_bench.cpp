// The client table at 1,000,000 services: closing after one change (encode, write, fsync,
// rename), moving to another vehicle with the service table as its detail, and one insert and
// post into the ordered table.
#include "bench/store_bench_data.h"
#include "store/data_module.h"
#include "store/table_file.h"

#include <benchmark/benchmark.h>

namespace {

using namespace wf;
using namespace wf::bench;
namespace fs = std::filesystem;

// A copy of the benchmark data that the benchmarks may rewrite.
fs::path scratchFolder() {
  static const fs::path folder = [] {
    const fs::path path = benchDataFolder() / "scratch";
    fs::create_directories(path);
    for (const char* file : {"Vehicle.cds", "Service.cds"})
      fs::copy_file(benchDataFolder() / file, path / file, fs::copy_options::overwrite_existing);
    return path;
  }();
  return folder;
}

void BM_CloseServiceTableAfterOneChange(benchmark::State& state) {
  TDataModule1 module;
  TClientTable& table = module.tblService;
  const std::string path = (scratchFolder() / "Service.cds").string();
  table.setFileName(path);
  for (auto _ : state) {
    state.PauseTiming();
    table.open();
    table.edit();
    module.tblServiceServiceTechName->setAsString("Jo Lindqvist");
    table.post();
    state.ResumeTiming();
    table.close();
  }
  state.SetBytesProcessed(int64_t(fs::file_size(path)) * state.iterations());
  state.SetItemsProcessed(int64_t(benchServiceCount()) * state.iterations());
}
BENCHMARK(BM_CloseServiceTableAfterOneChange)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(5.0)
    ->UseRealTime();

// The codec and the file alone: a decoded packet streamed into a temporary file, fsync, rename.
void BM_EncodeAndWriteServiceFile(benchmark::State& state) {
  const std::string path = (scratchFolder() / "Service.cds").string();
  const DataPacket packet = decodeDataPacket(*readTableFile(path));
  auto viewRow = [&](std::size_t i, RowView& row) {
    const std::vector<Value>& from = packet.rows[i].values;
    row.values.resize(from.size());
    for (std::size_t j = 0; j < from.size(); ++j) row.values[j] = ValueView::of(from[j]);
  };
  for (auto _ : state)
    streamTableFile(
        path, [&](ByteSink& sink) { encodeDataPacket(packet, packet.rows.size(), viewRow, sink); });
  state.SetBytesProcessed(int64_t(fs::file_size(path)) * state.iterations());
}
BENCHMARK(BM_EncodeAndWriteServiceFile)->Unit(benchmark::kMillisecond)->MinTime(5.0)->UseRealTime();

// Writing the same bytes with fsync and rename, without encoding: what the disk allows.
void BM_WriteServiceFileOnly(benchmark::State& state) {
  const std::string path = (scratchFolder() / "Service.cds").string();
  const std::vector<unsigned char> bytes = *readTableFile(path);
  for (auto _ : state) writeTableFile(path, bytes);
  state.SetBytesProcessed(int64_t(bytes.size()) * state.iterations());
}
BENCHMARK(BM_WriteServiceFileOnly)->Unit(benchmark::kMillisecond)->MinTime(5.0)->UseRealTime();

// Vehicles and their services opened as the program opens them, masters first.
struct OpenTables {
  TDataModule1 module;
  OpenTables() {
    module.tblVehicle.setFileName((scratchFolder() / "Vehicle.cds").string());
    module.tblService.setFileName((scratchFolder() / "Service.cds").string());
    module.tblVehicle.open();
    module.tblService.open();
    module.tblService.setLogChanges(false);
  }
  ~OpenTables() {
    // Nothing the benchmarks changed is worth a rewrite of the file.
    module.tblService.setFileName("");
  }
};

void BM_ChangeCurrentVehicle(benchmark::State& state) {
  OpenTables tables;
  TClientTable& vehicles = tables.module.tblVehicle;
  const int count = vehicles.recordCount();
  int row = 0;
  std::size_t services = 0;
  for (auto _ : state) {
    row = (row + 7) % count;
    vehicles.moveTo(row);
    services += std::size_t(tables.module.tblService.recordCount());
  }
  benchmark::DoNotOptimize(services);
  state.counters["services_per_vehicle"] = double(services) / double(state.iterations());
}
BENCHMARK(BM_ChangeCurrentVehicle)->Unit(benchmark::kMicrosecond);

void BM_InsertAndPostService(benchmark::State& state) {
  OpenTables tables;
  TDataModule1& m = tables.module;
  Random random(7);
  for (auto _ : state) {
    m.tblService.insert();
    m.tblServiceServiceDescription->setAsString("Oil and filter change");
    m.tblServiceServiceDate->setAsDateTime(randomDate(random));
    m.tblServiceServiceTechName->setAsString("Sam Okafor");
    m.tblServiceServiceDistance->setAsString("123,456 km");
    m.tblService.post();
  }
  state.counters["rows_after"] = double(m.tblService.recordCount());
}
BENCHMARK(BM_InsertAndPostService)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
