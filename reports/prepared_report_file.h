// Byte layout of a prepared-report file (the page store's own layout): a header, then one
// record per page holding the page's EMF recording between a forward and a backward offset.
// Reading checks every offset against the file, so a damaged file fails with a clear message
// instead of reading past its end.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

class QIODevice;

namespace wf {

class PreparedReportError : public std::runtime_error {
 public:
  explicit PreparedReportError(const QString& message);
};

namespace prp {

// Header, 128 bytes, little-endian:
//   @0 u16 format version (3)     @2 u16 report engine version (309)
//   @4 u8 paper size (unused)     @5..7 reserved
//   @8 u32 page count             @12..15 reserved
//   @16 f64 creation time: days since 30 December 1899, fraction = time of day
//   @24 u8 portrait flag (unused) @25 u8 compression (0: plain EMF pages)
//   @26..127 reserved
// Older files have a 124-byte header: @8 page count, @12 f64 time, @20 portrait, @21 compression.
inline constexpr int kHeaderSize = 128;
inline constexpr int kOldHeaderSize = 124;
inline constexpr uint16_t kFormatVersion = 3;
inline constexpr uint16_t kEngineVersion = 309;
inline constexpr int kFormatVersionOffset = 0;
inline constexpr int kEngineVersionOffset = 2;
inline constexpr int kPageCountOffset = 8;
inline constexpr int kCreatedOffset = 16;
inline constexpr int kCompressionOffset = 25;
inline constexpr int kOldCreatedOffset = 12;
inline constexpr int kOldCompressionOffset = 21;

// Page record: i32 page number (from 1), u32 offset of the next record, the EMF stream, u32
// offset of this record's first byte.
inline constexpr int kRecordOverhead = 12;
// The EMF signature " EMF" sits 40 bytes into each recording, so 48 bytes into its record.
inline constexpr int kSignatureInRecord = 48;
// Smallest EMF stream a record can hold: a minimal header and an end-of-file record.
inline constexpr int kMinPageSize = 108;

}  // namespace prp

struct PreparedReportHeader {
  int size = prp::kHeaderSize;  // 128, or 124 for the older layout
  uint16_t formatVersion = prp::kFormatVersion;
  uint16_t engineVersion = prp::kEngineVersion;
  uint32_t pageCount = 0;
  double created = 0;
  bool compressed = false;
};

// Where one page's recording lies in the file.
struct PageRecordLocation {
  qint64 recordStart = 0;
  qint64 pageStart = 0;
  qint64 pageSize = 0;
};

// Days since 30 December 1899 with the time of day as fraction.
double toDayNumber(const QDateTime& time);

// The 128 header bytes as this program writes them (unwritten fields are zero).
QByteArray encodeHeader(uint32_t pageCount, const QDateTime& created);
// One page record placed at recordStart.
QByteArray encodePageRecord(int32_t pageNumber, qint64 recordStart, const QByteArray& page);

// Reads and checks the header of the file in device (either size). Throws PreparedReportError.
PreparedReportHeader readHeader(QIODevice& device);
// Follows the forward offsets from the first record through header.pageCount records, checking
// each one. Throws PreparedReportError naming the page and offset at fault.
std::vector<PageRecordLocation> readPageLocations(QIODevice& device,
                                                  const PreparedReportHeader& header);

}  // namespace wf
