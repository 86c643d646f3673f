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

  TGradPanel* GradPanel1;
  DbGrid* DBGrid1;
  TGradPanel* GradPanel2;
  TGradButton* btnPrintExpenses;
  DbGrid* DBGrid2;
  TGradPanel* GradPanel4;
  TGradButton* btnNewExpense;
  TGradButton* btnEditExpense;
  TGradButton* btnDeleteExpense;
  TGradButton* btnPrintPreview;
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
