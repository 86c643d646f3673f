// cdstool: inspect, check and export table files from the command line.
//   cdstool dump FILE    the whole packet as JSON
//   cdstool check FILE   decode and encode again; exit 0 when the bytes are identical, else 1
//   cdstool csv [--file-order] FILE
//                        the visible records as CSV, values in their display text with money
//                        and dates in the system locale's formats, as the program shows them;
//                        rows in the order the program lists the table (its index), or with
//                        --file-order as they are stored in the file
//   cdstool journal FILE a change journal (Data/<Table>.journal) as JSON: header and records
// Text in the files is read in the code page the locale's language selects (as the program
// reads it); --code-page N before the command reads it in Windows code page N instead.
// A file that cannot be read or is not a datapacket gives one line on stderr and exit 2.
#include "framework/system_format_settings.h"
#include "store/client_table.h"
#include "store/code_page.h"
#include "store/data_module.h"
#include "store/datapacket.h"
#include "store/datapacket_format.h"
#include "store/date_text.h"
#include "store/date_time.h"
#include "store/format_settings.h"
#include "store/journal_format.h"
#include "store/number_text.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace wf;

constexpr int kExitDiffers = 1;
constexpr int kExitFailure = 2;

// ---- Text ---------------------------------------------------------------------------------------

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The table files hold single-byte text in the code page; terminals and JSON want UTF-8.
std::string utf8FromCodePage(const std::string& bytes) {
  const CodePage& page = CodePage::active();
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) appendUtf8(out, page.toUnicode(b));
  return out;
}

std::string jsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
          out += buffer;
        } else {
          out += char(c);
        }
    }
  }
  return out + "\"";
}

std::string hex32(uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", v);
  return buffer;
}

std::string base64(const std::string& bytes) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t n = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
                       uint8_t(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += digits[(n >> shift) & 0x3F];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const uint32_t n =
        uint32_t(uint8_t(bytes[i])) << 16 | (two ? uint32_t(uint8_t(bytes[i + 1])) << 8 : 0);
    out += digits[(n >> 18) & 0x3F];
    out += digits[(n >> 12) & 0x3F];
    out += two ? digits[(n >> 6) & 0x3F] : '=';
    out += '=';
  }
  return out;
}

// A double as JSON: the shortest form that reads back exactly; JSON has no NaN or infinity.
std::string jsonNumber(double v) {
  if (!std::isfinite(v))
    return jsonString(std::isnan(v) ? "NaN" : v > 0 ? "Infinity" : "-Infinity");
  char buffer[32];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, v);
    if (std::strtod(buffer, nullptr) == v) break;
  }
  return buffer;
}

// ---- Display text of values ---------------------------------------------------------------------

const char* kindName(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::AutoInc: return "AutoInc";
    case ColumnKind::Integer: return "Integer";
    case ColumnKind::SmallInt: return "SmallInt";
    case ColumnKind::Currency: return "Currency";
    case ColumnKind::Float: return "Float";
    case ColumnKind::DateTime: return "DateTime";
    case ColumnKind::String: return "String";
    case ColumnKind::Blob: return "Blob";
    case ColumnKind::Memo: return "Memo";
    case ColumnKind::Other: return "Other";
  }
  return "Other";
}

// "2024-01-15 14:30:00.000"; the date alone at midnight when `dateOnlyAtMidnight`.
std::string dateTimeText(double days, bool dateOnlyAtMidnight) {
  const std::optional<CalendarDateTime> c = calendarFromDateTime(days);
  if (!c) return jsonNumber(days);
  char buffer[40];
  if (dateOnlyAtMidnight && c->hour == 0 && c->minute == 0 && c->second == 0 && c->millisecond == 0)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c->year, c->month, c->day);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", c->year, c->month,
                  c->day, c->hour, c->minute, c->second, c->millisecond);
  return buffer;
}

// A time-of-day column's milliseconds since midnight as "14:30:00.000".
std::string timeText(int64_t ms) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld.%03lld", (long long)(ms / 3600000),
                (long long)(ms / 60000 % 60), (long long)(ms / 1000 % 60), (long long)(ms % 1000));
  return buffer;
}

