// A data module with its five tables open on an empty Data folder in a temporary directory,
// every message box recorded, and a helper that acts inside a modal window while it is up.
#pragma once

#include "framework/message_box.h"
#include "store/data_module.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QTabWidget;
class QWidget;

namespace wf::test {

class FormsFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens every table on Data/<file> (empty when the file is missing).
  void openTables();
  std::string dataPath(const char* file) const;

  // Runs action once the modal window that the next call opens is showing.
  static void whenModal(std::function<void()> action);

  QTemporaryDir dir_;
  std::unique_ptr<TDataModule1> module_;
  MessageBoxRecorder boxes_;
};

// Shows the window and checks every tab page of its page control: the grid at 744 by 167 at the
// top of the page, the 45-pixel bar of the same width right under it. pages lists each page's
// grid and bar in tab order.
void expectDesignTabPages(QWidget* window, QTabWidget* pageControl,
                          const std::vector<std::pair<QWidget*, QWidget*>>& pages);

// Adds a vehicle straight through the table.
void addVehicle(const std::string& make);

}  // namespace wf::test
