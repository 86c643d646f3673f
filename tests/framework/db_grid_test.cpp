#include "framework/db_grid.h"

#include "bound_tables.h"
#include "framework/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <string>

namespace wf {
namespace {

std::vector<GridColumn> vehicleColumns() {
  return {{"VehicleNumber", "Vehicle Number", 106, Qt::AlignHCenter, Qt::AlignHCenter, QColor()},
          {"VehicleMake", "Vehicle Make", 168, Qt::AlignLeft, Qt::AlignLeft, QColor(229, 229, 229)},
          {"VehicleReg", "Vehicle Registration Number", std::nullopt, Qt::AlignHCenter,
           Qt::AlignHCenter, QColor(229, 229, 229)},
          {"Odometer", "Odometer", 80, std::nullopt, Qt::AlignLeft, QColor()}};
}

std::vector<GridColumn> serviceColumns() {
  return {
      {"ServiceNumber", "Service Number", 106, Qt::AlignHCenter, Qt::AlignHCenter, QColor()},
      {"ServiceDescription", "Service Description", 262, Qt::AlignLeft, Qt::AlignLeft, QColor()}};
}

QStringList columnTexts(const QAbstractItemModel& model, int column) {
  QStringList texts;
  for (int row = 0; row < model.rowCount(); ++row)
    texts << model.data(model.index(row, column)).toString();
  return texts;
}

class DbGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables.fill();
    vehicleGrid.setColumns(vehicleColumns());
    vehicleGrid.setDataSource(&tables.datVehicle);
    serviceGrid.setColumns(serviceColumns());
    serviceGrid.setDataSource(&tables.datService);
  }

  void selectRow(DbGrid& grid, int row) { grid.setCurrentIndex(grid.model()->index(row, 1)); }

  test::BoundTables tables;
  DbGrid vehicleGrid;
  DbGrid serviceGrid;
};

TEST_F(DbGridTest, ModelStaysConsistentThroughEveryTableChange) {
  DataSourceModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.setColumns(vehicleColumns());
  model.setDataSource(&tables.datVehicle);
  tables.addVehicle("Bmw", "B-1");
  tables.goToVehicle("Ford");
  tables.vehicles.edit();
  tables.make.setAsString("Fiat");
  tables.vehicles.post();
  tables.goToVehicle("Audi");
  tables.vehicles.deleteRecord();
  tables.vehicles.insert();
  tables.vehicles.cancel();
  tables.vehicles.close();
  EXPECT_EQ(model.rowCount(), 0);
  tables.vehicles.createDataSet();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(DbGridTest, RowsInIndexOrderWithTheColumnsLook) {
  const QAbstractItemModel& model = *vehicleGrid.model();
  EXPECT_EQ(columnTexts(model, 1), (QStringList{"Audi", "Ford", "Volvo"}));
  EXPECT_EQ(columnTexts(model, 0), (QStringList{"3", "2", "1"}));
  EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Vehicle Registration Number");
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignHCenter | Qt::AlignVCenter);
  const QModelIndex make = model.index(0, 1);
  EXPECT_EQ(model.data(make, Qt::BackgroundRole).value<QColor>(), QColor(229, 229, 229));
  EXPECT_FALSE(model.data(model.index(0, 0), Qt::BackgroundRole).isValid());
  // A column without its own alignment takes the field's: numbers right.
  EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_FALSE(model.flags(make) & Qt::ItemIsEditable);
}