// The text a grid shows for a value, in UTF-8; empty for a value that is null or unassigned.
// Money and dates use the current format settings (the date fields show the short date).
std::string displayText(const Column& column, const Value& v) {
  if (!v.hasValue()) return "";
  const ColumnKind kind = columnKind(column);
  if (kind == ColumnKind::Currency)
    return utf8FromCodePage(formatCurrency(v.toDouble(), formatSettings()));
  if (kind == ColumnKind::DateTime)
    return utf8FromCodePage(formatDateTime("ddddd", v.toDouble(), formatSettings()));
  if (kind == ColumnKind::Blob) return "(" + std::to_string(v.bytes().size()) + " bytes)";
  const dpformat::ValueCoding coding = dpformat::valueCodingOf(column.typeCode);
  if (coding == dpformat::ValueCoding::Date)
    return dateTimeText(double(v.toInt() - dpformat::kDayOf1899), true);
  if (coding == dpformat::ValueCoding::Time && v.toInt() >= 0) return timeText(v.toInt());
  if (v.isInt()) return std::to_string(v.toInt());
  if (v.isBool()) return v.toBool() ? "True" : "False";
  if (v.isDouble()) return jsonNumber(v.toDouble());
  if (kind == ColumnKind::String || kind == ColumnKind::Memo) return utf8FromCodePage(v.bytes());
  return "(" + std::to_string(v.bytes().size()) + " bytes)";
}

// ---- Commands -----------------------------------------------------------------------------------

std::string parameterJson(const Parameter& p) {
  const std::string value(p.value.begin(), p.value.end());
  return "{\"name\": " + jsonString(utf8FromCodePage(p.name)) + ", \"typeCode\": \"" +
         hex32(p.typeCode) + "\", \"base64\": \"" + base64(value) + "\"}";
}

std::string parametersJson(const std::vector<Parameter>& list) {
  std::string out = "[";
  for (std::size_t i = 0; i < list.size(); ++i) out += (i ? ", " : "") + parameterJson(list[i]);
  return out + "]";
}

std::string valueJson(const Column& column, const Value& v) {
  switch (v.blankState()) {
    case BlankState::Null: return "{\"blank\": \"null\"}";
    case BlankState::Unassigned: return "{\"blank\": \"unassigned\"}";
    case BlankState::HasValue: break;
  }
  const ColumnKind kind = columnKind(column);
  if (kind == ColumnKind::DateTime)
    return "{\"dateTime\": \"" + dateTimeText(v.toDouble(), false) +
           "\", \"days\": " + jsonNumber(v.toDouble()) + "}";
  if (v.isInt()) return std::to_string(v.toInt());
  if (v.isDouble()) return jsonNumber(v.toDouble());
  if (v.isBool()) return v.toBool() ? "true" : "false";
  if (kind == ColumnKind::String || kind == ColumnKind::Memo)
    return jsonString(utf8FromCodePage(v.bytes()));
  return "{\"size\": " + std::to_string(v.bytes().size()) + ", \"base64\": \"" + base64(v.bytes()) +
         "\"}";
}

