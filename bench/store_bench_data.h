// The data the store benchmarks share: a Data folder generated once per size into the temporary
// folder and reused by later runs, and heap measurement.
#pragma once

#include "bench/store_data_generator.h"

#include <malloc.h>

#include <cstdlib>
#include <filesystem>

namespace wf::bench {

// Rows of Service.cds: 1,000,000 unless WF_BENCH_SERVICES says otherwise.
inline std::size_t benchServiceCount() {
  const char* env = std::getenv("WF_BENCH_SERVICES");
  return env ? std::size_t(std::strtoull(env, nullptr, 10)) : 1000000;
}

// The store benchmarks' shape: services spread evenly over 1,000 vehicles with small photos,
// so their figures stay comparable with earlier runs (and their cached folders stay valid).
inline DataOptions benchOptions() {
  DataOptions o;
  o.services = benchServiceCount();
  o.vehicles = 1000;
  o.firstVehicleServices = 0;
  o.photoBytes = 24 * 1024;
  return o;
}

// A folder holding Vehicle.cds and Service.cds of benchOptions(); written on first use.
inline const std::filesystem::path& benchDataFolder() {
  static const std::filesystem::path folder = [] {
    const DataOptions o = benchOptions();
    const auto path =
        std::filesystem::temp_directory_path() /
        ("wrenfold_bench_" + std::to_string(o.vehicles) + "_" + std::to_string(o.services));
    if (!std::filesystem::exists(path / "Service.cds")) {
      std::filesystem::create_directories(path);
      writeBytes(path / "Vehicle.cds", encodeDataPacket(vehicleTable(o)));
      writeBytes(path / "Service.cds.tmp", encodeDataPacket(serviceTable(o)));
      std::filesystem::rename(path / "Service.cds.tmp", path / "Service.cds");
    }
    return path;
  }();
  return folder;
}

// Bytes the heap holds now (small and mapped blocks alike).
inline std::size_t heapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace wf::bench
