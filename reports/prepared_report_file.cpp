#include "reports/prepared_report_file.h"

#include <QIODevice>

#include <bit>

#include "reports/emf_format.h"
#include "store/byte_coding.h"

namespace wf {

PreparedReportError::PreparedReportError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

namespace {

QByteArray readAt(QIODevice& device, qint64 offset, qint64 length) {
  if (offset < 0 || length < 0 || offset > device.size() || length > device.size() - offset ||
      !device.seek(offset)) {
    throw PreparedReportError(
        QStringLiteral("Prepared report is damaged: %1 bytes at offset %2 lie past its end")
            .arg(length)
            .arg(offset));
  }
  QByteArray data = device.read(length);
  if (data.size() != length) {
    throw PreparedReportError(
        QStringLiteral("Prepared report could not be read at offset %1").arg(offset));
  }
  return data;
}

double decodeDouble(const char* p) { return std::bit_cast<double>(coding::decodeFixed64(p)); }

uint32_t decodeU32At(QIODevice& device, qint64 offset) {
  return coding::decodeFixed32(readAt(device, offset, 4).constData());
}

}  // namespace

double toDayNumber(const QDateTime& time) {
  static const QDate epoch(1899, 12, 30);
  return double(epoch.daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

QByteArray encodeHeader(uint32_t pageCount, const QDateTime& created) {
  QByteArray header(prp::kHeaderSize, '\0');
  char* p = header.data();
  coding::encodeFixed16(p + prp::kFormatVersionOffset, prp::kFormatVersion);
  coding::encodeFixed16(p + prp::kEngineVersionOffset, prp::kEngineVersion);
  coding::encodeFixed32(p + prp::kPageCountOffset, pageCount);
  coding::encodeFixed64(p + prp::kCreatedOffset, std::bit_cast<uint64_t>(toDayNumber(created)));
  header[prp::kCompressionOffset] = 0;
  return header;
}

QByteArray encodePageRecord(int32_t pageNumber, qint64 recordStart, const QByteArray& page) {
  QByteArray record;
  record.reserve(page.size() + prp::kRecordOverhead);
  emf::ByteWriter w(record);
  w.i32(pageNumber);
  w.u32(uint32_t(recordStart + page.size() + prp::kRecordOverhead));
  record.append(page);
  w.u32(uint32_t(recordStart));
  return record;
}

PreparedReportHeader readHeader(QIODevice& device) {
  // The first page's EMF signature tells which header the file has: at byte 176 (counted from
  // 0) behind a 128-byte header, at 172 behind a 124-byte one; 177 and 173 counted from 1.
  const qint64 size = device.size();
  auto signatureAt = [&](qint64 offset) {
    return size >= offset + 4 && decodeU32At(device, offset) == emf::kSignature;
  };
  PreparedReportHeader header;
  if (signatureAt(prp::kHeaderSize + prp::kSignatureInRecord)) {
    header.size = prp::kHeaderSize;
  } else if (signatureAt(prp::kOldHeaderSize + prp::kSignatureInRecord)) {
    header.size = prp::kOldHeaderSize;
  } else {
    throw PreparedReportError(QStringLiteral("This file is not a prepared report"));
  }
  const QByteArray bytes = readAt(device, 0, header.size);
  const char* p = bytes.constData();
  header.formatVersion = coding::decodeFixed16(p + prp::kFormatVersionOffset);
  header.engineVersion = coding::decodeFixed16(p + prp::kEngineVersionOffset);
  header.pageCount = coding::decodeFixed32(p + prp::kPageCountOffset);
  const bool old = header.size == prp::kOldHeaderSize;
  header.created = decodeDouble(p + (old ? prp::kOldCreatedOffset : prp::kCreatedOffset));
  header.compressed = p[old ? prp::kOldCompressionOffset : prp::kCompressionOffset] != 0;
  if (header.compressed) {
    throw PreparedReportError(
        QStringLiteral("Prepared reports with compressed pages cannot be read"));
  }
  if (header.pageCount == 0) {
    throw PreparedReportError(QStringLiteral("Prepared report is damaged: it holds no page"));
  }
  return header;
}

std::vector<PageRecordLocation> readPageLocations(QIODevice& device,
                                                  const PreparedReportHeader& header) {
  const qint64 size = device.size();
  const qint64 smallestRecord = prp::kRecordOverhead + prp::kMinPageSize;
  if (header.pageCount > uint64_t(size / smallestRecord) + 1) {
    throw PreparedReportError(
        QStringLiteral("Prepared report is damaged: %1 pages cannot fit in %2 bytes")
            .arg(header.pageCount)
            .arg(size));
  }
  std::vector<PageRecordLocation> pages;
  pages.reserve(header.pageCount);
  qint64 offset = header.size;
  for (uint32_t number = 1; number <= header.pageCount; ++number) {
    auto fault = [&](const QString& what) {
      return PreparedReportError(
          QStringLiteral("Prepared report is damaged: page %1 at offset %2: %3")
              .arg(number)
              .arg(offset)
              .arg(what));
    };
    if (size - offset < smallestRecord)
      throw fault(QStringLiteral("the file ends inside the page"));
    const QByteArray head = readAt(device, offset, 8);
    const int32_t statedNumber = coding::decodeFixedI32(head.constData());
    if (statedNumber != int32_t(number)) {
      throw fault(QStringLiteral("its record says page %1").arg(statedNumber));
    }
    const qint64 next = coding::decodeFixed32(head.constData() + 4);
    if (next < offset + smallestRecord || next > size) {
      throw fault(QStringLiteral("the next page offset %1 is out of range").arg(next));
    }
    const qint64 back = decodeU32At(device, next - 4);
    if (back != offset)
      throw fault(QStringLiteral("the backward offset %1 does not match").arg(back));
    if (decodeU32At(device, offset + prp::kSignatureInRecord) != emf::kSignature) {
      throw fault(QStringLiteral("the page is no EMF recording"));
    }
    pages.push_back({offset, offset + 8, next - offset - prp::kRecordOverhead});
    offset = next;
  }
  return pages;
}

}  // namespace wf
