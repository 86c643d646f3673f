// What the report engine needs of a table: a cursor that walks its visible records and fields
// found by name. Report controls and expressions read records only through these two types, so
// the engine works on any table that an adapter exposes this way.
#pragma once

#include <QDateTime>
#include <QString>

namespace wf {

// The kinds a field value can have, as far as expressions tell them apart.
enum class ReportFieldKind {
  String,
  Memo,
  Integer,
  SmallInt,
  Word,
  AutoInc,
  Float,
  Currency,
  Bcd,
  Boolean,
  Date,
  DateTime,
  Blob,
  Unknown,
};

// One column of a table, read on the table's current record. A field stays valid for as long
// as its table lives.
class ReportField {
 public:
  virtual ~ReportField() = default;

  virtual QString name() const = 0;
  virtual ReportFieldKind kind() const = 0;
  // True when the current record has no value in this field (or there is no current record).
  virtual bool isNull() const = 0;
  // The value as a number; 0 when null or not numeric.
  virtual double asNumber() const = 0;
  // The value as plain text (dates and times in their default text form).
  virtual QString asText() const = 0;
  // Days since 30 December 1899 with the time of day as fraction; 0 when null.
  virtual double asDate() const = 0;
  // The text a grid or a report shows: display format, money format of the locale, and so on.
  // Empty for a null value.
  virtual QString displayText() const = 0;
};

class ReportDataSet {
 public:
  virtual ~ReportDataSet() = default;

  // The table's name, as `table.field` in expressions names it.
  virtual QString name() const = 0;
  virtual bool isOpen() const = 0;
  virtual void first() = 0;
  virtual void next() = 0;
  // True when there is no current record any more: after next on the last record, or when the
  // table shows no record at all.
  virtual bool eof() const = 0;
  // Number of visible records; -1 when the table cannot tell. Used for progress only.
  virtual int recordCount() const = 0;
  // Field lookup without regard to case; nullptr when the table has no such field.
  virtual ReportField* findField(const QString& name) = 0;
};

}  // namespace wf
