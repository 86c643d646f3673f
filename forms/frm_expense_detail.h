// The expense list window: all vehicles in the upper grid and the expenses of the current
// vehicle below. Expenses are added, edited and deleted here through the expense dialog; the
// expense report and an expense's invoice image are previewed from here.
#pragma once

#include "framework/form_base.h"

namespace wf {

class DbGrid;
class TGradButton;
class TGradPanel;

class TfrmExpenseDetail : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmExpenseDetail(QWidget* parent = nullptr);

  // Controls, named as in the window's design (most come from the shared VehicleListFrame).
  // Title bar: "Expense Details".
  TGradPanel* GradPanel1;

  // Content: the vehicles, the report bar, the current vehicle's expenses and their bar.
  DbGrid* DBGrid1;                // all vehicles; picks the current vehicle
  TGradPanel* GradPanel2;         // grey bar above the expenses
  TGradButton* btnPrintExpenses;  // "Print...": previews the vehicle's expense report
  DbGrid* DBGrid2;                // expenses of the current vehicle; double click edits
  TGradPanel* GradPanel4;         // grey bar below the expenses
  TGradButton* btnNewExpense;
  TGradButton* btnEditExpense;
  TGradButton* btnDeleteExpense;
  TGradButton* btnPrintPreview;  // previews the current expense's invoice image

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnClose;

  void btnNewExpenseClick();
  void btnEditExpenseClick();
  void btnDeleteExpenseClick();
  void btnPrintExpensesClick();
  void btnPrintPreviewClick();
  void btnCloseClick();

 private:
  void buildLayout();
};

}  // namespace wf
