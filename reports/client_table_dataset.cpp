#include "reports/client_table_dataset.h"

#include <exception>

#include "framework/text_codec.h"
#include "store/client_table.h"
#include "store/field.h"

namespace wf {

namespace {

ReportFieldKind kindOf(TFieldType type) {
  switch (type) {
    case ftString: return ReportFieldKind::String;
    case ftMemo: return ReportFieldKind::Memo;
    case ftSmallint: return ReportFieldKind::SmallInt;
    case ftInteger: return ReportFieldKind::Integer;
    case ftAutoInc: return ReportFieldKind::AutoInc;
    case ftFloat: return ReportFieldKind::Float;
    case ftCurrency: return ReportFieldKind::Currency;
    case ftDateTime: return ReportFieldKind::DateTime;
    case ftBlob: return ReportFieldKind::Blob;
    case ftUnknown: break;
  }
  return ReportFieldKind::Unknown;
}

// Reads of a closed table, or of a value the field cannot convert, count as no value: a report
// prints them empty and goes on.
class ClientTableField : public ReportField {
 public:
  explicit ClientTableField(TField& field) : field_(field) {}

  QString name() const override { return fromCodePage(field_.FieldName()); }
  ReportFieldKind kind() const override { return kindOf(field_.DataType()); }
  bool isNull() const override {
    return read(true, [this] { return field_.IsNull(); });
  }
  double asNumber() const override {
    return read(0.0, [this] { return field_.AsFloat(); });
  }
  QString asText() const override {
    return read(QString(), [this] { return fromCodePage(field_.AsString()); });
  }
  double asDate() const override {
    return read(0.0, [this] { return field_.AsDateTime(); });
  }
  QString displayText() const override {
    return read(QString(), [this] { return fromCodePage(field_.DisplayText()); });
  }

 private:
  template <typename T, typename Read>
  T read(T fallback, Read reader) const {
    if (field_.DataSet() == nullptr || !field_.DataSet()->Active()) return fallback;
    try {
      return reader();
    } catch (const std::exception&) {
      return fallback;
    }
  }

  TField& field_;
};

}  // namespace

ClientTableDataSet::ClientTableDataSet(TClientTable& table) : table_(table) {}

ClientTableDataSet::~ClientTableDataSet() = default;

QString ClientTableDataSet::name() const { return fromCodePage(table_.Name()); }

bool ClientTableDataSet::isOpen() const { return table_.Active(); }

void ClientTableDataSet::first() { table_.first(); }

void ClientTableDataSet::next() { table_.next(); }

bool ClientTableDataSet::eof() const {
  return !table_.Active() || table_.eof() || table_.isEmpty();
}

int ClientTableDataSet::recordCount() const { return table_.Active() ? table_.recordCount() : -1; }

ReportField* ClientTableDataSet::findField(const QString& name) {
  const QString wanted = name.trimmed();
  for (int i = 0; i < table_.fieldCount(); ++i) {
    TField& field = table_.field(i);
    if (fromCodePage(field.FieldName()).compare(wanted, Qt::CaseInsensitive) != 0) continue;
    auto& adapter = fields_[&field];
    if (!adapter) adapter = std::make_unique<ClientTableField>(field);
    return adapter.get();
  }
  return nullptr;
}

}  // namespace wf
