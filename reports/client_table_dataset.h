// Presents a store client table to the report engine: its cursor and its fields, with texts
// converted from the bytes of the tables' code page.
#pragma once

#include <map>
#include <memory>

#include "reports/report_dataset.h"

namespace wf {

class TClientTable;
class TField;

class ClientTableDataSet : public ReportDataSet {
 public:
  // The table must outlive the adapter.
  explicit ClientTableDataSet(TClientTable& table);
  ~ClientTableDataSet() override;

  TClientTable& table() const { return table_; }

  QString name() const override;
  bool isOpen() const override;
  void first() override;
  void next() override;
  bool eof() const override;
  int recordCount() const override;
  ReportField* findField(const QString& name) override;

 private:
  TClientTable& table_;
  std::map<const TField*, std::unique_ptr<ReportField>> fields_;
};

}  // namespace wf
