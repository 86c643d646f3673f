// Builders for the pieces every window is made of: gradient panels in one of the five presets,
// gradient buttons in the standard scheme, bold labels, styled grids. Each returns the widget
// already placed at its design geometry, so a window's constructor reads like its layout table.
#pragma once

#include "controls/panel_presets.h"
#include "framework/grid_column.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QTabWidget;
class QWidget;

namespace wf {

class DbGrid;
class DbEdit;
class TDBDateEdit;
class TDataSource;
class TGradButton;
class TGradPanel;

// The button colours the designs use.
inline const QColor kWhiteButton(255, 255, 255);
inline const QColor kGreyButton(192, 192, 192);
inline const QColor kGreenButton(3, 171, 73);
// Cell and title alignments of the grid columns.
inline constexpr Qt::Alignment kCellCentre = Qt::AlignHCenter | Qt::AlignVCenter;
inline constexpr Qt::Alignment kCellLeft = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment kCellRight = Qt::AlignRight | Qt::AlignVCenter;
// Grid background and the shaded column colour.
inline const QColor kGridBackground(240, 240, 240);
inline const QColor kShadedColumn(229, 229, 229);

TGradPanel* makePanel(QWidget* parent, PanelPreset preset, const QRect& geometry,
                      const QString& caption = QString());

TGradButton* makeButton(QWidget* parent, const QString& caption, const QString& hint,
                        const QRect& geometry, const QColor& colour, int spacing,
                        const QImage& glyph = QImage());

// A label in MS Sans Serif 11 px bold black at its design position (sized to its text).
QLabel* makeBoldLabel(QWidget* parent, const QString& text, int left, int top);

// A flat, read-only grid with the designs' background and fonts: cells MS Sans Serif 13 px
// black, titles 13 px in the given colour.
DbGrid* makeGrid(QWidget* parent, TDataSource* source, std::vector<GridColumn> columns,
                 const QRect& geometry, const QColor& titleColour = Qt::black);

// The designs' tab page: a grid of 744 by 167 pixels with the bar under it at its own height.
inline constexpr int kTabPageWidth = 744;
inline constexpr int kTabPageGridHeight = 167;

// Lays out a tab page as the designs do: the grid at the designs' size with the bar (at its own
// height) under it, whatever size the page control gives the page.
void fillTabSheet(QWidget* sheet, QWidget* grid, QWidget* bottomBar);

// The vehicle grid of the vehicle, service and expense list windows.
std::vector<GridColumn> vehicleListColumns();

// The look of every entry control of the dialogs: MS Sans Serif 13 px, black on white.
void styleDataEntry(QWidget* widget);

// A data edit: white, sunken border, MS Sans Serif 13 px black.
DbEdit* makeDataEdit(QWidget* parent, TDataSource* source, const char* fieldName,
                     const QRect& geometry);

class FormBase;
class TClientTable;

// A dialog's date edit on a data field: entry look, a new record starts at today, a text that is
// not a date is refused when leaving or saving, the calendar pops up on light grey.
TDBDateEdit* makeDataDateEdit(QWidget* parent, TDataSource* source, const char* fieldName,
                              const QRect& geometry);

// How a list window starts the record its dialog edits.
enum class EditStart { Insert, Edit };

// A list window's New or Edit: puts the table into insert or edit state, sets the dialog's
// caption and shows it modally centred over the main window; the dialog posts or cancels the
// record itself. A failure on the way cancels the table first, then shows the error box.
void runEditDialog(TClientTable& table, EditStart start, FormBase* dialog, const QString& caption);

// A dialog's Save once its own checks have passed: with the busy cursor showing, runs
// `storeExtras` (what the dialog holds outside its data controls: a photo, an image file), posts
// the table and closes the dialog. A failure shows the error box and the dialog stays open.
void postAndClose(TClientTable& table, FormBase* dialog,
                  const std::function<void()>& storeExtras = {});

// A dialog's Cancel: cancels the table, showing a failure in the error box, and closes the
// dialog either way.
void cancelAndClose(TClientTable& table, FormBase* dialog);

// A list window's Delete once its own checks have passed: asks the question and deletes the
// table's current record on Yes. A failure shows the error box.
void confirmAndDelete(TClientTable& table, const QString& question);

// The page control of the vehicle and service line windows at its design geometry; both tabs
// always fit, so it has no scroll arrows (hidden ones would still be Tab stops).
QTabWidget* makePageControl(QWidget* parent, const QRect& geometry);

// A dialog's close box: cancels the table when it is still in insert or edit state, so no
// record is left half-edited behind a hidden dialog. A failure shows the error box.
void cancelPendingEdit(TClientTable& table);

}  // namespace wf