void dump(const DataPacket& p, std::ostream& out) {
  out << "{\n  \"header\": {\"signature\": \"" << hex32(p.signature)
      << "\", \"majorVersion\": " << p.majorVersion << ", \"minorVersion\": " << p.minorVersion
      << ", \"headerSize\": " << p.headerSize << ", \"columnCount\": " << p.columns.size()
      << ", \"rowCount\": " << p.rows.size() << ", \"packetFlags\": " << p.packetFlags
      << ", \"rowAreaOffset\": " << p.rowAreaOffset << "},\n";
  out << "  \"columns\": [";
  for (std::size_t i = 0; i < p.columns.size(); ++i) {
    const Column& c = p.columns[i];
    out << (i ? "," : "") << "\n    {\"name\": " << jsonString(utf8FromCodePage(c.name))
        << ", \"typeCode\": \"" << hex32(c.typeCode) << "\", \"kind\": \""
        << kindName(columnKind(c)) << "\", \"attributes\": " << c.attributes
        << ", \"subtype\": " << (c.subtype.empty() ? "null" : jsonString(c.subtype))
        << ", \"width\": " << c.width << ", \"decimals\": " << c.decimals
        << ", \"calculated\": " << (c.calculated ? "true" : "false")
        << ", \"otherParameters\": " << parametersJson(c.otherParameters) << "}";
  }
  out << "\n  ],\n  \"tableParameters\": {\"AUTOINCVALUE\": "
      << (p.autoIncValue ? std::to_string(*p.autoIncValue) : std::string("null"))
      << ", \"changeLog\": " << (p.hadChangeLog ? "true" : "false")
      << ", \"readOnly\": " << (p.readOnly() ? "true" : "false")
      << ", \"otherParameters\": " << parametersJson(p.otherParameters) << "},\n";
  out << "  \"rows\": [";
  for (std::size_t r = 0; r < p.rows.size(); ++r) {
    const Row& row = p.rows[r];
    out << (r ? "," : "") << "\n    {\"status\": " << int(row.status)
        << ", \"current\": " << (row.isCurrent() ? "true" : "false") << ", \"values\": [";
    for (std::size_t j = 0; j < row.values.size(); ++j)
      out << (j ? ", " : "") << valueJson(p.columns[j], row.values[j]);
    out << "]}";
  }
  out << "\n  ]\n}\n";
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

void csvRow(const DataPacket& p, const std::vector<Value>& values, std::ostream& out) {
  for (std::size_t j = 0; j < values.size(); ++j)
    out << (j ? "," : "") << csvField(displayText(p.columns[j], values[j]));
  out << "\r\n";
}

// The index the program gives the table with exactly these columns, if it is one of its own.
std::optional<std::string> programIndexFor(const DataPacket& p) {
  TDataModule1 module;
  for (const TableFile& file : module.tablesInOpeningOrder()) {
    const TClientTable* table = file.table;
    const std::vector<FieldDef>& defs = table->FieldDefs();
    bool same = defs.size() == p.columns.size();
    for (std::size_t j = 0; same && j < defs.size(); ++j) same = defs[j].name == p.columns[j].name;
    if (same) return table->IndexFieldNames();
  }
  return std::nullopt;
}

// The visible records as the program lists them: the file opened as a table in its index order.
void csvRowsInIndexOrder(const DataPacket& p, const std::string& path, const std::string& index,
                         std::ostream& out) {
  TClientTable table("tblFile");
  table.setFileName(path);
  table.setIndexFieldNames(index);
  table.open();
  std::vector<TField*> fields;
  for (const Column& column : p.columns) fields.push_back(&table.fieldByName(column.name));
  std::vector<Value> values(fields.size());
  for (table.first(); !table.eof(); table.next()) {
    for (std::size_t j = 0; j < fields.size(); ++j) values[j] = fields[j]->value();
    csvRow(p, values, out);
  }
}

void csv(const DataPacket& p, const std::string& path, bool fileOrder, std::ostream& out) {
  formatSettings() = formatSettingsFromLocale(QLocale::system());
  for (std::size_t j = 0; j < p.columns.size(); ++j)
    out << (j ? "," : "") << csvField(utf8FromCodePage(p.columns[j].name));
  out << "\r\n";
  const std::optional<std::string> index = fileOrder ? std::nullopt : programIndexFor(p);
  if (index) return csvRowsInIndexOrder(p, path, *index, out);
  for (const Row& row : p.rows)
    if (row.isCurrent()) csvRow(p, row.values, out);
}

int check(const std::vector<uint8_t>& original, const DataPacket& p, std::ostream& out) {
  const std::vector<uint8_t> again = encodeDataPacket(p);
  std::size_t i = 0;
  while (i < original.size() && i < again.size() && original[i] == again[i]) ++i;
  if (i == original.size() && i == again.size()) {
    out << "identical: " << original.size() << " bytes decode and encode to the same bytes\n";
    return 0;
  }
  out << "differs at offset " << i << ": file ";
  if (i < original.size()) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02X", original[i]);
    out << "has " << buffer;
  } else {
    out << "ends";
  }
  out << ", encoded ";
  if (i < again.size()) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02X", again[i]);
    out << "has " << buffer;
  } else {
    out << "ends";
  }
  out << " (file " << original.size() << " bytes, encoded " << again.size() << " bytes)\n";
  return kExitDiffers;
}

// A journal value: text for strings and memos, base64 for blobs, numbers as numbers; dates as the
// dump shows them.
std::string journalValueJson(TFieldType type, const Value& v) {
  if (v.blankState() == BlankState::Null) return "null";
  if (!v.hasValue()) return "\"unassigned\"";
  if (type == ftDateTime && v.isDouble()) return jsonString(dateTimeText(v.toDouble(), true));
  if (v.isInt()) return std::to_string(v.toInt());
  if (v.isDouble()) return jsonNumber(v.toDouble());
  if (v.isBool()) return v.toBool() ? "true" : "false";
  if (type == ftString || type == ftMemo) return jsonString(utf8FromCodePage(v.bytes()));
  return "{\"bytes\": " + std::to_string(v.bytes().size()) + ", \"base64\": \"" +
         base64(v.bytes()) + "\"}";
}

