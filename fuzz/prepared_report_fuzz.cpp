// Feeds raw bytes to the prepared-report reader as a file: damaged files must be refused with
// PreparedReportError, and no page may be read from outside the file.
#include <QByteArray>

#include <cstdint>

#include "reports/page_store.h"
#include "reports/prepared_report_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    const auto store = wf::PageStore::fromBytes(bytes);
    for (int page = 1; page <= store->pageCount(); ++page) {
      const QByteArray recording = store->page(page);
      if (recording.size() > bytes.size()) __builtin_trap();
    }
  } catch (const wf::PreparedReportError&) {}
  return 0;
}
