#include "forms_fixture.h"

#include "framework/font_setup.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QWidget>

#include <filesystem>

namespace wf::test {

void FormsFixture::SetUp() {
  installFontSubstitutions();
  ASSERT_TRUE(dir_.isValid());
  QDir(dir_.path()).mkdir("Data");
  module_ = std::make_unique<TDataModule1>();
  openTables();
}

void expectDesignTabPages(QWidget* window, QTabWidget* pageControl,
                          const std::vector<std::pair<QWidget*, QWidget*>>& pages) {
  window->show();
  ASSERT_EQ(pageControl->count(), static_cast<int>(pages.size()));
  for (int tab = 0; tab < pageControl->count(); ++tab) {
    SCOPED_TRACE(pageControl->tabText(tab).toStdString());
    pageControl->setCurrentIndex(tab);
    QApplication::processEvents();
    const auto [grid, bar] = pages[static_cast<size_t>(tab)];
    QWidget* page = pageControl->widget(tab);
    // The page the tab widget gives is at least the design's page.
    ASSERT_GE(page->width(), 744);
    ASSERT_GE(page->height(), 167 + 45);
    EXPECT_EQ(grid->parentWidget(), page);
    EXPECT_EQ(grid->size(), QSize(744, 167));
    EXPECT_EQ(grid->y(), 0);
    EXPECT_EQ(bar->size(), QSize(744, 45));
    EXPECT_EQ(bar->pos(), QPoint(grid->x(), 167));
  }
  pageControl->setCurrentIndex(0);
  window->hide();
}

void FormsFixture::TearDown() { module_.reset(); }

std::string FormsFixture::dataPath(const char* file) const {
  return (dir_.path() + "/Data/" + file).toStdString();
}

void FormsFixture::openTables() {
  const std::pair<TClientTable*, const char*> files[] = {
      {&module_->tblVehicle, "Vehicle.cds"},
      {&module_->tblService, "Service.cds"},
      {&module_->tblServiceLine, "ServiceLine.cds"},
      {&module_->tblServiceInvoice, "ServiceInvoice.cds"},
      {&module_->tblExpenses, "Expense.cds"},
  };
  for (auto [table, file] : files) {
    table->setFileName(dataPath(file));
    if (std::filesystem::exists(table->FileName()))
      table->open();
    else
      table->createDataSet();
    table->setLogChanges(false);
  }
}

void FormsFixture::whenModal(std::function<void()> action) {
  // Poll until a modal window is up, then act inside its event loop.
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QApplication::activeModalWidget() == nullptr) return;
    timer->stop();
    timer->deleteLater();
    // Give the window's activation (a queued call after showing) its turn first.
    QTimer::singleShot(30, action);
  });
  timer->start();
}

void addVehicle(const std::string& make) {
  TClientTable& vehicles = DataModule1->tblVehicle;
  vehicles.insert();
  vehicles.fieldByName("VehicleMake").setAsString(make);
  vehicles.post();
}

}  // namespace wf::test