void dumpJournal(const JournalContents& j, std::size_t fileSize, std::ostream& out) {
  const TableFileIdentity& f = j.header.file;
  out << "{\n  \"version\": " << j.header.version
      << ",\n  \"tableFile\": {\"exists\": " << (f.exists ? "true" : "false")
      << ", \"size\": " << f.size;
  if (j.header.version == 1) {
    const LegacyFileStamp& stamp = j.header.legacy;
    out << ", \"modifiedSeconds\": " << stamp.modifiedSeconds
        << ", \"modifiedNanoseconds\": " << stamp.modifiedNanoseconds << ", \"sampleCrc\": \""
        << hex32(stamp.sampleCrc) << "\"";
  } else {
    out << ", \"crc\": \"" << hex32(f.crc) << "\"";
  }
  out << "},\n";
  out << "  \"autoIncAtOpen\": " << j.header.autoIncAtOpen << ",\n  \"columnTypes\": [";
  for (std::size_t i = 0; i < j.header.columnTypes.size(); ++i)
    out << (i ? ", " : "") << jsonString(fieldTypeName(j.header.columnTypes[i]));
  out << "],\n  \"records\": [";
  const char* ops[] = {"", "insert", "edit", "delete", "written"};
  for (std::size_t r = 0; r < j.records.size(); ++r) {
    const JournalRecord& record = j.records[r];
    out << (r ? "," : "") << "\n    {\"op\": \"" << ops[int(record.op)]
        << "\", \"key\": " << record.key;
    if (record.op == JournalOp::Written) {
      out << ", \"newFile\": {\"size\": " << record.written.size << ", \"crc\": \""
          << hex32(record.written.crc) << "\"}";
    } else if (record.op != JournalOp::Delete) {
      out << ", \"values\": [";
      for (std::size_t i = 0; i < record.values.size(); ++i) {
        TFieldType type = i < j.header.columnTypes.size() ? j.header.columnTypes[i] : ftUnknown;
        out << (i ? ", " : "") << journalValueJson(type, record.values[i]);
      }
      out << "]";
    }
    out << "}";
  }
  out << "\n  ],\n  \"tornTailBytes\": " << fileSize - j.validLength << "\n}\n";
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int usage() {
  std::cerr << "usage: cdstool [--code-page N] dump|check|journal FILE\n"
               "       cdstool [--code-page N] csv [--file-order] FILE\n";
  return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--code-page") {
    int number = 0;
    try {
      std::size_t used = 0;
      number = std::stoi(args[1], &used);
      if (used != args[1].size()) number = 0;
    } catch (const std::exception&) {}
    if (!CodePage::supported(number)) {
      std::cerr << "cdstool: code page " << args[1]
                << " is not one of 874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258\n";
      return kExitFailure;
    }
    CodePage::setActive(number);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return usage();
  const std::string& command = args[0];
  const bool fileOrder = command == "csv" && args.size() == 3 && args[1] == "--file-order";
  if (args.size() != 2 && !fileOrder) return usage();
  const std::string& path = args.back();
  if (command != "dump" && command != "check" && command != "csv" && command != "journal")
    return usage();
  std::vector<uint8_t> bytes;
  if (!readFile(path, bytes)) {
    std::cerr << "cdstool: cannot read " << path << "\n";
    return kExitFailure;
  }
  if (command == "journal") {
    try {
      std::ostringstream out;
      dumpJournal(decodeJournal(bytes), bytes.size(), out);
      std::cout << out.str();
      return 0;
    } catch (const JournalError& e) {
      std::cerr << "cdstool: " << path << ": not a change journal: " << e.what() << "\n";
      return kExitFailure;
    }
  }
  try {
    const DataPacket packet = decodeDataPacket(bytes);
    std::ostringstream out;
    int status = 0;
    if (command == "dump")
      dump(packet, out);
    else if (command == "csv")
      csv(packet, path, fileOrder, out);
    else
      status = check(bytes, packet, out);
    std::cout << out.str();
    return status;
  } catch (const DataPacketError& e) {
    std::cerr << "cdstool: " << path << ": not a valid datapacket: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "cdstool: " << path << ": " << e.what() << "\n";
  }
  return kExitFailure;
}
