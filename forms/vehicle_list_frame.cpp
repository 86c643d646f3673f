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
  constexpr int w = kVehicleListWidth;
  const QColor windowText(0, 0, 0);
  VehicleListFrame f{};
  f.titleBar = makePanel(window, PanelPreset::TitleBar, QRect(0, 0, w, 45), title);
  f.closeBar = makePanel(window, PanelPreset::ButtonBar, QRect(0, 481, w, 45));
  f.closeButton = makeButton(f.closeBar, "Close", QString(), QRect(659, 10, 75, 25), kGreenButton,
                             5, glyph(Glyph::Close));

  f.vehicleGrid = makeGrid(window, &DataModule1->datVehicle, vehicleListColumns(),
                           QRect(0, 45, w, 148), windowText);

  // The bars keep the captions of the design, which they do not show.
  f.upperBar = makePanel(window, PanelPreset::GreyBar, QRect(0, 193, w, 45), "Services");
  f.upperBar->setShowCaption(false);
  f.printButton = makeButton(f.upperBar, "Print...", printHint, QRect(19, 10, 75, 25), kGreyButton,
                             5, glyph(Glyph::Print));

  f.recordGrid = makeGrid(window, records, std::move(columns), QRect(0, 238, w, 198), windowText);

  f.lowerBar = makePanel(window, PanelPreset::GreyBar, QRect(0, 436, w, 45), "Expenses");
  f.lowerBar->setShowCaption(false);
  f.deleteButton = makeButton(f.lowerBar, "Delete", "Delete " + recordName, QRect(195, 10, 75, 25),
                              kGreyButton, 5, glyph(Glyph::Delete));
  f.newButton = makeButton(f.lowerBar, "New", "New " + recordName, QRect(19, 10, 75, 25),
                           kGreyButton, 5, glyph(Glyph::New));
  f.editButton = makeButton(f.lowerBar, "Edit", "Edit " + recordName, QRect(107, 10, 75, 25),
                            kGreyButton, 5, glyph(Glyph::Edit));

  // Title bar, Close bar, vehicle grid, upper grey bar, record grid, lower grey bar.
  setTabChain({f.closeButton, f.vehicleGrid, f.printButton, f.recordGrid, f.deleteButton,
               f.newButton, f.editButton});
  return f;
}

}  // namespace wf