TEST_F(DbGridTest, WidthsAndLook) {
  vehicleGrid.setGridBackground(QColor(240, 240, 240));
  vehicleGrid.setFlat(true);
  EXPECT_EQ(vehicleGrid.columnWidth(0), 106);
  EXPECT_EQ(vehicleGrid.columnWidth(1), 168);
  // No width given: the field's 15 characters or the title, whichever is wider.
  EXPECT_EQ(vehicleGrid.columnWidth(2), vehicleGrid.defaultColumnWidth(2));
  const int titleWidth = QFontMetrics(vehicleGrid.horizontalHeader()->font())
                             .horizontalAdvance("Vehicle Registration Number");
  EXPECT_GE(vehicleGrid.columnWidth(2), titleWidth);
  EXPECT_EQ(vehicleGrid.verticalHeader()->width(), DbGrid::kIndicatorWidth);
  EXPECT_EQ(vehicleGrid.frameShape(), QFrame::NoFrame);
  EXPECT_EQ(vehicleGrid.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(vehicleGrid.viewport()->palette().color(QPalette::Base), QColor(240, 240, 240));
}

TEST_F(DbGridTest, SelectingARowMovesTheSharedCursorAndEveryGridFollows) {
  DbGrid secondGrid;
  secondGrid.setColumns(vehicleColumns());
  secondGrid.setDataSource(&tables.datVehicle);

  selectRow(vehicleGrid, 1);
  EXPECT_EQ(tables.make.AsString(), "Ford");
  EXPECT_EQ(secondGrid.currentIndex().row(), 1);
  // The detail grid shows the new vehicle's services at once.
  EXPECT_EQ(columnTexts(*serviceGrid.model(), 1), (QStringList{"Oil", "Tyres"}));
  EXPECT_EQ(serviceGrid.currentIndex().row(), 0);

  selectRow(secondGrid, 2);
  EXPECT_EQ(tables.make.AsString(), "Volvo");
  EXPECT_EQ(vehicleGrid.currentIndex().row(), 2);
  EXPECT_EQ(columnTexts(*serviceGrid.model(), 1), QStringList{"Brakes"});

  // Moving the table in code moves the grids too.
  tables.goToVehicle("Audi");
  EXPECT_EQ(vehicleGrid.currentIndex().row(), 0);
  EXPECT_EQ(serviceGrid.model()->rowCount(), 0);
}

TEST_F(DbGridTest, SelectingARowRunsTheBrowseCheck) {
  selectRow(vehicleGrid, 0);
  tables.vehicles.edit();
  tables.reg.setAsString("A-2");
  selectRow(vehicleGrid, 2);  // the modified edit is posted before the move
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Browse);
  EXPECT_EQ(tables.make.AsString(), "Volvo");
  EXPECT_EQ(columnTexts(*vehicleGrid.model(), 2), (QStringList{"A-2", "F-1", "V-1"}));

  // A posted change of the order key rebuilds the rows while the grid is moving.
  tables.vehicles.edit();
  tables.make.setAsString("Zeta");
  selectRow(vehicleGrid, 0);
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Browse);
  EXPECT_EQ(columnTexts(*vehicleGrid.model(), 1), (QStringList{"Audi", "Ford", "Zeta"}));
  EXPECT_EQ(vehicleGrid.currentIndex().row(), tables.vehicles.recNo());
}

TEST_F(DbGridTest, TheNewRecordIsTheMarkedRowWhileInserting) {
  DbGrid secondGrid;
  secondGrid.setColumns(vehicleColumns());
  secondGrid.setDataSource(&tables.datVehicle);
  const auto& model = *static_cast<const DataSourceModel*>(vehicleGrid.model());
  tables.goToVehicle("Ford");
  tables.vehicles.insert();
  // An empty row of its own where Ford was; Ford and Volvo move down and are not current.
  EXPECT_EQ(columnTexts(model, 1), (QStringList{"Audi", "", "Ford", "Volvo"}));
  EXPECT_EQ(model.currentRow(), 1);
  EXPECT_EQ(model.recordOfRow(1), -1);
  EXPECT_EQ(model.recordOfRow(2), 1);
  EXPECT_EQ(vehicleGrid.currentIndex().row(), 1);
  EXPECT_EQ(secondGrid.currentIndex().row(), 1) << "every grid on the table shows it";
  tables.make.setAsString("Bmw");
  EXPECT_EQ(columnTexts(model, 1), (QStringList{"Audi", "Bmw", "Ford", "Volvo"}));
  tables.vehicles.cancel();
  EXPECT_EQ(columnTexts(model, 1), (QStringList{"Audi", "Ford", "Volvo"}));
  EXPECT_EQ(vehicleGrid.currentIndex().row(), 1);

  // Picking an old record's row during an insert settles the new record first (the browse
  // check posts it); its row then is an ordinary one and the grid shows where the table is.
  tables.goToVehicle("Volvo");
  tables.vehicles.insert();
  EXPECT_EQ(columnTexts(model, 1), (QStringList{"Audi", "Ford", "", "Volvo"}));
  tables.make.setAsString("Bmw");
  tables.reg.setAsString("B-1");
  selectRow(vehicleGrid, 0);
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Browse);
  EXPECT_EQ(tables.make.AsString(), "Audi");
  EXPECT_EQ(columnTexts(model, 1), (QStringList{"Audi", "Bmw", "Ford", "Volvo"}));
  EXPECT_EQ(vehicleGrid.currentIndex().row(), 0);

  // An empty table: the new record is the only row.
  tables.vehicles.close();
  tables.vehicles.createDataSet();
  tables.vehicles.insert();
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.currentRow(), 0);
  tables.vehicles.cancel();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(DbGridTest, TypingInAGridChangesNothing) {
  // The keys a keyboard search would use: the first letters of other rows' texts.
  serviceGrid.show();
  vehicleGrid.show();
  tables.goToVehicle("Ford");
  selectRow(serviceGrid, 0);
  const std::string service = tables.description.AsString();
  for (DbGrid* grid : {&vehicleGrid, &serviceGrid}) {
    grid->setFocus();
    const std::string vehicle = tables.make.AsString();
    for (const char* text : {"V", "Audi", "T", "Tyres", "o"}) {
      QTest::keyClicks(grid, text);
      EXPECT_EQ(tables.make.AsString(), vehicle) << text;
      EXPECT_EQ(tables.description.AsString(), service) << text;
    }
  }
}

