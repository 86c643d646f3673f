// The frame the service and expense list windows share: a title bar, the Close bar at the
// bottom, the vehicle grid, a grey bar with "Print..." above the grid of the current vehicle's
// records, and a grey bar below it with Delete, New and Edit. Each window adds its own fourth
// button to the lower bar and wires the buttons to its handlers.
#pragma once

#include "framework/grid_column.h"

#include <QString>

#include <vector>

class QWidget;

namespace wf {

class DbGrid;
class TDataSource;
class TGradButton;
class TGradPanel;

struct VehicleListFrame {
  TGradPanel* titleBar;
  TGradPanel* closeBar;  // the button bar at the bottom
  TGradButton* closeButton;
  DbGrid* vehicleGrid;       // all vehicles; picks the current vehicle
  TGradPanel* upperBar;      // grey bar above the record grid
  TGradButton* printButton;  // previews the window's report
  DbGrid* recordGrid;        // the current vehicle's services or expenses
  TGradPanel* lowerBar;      // grey bar below the record grid
  TGradButton* deleteButton;
  TGradButton* newButton;
  TGradButton* editButton;
};

// Width and height of the windows' client area.
inline constexpr int kVehicleListWidth = 752;
inline constexpr int kVehicleListHeight = 526;

// Builds the frame on `window` for records named `recordName` ("Service": hints "New Service",
// "Delete Service", ...), with the tab order running from the title bar to the Edit button.
VehicleListFrame buildVehicleListFrame(QWidget* window, const QString& title,
                                       const QString& recordName, const QString& printHint,
                                       TDataSource* records, std::vector<GridColumn> columns);

}  // namespace wf
