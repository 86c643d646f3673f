// Writes a fleet Data folder for the whole-program benchmarks: the five table files, seeded and
// repeatable (the same options give the same bytes).
//
//   fleet_data FOLDER [--vehicles=N] [--services=N] [--first-vehicle-services=N]
//                     [--lines-per-service=N] [--invoices=N] [--expenses=N]
//                     [--photo-bytes=N] [--invoice-bytes=N] [--entry-order] [--seed=N]
//                     [--row-heavy]
//
// Without options: 1,000 vehicles with photos, 1,000,000 services (10,000 of them on vehicle 1),
// 2,000,000 lines, 5,000 invoice scans of 150 KB and 100,000 expenses, about 1.1 GB.
// --entry-order dates the services in the order of their numbers, as a person enters them.
// --row-heavy is a long history with small pictures, where the table engine's cost shows rather
// than the reading of picture bytes: 1,000 vehicles with 15 KB photos, 1,000,000 services spread
// over all of them in entry order, one line each, no invoice scans or expenses, about 115 MB.
// Options after --row-heavy change that shape further.
#include "bench/store_data_generator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct SizeOption {
  const char* name;
  std::size_t wf::bench::DataOptions::*member;
};

constexpr SizeOption kSizeOptions[] = {
    {"--vehicles=", &wf::bench::DataOptions::vehicles},
    {"--services=", &wf::bench::DataOptions::services},
    {"--first-vehicle-services=", &wf::bench::DataOptions::firstVehicleServices},
    {"--lines-per-service=", &wf::bench::DataOptions::linesPerService},
    {"--invoices=", &wf::bench::DataOptions::invoices},
    {"--expenses=", &wf::bench::DataOptions::expenses},
    {"--photo-bytes=", &wf::bench::DataOptions::photoBytes},
    {"--invoice-bytes=", &wf::bench::DataOptions::invoiceBytes},
};

bool parseNumber(const char* text, uint64_t& out) {
  char* end = nullptr;
  out = std::strtoull(text, &end, 10);
  return *text != '\0' && *end == '\0';
}

bool applyOption(const char* arg, wf::bench::DataOptions& options) {
  uint64_t value = 0;
  for (const SizeOption& option : kSizeOptions) {
    const std::size_t length = std::strlen(option.name);
    if (std::strncmp(arg, option.name, length) == 0 && parseNumber(arg + length, value)) {
      options.*option.member = std::size_t(value);
      return true;
    }
  }
  if (std::strcmp(arg, "--entry-order") == 0) {
    options.entryOrder = true;
    return true;
  }
  if (std::strcmp(arg, "--row-heavy") == 0) {
    options.photoBytes = 15 * 1024;
    options.firstVehicleServices = 0;
    options.linesPerService = 1;
    options.invoices = 0;
    options.expenses = 0;
    options.entryOrder = true;
    return true;
  }
  if (std::strncmp(arg, "--seed=", 7) == 0 && parseNumber(arg + 7, value)) {
    options.seed = value;
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') {
    std::fprintf(stderr,
                 "usage: %s FOLDER [--vehicles=N] [--services=N] [--first-vehicle-services=N] "
                 "[--lines-per-service=N] [--invoices=N] [--expenses=N] [--photo-bytes=N] "
                 "[--invoice-bytes=N] [--entry-order] [--row-heavy] [--seed=N]\n",
                 argv[0]);
    return 2;
  }
  wf::bench::DataOptions options;
  for (int i = 2; i < argc; ++i) {
    if (!applyOption(argv[i], options)) {
      std::fprintf(stderr, "%s: unknown or malformed option %s\n", argv[0], argv[i]);
      return 2;
    }
  }
  const std::filesystem::path folder = argv[1];
  const auto start = std::chrono::steady_clock::now();
  try {
    wf::bench::writeDataFolder(folder, options);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
    return 1;
  }
  std::uintmax_t total = 0;
  for (const char* name :
       {"Vehicle.cds", "Service.cds", "ServiceLine.cds", "ServiceInvoice.cds", "Expense.cds"}) {
    const std::uintmax_t size = std::filesystem::file_size(folder / name);
    total += size;
    std::printf("%-20s %12ju bytes\n", name, size);
  }
  std::printf("%-20s %12ju bytes, written in %.1f s\n", "total", total,
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return 0;
}