TEST_F(DbGridTest, TabAndShiftTabLeaveTheGrid) {
  QWidget window;
  auto* before = new QLineEdit(&window);
  auto* grid = new DbGrid(&window);
  auto* after = new QLineEdit(&window);
  grid->setColumns(vehicleColumns());
  grid->setDataSource(&tables.datVehicle);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), after);
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST_F(DbGridTest, DoubleClickAnywhereRunsTheHookAlsoOnAnEmptyGrid) {
  int clicks = 0;
  serviceGrid.OnDblClick = [&] { ++clicks; };
  serviceGrid.resize(300, 200);
  serviceGrid.show();
  QApplication::processEvents();
  QWidget* corner = serviceGrid.findChild<QAbstractButton*>();
  ASSERT_NE(corner, nullptr);
  const int widthBefore = serviceGrid.columnWidth(0);
  const std::vector<std::pair<const char*, QWidget*>> targets = {
      {"cell", serviceGrid.viewport()},
      {"title row", serviceGrid.horizontalHeader()->viewport()},
      {"indicator column", serviceGrid.verticalHeader()->viewport()},
      {"corner", corner},
  };
  for (const char* vehicle : {"Ford", "Audi"}) {  // two services, then none
    tables.goToVehicle(vehicle);
    for (const auto& [name, target] : targets) {
      SCOPED_TRACE(std::string(vehicle) + ", " + name);
      const int before = clicks;
      QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
      EXPECT_EQ(clicks, before + 1);
    }
  }
  // On the border between two titles the double click is the grid's too: the fixed column
  // widths stay.
  QTest::mouseDClick(serviceGrid.horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                     QPoint(widthBefore - 1, 5));
  EXPECT_EQ(serviceGrid.columnWidth(0), widthBefore);
}

// Rows are scrolled in whole rows only: the first visible row starts right under the title row
// when the grid opens on a current record further down, and after every move to another record.
TEST_F(DbGridTest, TheFirstVisibleRowIsAlwaysWhole) {
  for (int i = 0; i < 12; ++i) tables.addVehicle("Make " + std::to_string(10 + i), "R");
  DbGrid grid;
  grid.setColumns(vehicleColumns());
  grid.setDataSource(&tables.datVehicle);
  grid.setGeometry(0, 0, 500, 148);
  tables.vehicles.last();
  auto firstRowTop = [&] {
    const int first = grid.rowAt(0);
    return first < 0 ? -1 : grid.rowViewportPosition(first);
  };
  grid.show();
  QApplication::processEvents();
  EXPECT_GT(grid.rowAt(0), 0) << "the last record is shown";
  EXPECT_EQ(firstRowTop(), 0) << "opened on the last record";
  for (const int row : {0, 14, 7, 3, 12, 1}) {
    SCOPED_TRACE(row);
    tables.vehicles.moveTo(row);
    QApplication::processEvents();
    EXPECT_EQ(firstRowTop(), 0);
    const int current = grid.currentIndex().row();
    EXPECT_GE(grid.rowViewportPosition(current), 0);
    EXPECT_LE(grid.rowViewportPosition(current) + grid.rowHeight(current),
              grid.viewport()->height());
  }
}

TEST_F(DbGridTest, ClosedTableShowsNoRowsAndDestroyedSourceIsForgotten) {
  DbGrid grid;
  grid.setColumns(vehicleColumns());
  {
    TDataSource shortLived;
    shortLived.setDataSet(&tables.vehicles);
    grid.setDataSource(&shortLived);
    EXPECT_EQ(grid.model()->rowCount(), 3);
  }
  EXPECT_EQ(grid.dataSource(), nullptr);
  EXPECT_EQ(grid.model()->rowCount(), 0);
  tables.services.close();
  EXPECT_EQ(serviceGrid.model()->rowCount(), 0);
}

}  // namespace
}  // namespace wf
