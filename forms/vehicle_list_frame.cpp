#include "forms/vehicle_list_frame.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/tab_chain.h"
#include "store/data_module.h"

#include <QWidget>

namespace wf {

VehicleListFrame buildVehicleListFrame(QWidget* window, const QString& title,
                                       const QString& recordName, const QString& printHint,
                                       TDataSource* records, std::vector<GridColumn> columns) {
  constexpr int width = kVehicleListWidth;
  const QColor windowText(0, 0, 0);
  VehicleListFrame frame{};
  frame.titleBar = makePanel(window, PanelPreset::TitleBar, QRect(0, 0, width, 45), title);
  frame.closeBar = makePanel(window, PanelPreset::ButtonBar, QRect(0, 481, width, 45));
  frame.closeButton = makeButton(frame.closeBar, "Close", QString(), QRect(659, 10, 75, 25),
                                 kGreenButton, 5, glyph(Glyph::Close));

  frame.vehicleGrid = makeGrid(window, &DataModule1->datVehicle, vehicleListColumns(),
                               QRect(0, 45, width, 148), windowText);

  // The bars keep the captions of the design, which they do not show.
  frame.upperBar = makePanel(window, PanelPreset::GreyBar, QRect(0, 193, width, 45), "Services");
  frame.upperBar->setShowCaption(false);
  frame.printButton = makeButton(frame.upperBar, "Print...", printHint, QRect(19, 10, 75, 25),
                                 kGreyButton, 5, glyph(Glyph::Print));

  frame.recordGrid =
      makeGrid(window, records, std::move(columns), QRect(0, 238, width, 198), windowText);

  frame.lowerBar = makePanel(window, PanelPreset::GreyBar, QRect(0, 436, width, 45), "Expenses");
  frame.lowerBar->setShowCaption(false);
  frame.deleteButton = makeButton(frame.lowerBar, "Delete", "Delete " + recordName,
                                  QRect(195, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Delete));
  frame.newButton = makeButton(frame.lowerBar, "New", "New " + recordName, QRect(19, 10, 75, 25),
                               kGreyButton, 5, glyph(Glyph::New));
  frame.editButton = makeButton(frame.lowerBar, "Edit", "Edit " + recordName,
                                QRect(107, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Edit));

  // Title bar, Close bar, vehicle grid, upper grey bar, record grid, lower grey bar.
  setTabChain({frame.closeButton, frame.vehicleGrid, frame.printButton, frame.recordGrid,
               frame.deleteButton, frame.newButton, frame.editButton});
  return frame;
}

}  // namespace wf
