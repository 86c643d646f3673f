#include "forms/window_parts.h"

#include "controls/button_scheme.h"
#include "controls/db_date_edit.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "framework/busy_cursor.h"
#include "framework/db_edit.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/form_base.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/showing_errors.h"
#include "store/client_table.h"

#include <QLabel>
#include <QPalette>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wf {

TGradPanel* makePanel(QWidget* parent, PanelPreset preset, const QRect& geometry,
                      const QString& caption) {
  auto* panel = new TGradPanel(parent);
  panel->setGeometry(geometry);
  applyPanelPreset(panel, preset);
  panel->setCaption(caption);
  // Panels only hold and frame other controls and draw no focus: a Tab stop on one would be an
  // invisible stop between the controls a person can act on.
  panel->setTabStop(false);
  return panel;
}

void fillTabSheet(QWidget* sheet, QWidget* grid, QWidget* bottomBar) {
  // The page the tab widget gives is a few pixels larger than the designs' page and depends on
  // the style; the grid and the bar keep the designs' size, stacked at the top of the page and
  // centred across it so the pixels left over fall evenly on both sides.
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  grid->setFixedSize(kTabPageWidth, kTabPageGridHeight);
  bottomBar->setFixedSize(kTabPageWidth, bottomBar->height());
  layout->addWidget(grid, 0, Qt::AlignHCenter);
  layout->addWidget(bottomBar, 0, Qt::AlignHCenter);
  layout->addStretch(1);
}

TGradButton* makeButton(QWidget* parent, const QString& caption, const QString& hint,
                        const QRect& geometry, const QColor& colour, int spacing,
                        const QImage& glyph) {
  auto* button = new TGradButton(parent);
  applyStandardButtonScheme(button);
  button->setGeometry(geometry);
  button->setCaption(caption);
  button->setColor(StyleColor(colour));
  button->setSpacing(spacing);
  if (!glyph.isNull()) button->setGlyph(glyph);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

QLabel* makeBoldLabel(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setFont(msSansSerif(11, true));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->move(left, top);
  label->adjustSize();
  return label;
}

DbGrid* makeGrid(QWidget* parent, TDataSource* source, std::vector<GridColumn> columns,
                 const QRect& geometry, const QColor& titleColour) {
  auto* grid = new DbGrid(parent);
  grid->setFlat(true);
  grid->setGridBackground(kGridBackground);
  grid->setCellFont(msSansSerif(13));
  grid->setTitleFont(msSansSerif(13));
  QPalette palette = grid->palette();
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::ButtonText, titleColour);
  grid->setPalette(palette);
  grid->setColumns(std::move(columns));
  grid->setDataSource(source);
  grid->setGeometry(geometry);
  return grid;
}

std::vector<GridColumn> vehicleListColumns() {
  return {
      {"VehicleNumber", "Vehicle Number", 106, kCellCentre, kCellCentre, QColor()},
      {"VehicleMake", "Vehicle Make", 168, kCellLeft, kCellLeft, kShadedColumn},
      {"VehicleModel", "Vehicle Model", 158, kCellLeft, kCellLeft, QColor()},
      {"VehicleYear", "Vehicle Year", 105, kCellCentre, kCellCentre, QColor()},
      {"VehicleReg", "Vehicle Registration Number", std::nullopt, kCellCentre, kCellCentre,
       kShadedColumn},
  };
}

void styleDataEntry(QWidget* widget) {
  widget->setFont(msSansSerif(13));
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  widget->setPalette(palette);
}

TDBDateEdit* makeDataDateEdit(QWidget* parent, TDataSource* source, const char* fieldName,
                              const QRect& geometry) {
  auto* edit = new TDBDateEdit(parent);
  styleDataEntry(edit);
  edit->setDefaultToday(true);
  // A typing slip (31/02/26) is refused where it was typed; only an empty edit means today.
  edit->setCheckOnExit(true);
  edit->setPopupColor(QColor(240, 240, 240));
  edit->setDataSource(source);
  edit->setDataField(fieldName);
  edit->setGeometry(geometry);
  return edit;
}

DbEdit* makeDataEdit(QWidget* parent, TDataSource* source, const char* fieldName,
                     const QRect& geometry) {
  auto* edit = new DbEdit(parent);
  styleDataEntry(edit);
  edit->setFrame(true);
  edit->setDataSource(source);
  edit->setDataField(fieldName);
  edit->setGeometry(geometry);
  return edit;
}

void runEditDialog(TClientTable& table, EditStart start, FormBase* dialog, const QString& caption) {
  const auto startAndShow = [&] {
    if (start == EditStart::Insert)
      table.insert();
    else
      table.edit();
    dialog->setWindowTitle(caption);
    dialog->centreOverMainForm();
    dialog->showModal();
  };
  const auto cancelQuietly = [&] {
    try {
      table.cancel();
    } catch (const std::exception&) {
      // The table may be closed; the first failure is the one to show.
    }
  };
  runShowingErrors(startAndShow, cancelQuietly);
}

void cancelPendingEdit(TClientTable& table) {
  const DataSetState state = table.State();
  if (state != DataSetState::Insert && state != DataSetState::Edit) return;
  runShowingErrors([&] { table.cancel(); });
}

void postAndClose(TClientTable& table, FormBase* dialog, const std::function<void()>& storeExtras) {
  BusyCursor busy;
  runShowingErrors([&] {
    if (storeExtras) storeExtras();
    table.post();
    processPendingMessages();
    dialog->closeForm();
  });
}

void cancelAndClose(TClientTable& table, FormBase* dialog) {
  runShowingErrors([&] {
    table.cancel();
    processPendingMessages();
  });
  dialog->closeForm();
}

void confirmAndDelete(TClientTable& table, const QString& question) {
  if (!confirm(question)) return;
  runShowingErrors([&] { table.deleteRecord(); });
}

QTabWidget* makePageControl(QWidget* parent, const QRect& geometry) {
  auto* pages = new QTabWidget(parent);
  pages->setGeometry(geometry);
  pages->tabBar()->setFont(msSansSerif(13, true));
  pages->setUsesScrollButtons(false);
  return pages;
}

}  // namespace wf
