// Speed of the client table on large tables: opening (decode, order), moving a master over a
// large detail table, and posting into a large ordered table.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "store/client_table.h"
#include "store/collation.h"
#include "store/data_source.h"
#include "store/datapacket.h"
#include "store/integer_field.h"
#include "store/string_field.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kMasters = 1000;

std::string scratchFile(const std::string& name) {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "wf-bench-XXXXXX").string();
    return std::string(::mkdtemp(pattern.data()));
  }();
  return folder + "/" + name;
}

void writePacket(const std::string& path, const wf::DataPacket& packet) {
  std::vector<std::uint8_t> bytes = wf::encodeDataPacket(packet);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string randomWord(std::mt19937& random) {
  static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::uniform_int_distribution<int> length(4, 14);
  std::uniform_int_distribution<int> letter(0, 51);
  std::string word;
  for (int n = length(random); n > 0; --n) word += letters[letter(random)];
  return word;
}

// Vehicles ordered by a random make: Number, Make(25), Model(25).
const std::string& vehicleFile() {
  static const std::string path = [] {
    std::mt19937 random(7);
    wf::DataPacket packet;
    packet.columns = {wf::makeColumn("VehicleNumber", wf::ColumnKind::AutoInc),
                      wf::makeColumn("VehicleMake", wf::ColumnKind::String, 25),
                      wf::makeColumn("VehicleModel", wf::ColumnKind::String, 25)};
    packet.autoIncValue = kRows + 1;
    packet.rows.resize(kRows);
    for (int i = 0; i < kRows; ++i)
      packet.rows[static_cast<std::size_t>(i)].values = {wf::Value::fromInt(i + 1),
                                                         wf::Value::fromBytes(randomWord(random)),
                                                         wf::Value::fromBytes(randomWord(random))};
    std::string file = scratchFile("Vehicle.cds");
    writePacket(file, packet);
    return file;
  }();
  return path;
}

// Services of kMasters vehicles in random order: Number, VehicleNumber, Description(50).
const std::string& serviceFile() {
  static const std::string path = [] {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> vehicle(1, kMasters);
    wf::DataPacket packet;
    packet.columns = {wf::makeColumn("ServiceNumber", wf::ColumnKind::AutoInc),
                      wf::makeColumn("VehicleNumber", wf::ColumnKind::Integer),
                      wf::makeColumn("ServiceDescription", wf::ColumnKind::String, 50)};
    packet.autoIncValue = kRows + 1;
    packet.rows.resize(kRows);
    for (int i = 0; i < kRows; ++i)
      packet.rows[static_cast<std::size_t>(i)].values = {wf::Value::fromInt(i + 1),
                                                         wf::Value::fromInt(vehicle(random)),
                                                         wf::Value::fromBytes(randomWord(random))};
    std::string file = scratchFile("Service.cds");
    writePacket(file, packet);
    return file;
  }();
  return path;
}

const std::string& masterFile() {
  static const std::string path = [] {
    wf::DataPacket packet;
    packet.columns = {wf::makeColumn("VehicleNumber", wf::ColumnKind::AutoInc),
                      wf::makeColumn("VehicleMake", wf::ColumnKind::String, 25)};
    packet.autoIncValue = kMasters + 1;
    packet.rows.resize(kMasters);
    for (int i = 0; i < kMasters; ++i)
      packet.rows[static_cast<std::size_t>(i)].values = {
          wf::Value::fromInt(i + 1), wf::Value::fromBytes("Make" + std::to_string(i))};
    std::string file = scratchFile("Master.cds");
    writePacket(file, packet);
    return file;
  }();
  return path;
}

// Heap memory in use by the process, in bytes.
double heapInUse() {
  struct mallinfo2 info = ::mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// Also reports the memory an open table holds, per byte of its file.
void openTable(benchmark::State& state, const std::string& file, const char* index) {
  wf::Collation::setDefaultLocale("en_US");
  double memoryRatio = 0;
  for (auto _ : state) {
    state.PauseTiming();
    double before = heapInUse();
    state.ResumeTiming();
    wf::TClientTable table("tbl");
    table.setFileName(file);
    table.setIndexFieldNames(index);
    table.open();
    benchmark::DoNotOptimize(table.recordCount());
    state.PauseTiming();
    memoryRatio = (heapInUse() - before) / static_cast<double>(std::filesystem::file_size(file));
    table.close();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  state.counters["memory_per_file_byte"] = memoryRatio;
}

void BM_OpenOrderedByString(benchmark::State& state) {
  openTable(state, vehicleFile(), "VehicleMake");
}
void BM_OpenOrderedByIntegerAndString(benchmark::State& state) {
  openTable(state, serviceFile(), "VehicleNumber;ServiceDescription");
}

// Moving the master's current record re-ranges a detail of a million records.
void BM_MasterMove(benchmark::State& state) {
  wf::Collation::setDefaultLocale("en_US");
  wf::TClientTable master("tblVehicle");
  wf::TDataSource masterSource("datVehicle");
  masterSource.setDataSet(&master);
  master.setFileName(masterFile());
  master.setIndexFieldNames("VehicleNumber");
  wf::TClientTable detail("tblService");
  detail.setFileName(serviceFile());
  detail.setIndexFieldNames("VehicleNumber;ServiceNumber");
  detail.setMasterSource(&masterSource);
  detail.setMasterFields("VehicleNumber");
  master.open();
  detail.open();
  for (auto _ : state) {
    master.next();
    if (master.eof()) master.first();
    benchmark::DoNotOptimize(detail.recordCount());
  }
}

// One insert and post into an ordered table of a million records.
void BM_InsertPost(benchmark::State& state) {
  wf::Collation::setDefaultLocale("en_US");
  wf::TClientTable table("tblVehicle");
  table.setFileName(vehicleFile());
  table.setIndexFieldNames("VehicleMake");
  table.open();
  std::mt19937 random(3);
  wf::TField& make = table.fieldByName("VehicleMake");
  for (auto _ : state) {
    state.PauseTiming();
    std::string word = randomWord(random);
    state.ResumeTiming();
    table.insert();
    make.setAsString(word);
    table.post();
  }
  table.setFileName(std::string());  // nothing to write back
  table.close();
}

// Closing a changed table of a million records: encoding and the atomic file write.
void BM_CloseWritingTheFile(benchmark::State& state) {
  wf::Collation::setDefaultLocale("en_US");
  std::string copy = scratchFile("VehicleCopy.cds");
  std::filesystem::copy_file(vehicleFile(), copy,
                             std::filesystem::copy_options::overwrite_existing);
  for (auto _ : state) {
    state.PauseTiming();
    wf::TClientTable table("tblVehicle");
    table.setFileName(copy);
    table.setIndexFieldNames("VehicleMake");
    table.open();
    table.edit();
    table.post();
    state.ResumeTiming();
    table.close();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

}  // namespace

BENCHMARK(BM_OpenOrderedByString)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenOrderedByIntegerAndString)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MasterMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CloseWritingTheFile)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_InsertPost)->Unit(benchmark::kMicrosecond)->Iterations(2000);

BENCHMARK_MAIN();
