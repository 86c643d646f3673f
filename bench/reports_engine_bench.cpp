// Generating a 10,000-line service line report (about 400 pages) into the preview's page
// store, from the data module's tables.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "reports/frm_service_line_detail_rep.h"
#include "reports/rep_printer.h"
#include "reports/report_printer_sink.h"
#include "store/collation.h"
#include "store/data_module.h"

namespace {

struct ServiceLineData {
  std::unique_ptr<wf::TDataModule1> module = std::make_unique<wf::TDataModule1>();

  explicit ServiceLineData(int lines) {
    for (const wf::TableFile& file : module->tablesInOpeningOrder()) {
      file.table->createDataSet();
      file.table->setLogChanges(false);
    }
    insert(module->tblVehicle, {{"VehicleMake", "Volvo"}, {"VehicleReg", "AB12 CDE"}});
    insert(module->tblService,
           {{"ServiceDescription", "Major service"}, {"ServiceTechName", "Sam"}});
    for (int i = 1; i <= lines; ++i)
      insert(module->tblServiceLine, {{"ServiceLineProduct", "Item number " + std::to_string(i)},
                                      {"ServiceLineQuantity", std::to_string(1 + i % 4)},
                                      {"ServiceLineAmount", std::to_string(i % 97) + ".25"}});
  }

  static void insert(wf::TClientTable& table,
                     std::initializer_list<std::pair<const char*, std::string>> values) {
    table.insert();
    for (const auto& [field, text] : values) table.fieldByName(field).setAsString(text);
    table.post();
  }
};

void BM_ServiceLineReportIntoPageStore(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  ServiceLineData data(lines);
  wf::TfrmServiceLineDetailRep form(*data.module);
  int pages = 0;
  for (auto _ : state) {
    std::shared_ptr<wf::TRepPrinter> printer =
        wf::TRepPrinter::create(wf::TRepPrinter::Destination::PageStore);
    wf::ReportPrinterSink sink(*printer);
    form.Report1->GenerateReport(sink);
    pages = printer->PageCount();
  }
  state.counters["pages"] = pages;
  state.counters["lines"] = lines;
}
BENCHMARK(BM_ServiceLineReportIntoPageStore)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  wf::Collation::setDefaultLocale("en_US");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
