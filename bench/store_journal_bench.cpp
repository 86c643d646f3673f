// What the change journal costs: posting a service with and without the journal (each post is
// appended and flushed with fdatasync before it returns), a bare 300-byte append with fdatasync
// for comparison, and what opening a table with a journal adds (a stat and a checksum of the
// file's first and last 64 KiB). Per-post medians and 99th percentiles are printed as counters.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/change_journal.h"
#include "store/data_module.h"
#include "store/table_identity.h"

namespace {

using namespace wf;
using Clock = std::chrono::steady_clock;

std::string scratchFolder() {
  static const std::string folder = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "wf-journal-bench-XXXXXX").string();
    return std::string(::mkdtemp(pattern.data()));
  }();
  return folder;
}

void reportPercentiles(benchmark::State& state, std::vector<double>& micros) {
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["p50_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

// A service as the service dialog posts it: description, date, technician, a note, distance.
void postService(TDataModule1& dm, std::mt19937& random, int vehicle) {
  TClientTable& services = dm.tblService;
  services.insert();
  dm.tblServiceVehicleNumber->setAsInteger(vehicle);
  dm.tblServiceServiceDescription->setAsString("Oil and filter change, " +
                                               std::to_string(random() % 1000));
  dm.tblServiceServiceDate->setAsDateTime(45000 + random() % 2000);
  dm.tblServiceServiceTechName->setAsString("J. Mechanic");
  dm.tblServiceServiceNote->setAsString(std::string(120, 'n'));
  dm.tblServiceServiceDistance->setAsString(std::to_string(random() % 300000));
  services.post();
}

// Posts into a Service table already holding 10,000 services of 100 vehicles.
void BM_PostService(benchmark::State& state) {
  const bool journaled = state.range(0) != 0;
  TDataModule1 dm;
  TClientTable& services = dm.tblService;
  services.setMasterSource(nullptr);
  const std::string folder = scratchFolder();
  services.setFileName(folder + "/Service.cds");
  std::filesystem::remove(folder + "/Service.journal");
  services.setJournalFileName(journaled ? folder + "/Service.journal" : std::string());
  services.createDataSet();
  services.setLogChanges(false);
  std::mt19937 random(3);
  for (int i = 0; i < 10000; ++i) {
    services.insert();
    dm.tblServiceVehicleNumber->setAsInteger(int(random() % 100));
    services.post();
  }
  std::vector<double> micros;
  for (auto _ : state) {
    auto start = Clock::now();
    postService(dm, random, int(random() % 100));
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  reportPercentiles(state, micros);
  services.setFileName(std::string());  // nothing to write when the benchmark ends
}
BENCHMARK(BM_PostService)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("journal")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000);

void BM_Append300BytesWithFdatasync(benchmark::State& state) {
  const std::string path = scratchFolder() + "/append.bin";
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  const std::string record(300, 'r');
  std::vector<double> micros;
  for (auto _ : state) {
    auto start = Clock::now();
    if (::write(fd, record.data(), record.size()) != ssize_t(record.size()) || ::fdatasync(fd) != 0)
      state.SkipWithError("write failed");
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  ::close(fd);
  reportPercentiles(state, micros);
}
BENCHMARK(BM_Append300BytesWithFdatasync)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// What open adds when the table keeps a journal: the identity of a 100 MB file held in memory.
void BM_IdentifyOpenedFile(benchmark::State& state) {
  const std::string path = scratchFolder() + "/identity.bin";
  std::vector<std::uint8_t> content(100u << 20, 0x5A);
  {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::close(fd);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(identifyContent(content));
    benchmark::DoNotOptimize(legacyStampOf(path, content));
  }
}
BENCHMARK(BM_IdentifyOpenedFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
