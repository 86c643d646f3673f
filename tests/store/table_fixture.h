// Shared helpers for the client table tests: a scratch folder and small tables built in code.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/blob_field.h"
#include "store/client_table.h"
#include "store/collation.h"
#include "store/currency_field.h"
#include "store/date_time_field.h"
#include "store/format_settings.h"
#include "store/integer_field.h"
#include "store/string_field.h"

namespace wf::test {

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wf-table-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    path_ = ::mkdtemp(name.data());
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// US-style settings and the English collation, so texts and orders do not depend on the
// machine's locale.
inline void useTestLocale() {
  FormatSettings fs;
  fs.currencyString = "$";
  fs.currencyFormat = 0;
  fs.negCurrFormat = 0;
  fs.currencyDecimals = 2;
  fs.thousandSeparator = ',';
  fs.decimalSeparator = '.';
  fs.dateSeparator = '/';
  fs.shortDateFormat = "M/d/yyyy";
  fs.longTimeFormat = "h:nn:ss AMPM";
  formatSettings() = fs;
  Collation::setDefaultLocale("en_US");
}

// A vehicle-like table: Number (auto-increment), Make (string 25), Photo (blob); ordered by Make.
struct VehicleTable {
  TClientTable table{"tblVehicle"};
  TAutoIncField& number = table.addField<TAutoIncField>("VehicleNumber");
  TStringField& make = table.addField<TStringField>("VehicleMake", 25);
  TBlobField& photo = table.addField<TBlobField>("VehiclePhoto");

  VehicleTable() {
    table.FieldDefs() = {{"VehicleNumber", ftAutoInc, 0, faReadonly},
                         {"VehicleMake", ftString, 25, 0},
                         {"VehiclePhoto", ftBlob, 0, 0}};
    table.setIndexFieldNames("VehicleMake");
  }
  void add(const std::string& makeText) {
    table.insert();
    make.setAsString(makeText);
    table.post();
  }
  std::vector<std::string> makes() {
    std::vector<std::string> out;
    for (int row = 0; row < table.recordCount(); ++row)
      out.push_back(table.displayTextAt(row, make));
    return out;
  }
  std::vector<int> numbers() {
    std::vector<int> out;
    for (int row = 0; row < table.recordCount(); ++row)
      out.push_back(static_cast<int>(table.valueAt(row, number).toInt()));
    return out;
  }
};

}  // namespace wf::test
