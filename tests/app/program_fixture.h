// The fixture of the program-level tests: the whole program (data module and every window, as
// the executable makes them) over a temporary program folder, with every message box recorded.
#pragma once

#include "app/app_instances.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "store/data_module.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace wf {

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    installFontSubstitutions();
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path().toStdString() + "/";
  }

  // The Data folder the program keeps its table files in; without it the tables stay in memory.
  void makeDataFolder() { QDir(dir_.path()).mkdir("Data"); }
  std::string dataFile(const char* name) const { return folder_ + "Data/" + name; }

  // Starts the program (which opens the tables) and ends it (tables still open are written).
  void start() { instances_ = std::make_unique<AppInstances>(folder_); }
  void stop() { instances_.reset(); }

  static void addVehicle(const std::string& make) {
    TClientTable& vehicles = DataModule1->tblVehicle;
    vehicles.insert();
    vehicles.fieldByName("VehicleMake").setAsString(make);
    vehicles.post();
  }

  QTemporaryDir dir_;
  std::string folder_;  // the program's folder, with a trailing separator
  // Declared before the program so that it records the boxes the program shows as it ends.
  MessageBoxRecorder boxes_;
  std::unique_ptr<AppInstances> instances_;
};

// The program already running over an empty Data folder.
class RunningProgramFixture : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    if (HasFatalFailure()) return;
    makeDataFolder();
    start();
  }
};

}  // namespace wf
