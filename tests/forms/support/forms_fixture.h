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

// Adds a vehicle straight through the table.
void addVehicle(const std::string& make);

}  // namespace wf::test
