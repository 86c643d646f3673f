// The client table's fast row loader against the full datapacket decoder: for any bytes both
// must refuse, or both must give the same columns, parameters and current rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "store/datapacket.h"
#include "store/packet_loader.h"

namespace {

class Collect : public wf::RowConsumer {
 public:
  void begin(const wf::DataPacket&, std::size_t) override { rows.clear(); }
  void row(const std::vector<wf::ValueView>& values) override {
    std::vector<wf::Value>& row = rows.emplace_back(values.size());
    for (std::size_t j = 0; j < values.size(); ++j) values[j].assignTo(row[j]);
  }
  std::vector<std::vector<wf::Value>> rows;
};

// Equal values, doubles compared bit for bit (a NaN is equal to itself here).
bool sameValue(const wf::Value& a, const wf::Value& b) {
  if (a.isDouble() && b.isDouble()) {
    double x = a.toDouble();
    double y = b.toDouble();
    return std::memcmp(&x, &y, sizeof x) == 0;
  }
  return a == b;
}

bool sameRows(const std::vector<std::vector<wf::Value>>& a,
              const std::vector<std::vector<wf::Value>>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].size() != b[i].size()) return false;
    for (std::size_t j = 0; j < a[i].size(); ++j)
      if (!sameValue(a[i][j], b[i][j])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  Collect loaded;
  wf::DataPacket meta;
  bool loadedOk = true;
  try {
    meta = wf::loadDataPacket(bytes, loaded);
  } catch (const wf::DataPacketError&) {
    loadedOk = false;
  }
  wf::DataPacket full;
  bool decodedOk = true;
  try {
    full = wf::decodeDataPacket(bytes);
  } catch (const wf::DataPacketError&) {
    decodedOk = false;
  }
  if (loadedOk != decodedOk) std::abort();
  if (!decodedOk) return 0;
  std::vector<std::vector<wf::Value>> current;
  for (const wf::Row& row : full.rows)
    if (row.isCurrent()) current.push_back(row.values);
  full.rows.clear();
  // Header fields describe the bytes read; the loader reads its metadata from a copy with no rows.
  meta.rowAreaOffset = full.rowAreaOffset;
  if (!(meta.columns == full.columns) || meta.autoIncValue != full.autoIncValue ||
      !(meta.otherParameters == full.otherParameters) || meta.hadChangeLog != full.hadChangeLog ||
      !sameRows(loaded.rows, current))
    std::abort();
  return 0;
}
