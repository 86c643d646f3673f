#include "app/frm_main.h"

#include "app/frm_closing.h"
#include "app/link_label.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_expense_detail.h"
#include "forms/frm_service_detail.h"
#include "forms/frm_vehicle_detail.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/jpeg_picture.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "reports/frm_expense_detail_rep.h"
#include "reports/frm_service_detail_rep.h"
#include "reports/frm_service_line_detail_rep.h"
#include "reports/rep_image.h"
#include "store/data_module.h"
#include "store/table_file.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QUrl>

#include <algorithm>
#include <filesystem>

namespace wf {

TfrmMain* frmMain = nullptr;
TfrmServiceDetailRep* frmServiceDetailRep = nullptr;
TfrmExpenseDetailRep* frmExpenseDetailRep = nullptr;
TfrmServiceLineDetailRep* frmServiceLineDetailRep = nullptr;

namespace {

constexpr int kClientWidth = 992;
constexpr int kClientHeight = 390;

std::vector<GridColumn> vehicleColumns() {
  return {
      {"VehicleNumber", "Vehicle Number", 108, kCellCentre, kCellCentre, QColor()},
      {"VehicleMake", "Vehicle Make", 183, kCellLeft, kCellLeft, kShadedColumn},
      {"VehicleModel", "Vehicle Model", 167, kCellLeft, kCellLeft, QColor()},
      {"VehicleYear", "Vehicle Year", 98, kCellCentre, kCellCentre, QColor()},
      {"VehicleReg", "Vehicle Registration", 131, kCellCentre, kCellCentre, kShadedColumn},
  };
}

}  // namespace

TfrmMain::TfrmMain(const std::string& appFolder, QWidget* parent) : FormBase(parent) {
  setObjectName("frmMain");
  setWindowTitle("Tembra Office - Wrenfold");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
  AppFolder = appFolder;
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildLayout() {
  GradPanel1 = makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45), "Wrenfold");
  Label3 = new LinkLabel(kMakerHost, GradPanel1);
  Label3->setFont(msSansSerif(11));
  Label3->setStyleSheet("color: white; background: transparent;");
  Label3->setGeometry(16, 16, 67, 13);
  connect(Label3, &LinkLabel::mouseEntered, this, &TfrmMain::Label3MouseEnter);
  connect(Label3, &LinkLabel::mouseLeft, this, &TfrmMain::Label3MouseLeave);
  connect(Label3, &LinkLabel::clicked, this, &TfrmMain::Label3Click);

  GradPanel5 = makePanel(this, PanelPreset::ContentPanel, QRect(206, 45, 786, 300));
  GradPanel17 = makePanel(GradPanel5, PanelPreset::GridFrame, QRect(25, 30, 736, 241));
  GradPanel17->setShowCaption(false);
  DBGrid1 =
      makeGrid(GradPanel17, &DataModule1->datVehicle, vehicleColumns(), QRect(6, 6, 725, 229));

  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 345, kClientWidth, 45));
  btnExit = makeButton(GradPanel3, "Exit", QString(), QRect(904, 10, 75, 25), kGreenButton, 10,
                       glyph(Glyph::Exit));

  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 45, 206, 300));
  btnVehicleDetail = makeButton(GradPanel4, "Vehicle Details", QString(), QRect(32, 30, 145, 55),
                                kWhiteButton, 10, glyph(Glyph::Vehicle));
  btnService = makeButton(GradPanel4, "Service Details", QString(), QRect(32, 122, 145, 55),
                          kWhiteButton, 10, glyph(Glyph::Service));
  btnExpenses = makeButton(GradPanel4, "Expense Details", QString(), QRect(32, 214, 145, 55),
                           kWhiteButton, 8, glyph(Glyph::Expense));

  // Tab order of the window's children: title bar, content panel, button bar, navigation panel.
  setTabChain({DBGrid1, btnExit, btnVehicleDetail, btnService, btnExpenses});

  connect(btnVehicleDetail, &TGradButton::clicked, this, &TfrmMain::btnVehicleDetailClick);
  connect(btnService, &TGradButton::clicked, this, &TfrmMain::btnServiceClick);
  connect(btnExpenses, &TGradButton::clicked, this, &TfrmMain::btnExpensesClick);
  connect(btnExit, &TGradButton::clicked, this, &TfrmMain::btnExitClick);
}

void TfrmMain::FormCreate() {
  processPendingMessages();
  VehicleClosed = ServiceClosed = ServiceLineClosed = ServiceInvoiceClosed = ExpensesClosed = false;
  // A write that a crash or kill cut short left its temporary file; this program holds the
  // folder's lock, so no write of its is in progress.
  for (const TableFile& file : DataModule1->tablesInOpeningOrder())
    removeStaleTableWrites(AppFolder + file.relativeFileName);
  for (const TableFile& file : DataModule1->tablesInOpeningOrder())
    OpenTableFile(*file.table, file.relativeFileName);
  recoverJournals();
}

namespace {

// "Data/Vehicle.cds" -> "Vehicle.cds"
QString baseName(const std::string& path) {
  return QString::fromStdString(std::filesystem::path(path).filename().string());
}

// The journal beside a table file: "Data/Vehicle.cds" -> "Data/Vehicle.journal".
std::string journalFileFor(const std::string& tableFile) {
  return std::filesystem::path(tableFile).replace_extension(".journal").string();
}

}  // namespace

QString dataFolderInUseText(const std::string& dataFolder) {
  return QString(
             "The Data folder %1 is in use by another Wrenfold. Only one Wrenfold at a time "
             "can work on it: use the one that is open, or end it with Exit first.")
      .arg(QString::fromStdString(dataFolder));
}

QString dataFolderUnlockableText(const std::string& dataFolder, const std::string& lockFile,
                                 const std::string& reason) {
  return QString(
             "Wrenfold cannot lock the Data folder %1: %2 (%3). Without the lock another "
             "Wrenfold could work on the same folder at the same time and overwrite your "
             "changes, so Wrenfold ends without reading or writing anything.")
      .arg(QString::fromStdString(dataFolder), QString::fromStdString(lockFile),
           QString::fromStdString(reason.empty() ? "no such folder" : reason));
}

QString dataFolderMissingText(const std::string& dataFolder) {
  return QString(
             "The Data folder %1 does not exist. Nothing you enter is kept until it exists: "
             "create the folder before you press Exit, or your changes are lost.")
      .arg(QString::fromStdString(dataFolder));
}

void TfrmMain::recoverJournals() {
  QStringList recovered;
  QStringList setAside;
  QStringList damaged;
  // Masters before details, as they were opened.
  for (const TableFile& file : DataModule1->tablesInOpeningOrder()) {
    runShowingErrors([&] {
      TClientTable::JournalRecovery recovery = file.table->recoverJournal();
      using Outcome = TClientTable::JournalRecovery::Outcome;
      if (recovery.outcome == Outcome::Replayed && recovery.changes > 0)
        recovered
            << QString("%1 in %2").arg(recovery.changes).arg(baseName(file.table->FileName()));
      else if (recovery.outcome == Outcome::SetAside)
        setAside << QString::fromStdString(recovery.setAsidePath);
      if (recovery.damaged)
        damaged << QString(
                       "%1: a damaged change was found; %2 after it not applied. The journal "
                       "as it was found is kept as %3")
                       .arg(baseName(file.table->JournalFileName()))
                       .arg(recovery.notApplied == 1
                                ? QString("1 change")
                                : QString("%1 changes").arg(recovery.notApplied))
                       .arg(QString::fromStdString(recovery.keptPath));
    });
  }
  if (!setAside.isEmpty()) {
    showInformation(
        "These change journals were written for other versions of their table files "
        "and have not been used. They were kept as:\n" +
        setAside.join("\n"));
  }
  if (!recovered.isEmpty() || !damaged.isEmpty()) {
    QString text =
        "Wrenfold did not end with Exit last time. The changes made then were "
        "recovered and will be saved at Exit:\n" +
        (recovered.isEmpty() ? QString("none") : recovered.join("\n"));
    if (!damaged.isEmpty()) text += "\n\n" + damaged.join("\n");
    showInformation(text);
  }
}

void TfrmMain::OpenTableFile(TClientTable& table, const char* relativeFileName) {
  runShowingErrors([&] {
    table.setFileName(AppFolder + relativeFileName);
    // Each posted change also goes to a journal beside the file, when there is a folder for it.
    const bool folderExists =
        std::filesystem::is_directory(std::filesystem::path(table.FileName()).parent_path());
    table.setJournalFileName(folderExists ? journalFileFor(table.FileName()) : std::string());
    if (!std::filesystem::exists(table.FileName()))
      table.createDataSet();
    else
      table.open();
    table.setLogChanges(false);
  });
}

bool& TfrmMain::closedFlag(ClosedFlag table) {
  switch (table) {
    case ClosedFlag::Vehicle: return VehicleClosed;
    case ClosedFlag::Service: return ServiceClosed;
    case ClosedFlag::ServiceLine: return ServiceLineClosed;
    case ClosedFlag::ServiceInvoice: return ServiceInvoiceClosed;
    case ClosedFlag::Expenses: return ExpensesClosed;
  }
  return VehicleClosed;  // not reached: every table is listed above
}

bool TfrmMain::allTablesClosed() {
  for (const TableFile& file : DataModule1->tablesInOpeningOrder())
    if (!closedFlag(file.flag)) return false;
  return true;
}

void TfrmMain::btnVehicleDetailClick() {
  frmVehicleDetail->centreOver(this);
  frmVehicleDetail->showModal();
}

void TfrmMain::btnServiceClick() {
  frmServiceDetail->centreOver(this);
  frmServiceDetail->showModal();
}

void TfrmMain::btnExpensesClick() {
  frmExpenseDetail->centreOver(this);
  frmExpenseDetail->showModal();
}

void TfrmMain::btnExitClick() {
  processPendingMessages();
  const CurrentRows current = currentRows();
  frmClosing->begin();
  frmClosing->showModal();
  if (frmClosing->state() != TfrmClosing::State::Done) {
    // Nothing is lost: the table that could not be written is still open with its changes, and
    // the tables closed before it are opened again from the files just written, so Exit can be
    // tried again.
    reopenTables(frmClosing->closedTables(), current);
    return;
  }
  exitConfirmed_ = true;
  close();
}

TfrmMain::CurrentRows TfrmMain::currentRows() const {
  const TClientTable& vehicles = DataModule1->tblVehicle;
  const TClientTable& services = DataModule1->tblService;
  return {vehicles.Active() ? vehicles.recNo() : -1, services.Active() ? services.recNo() : -1};
}

void TfrmMain::reopenTables(const std::vector<TClientTable*>& closed, CurrentRows current) {
  const std::vector<TableFile> tables = DataModule1->tablesInOpeningOrder();
  for (const TableFile& file : tables)
    if (std::find(closed.begin(), closed.end(), file.table) != closed.end() &&
        !file.table->Active())
      OpenTableFile(*file.table, file.relativeFileName);
  TClientTable& vehicles = DataModule1->tblVehicle;
  TClientTable& services = DataModule1->tblService;
  if (current.vehicleRow >= 0 && vehicles.Active()) vehicles.moveTo(current.vehicleRow);
  if (current.serviceRow >= 0 && services.Active()) services.moveTo(current.serviceRow);
  // A table whose open failed at start-up stays closed and keeps its flag for the next Exit.
  for (const TableFile& file : tables) closedFlag(file.flag) = !file.table->Active();
}

bool TfrmMain::writeChangedTables() {
  // Children before masters, as the closing window does; a table that cannot be written stays
  // open with its changes.
  const CurrentRows current = currentRows();
  std::vector<TClientTable*> closed;
  const bool written = runShowingErrors([&] {
    for (const TableFile& file : DataModule1->tablesInClosingOrder()) {
      if (!file.table->Active()) continue;
      closeTableForExit(*file.table);
      closed.push_back(file.table);
    }
  });
  if (!written) reopenTables(closed, current);
  return written;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!exitConfirmed_ && !writeChangedTables()) {
    event->ignore();
    return;
  }
  event->accept();
  FormBase::closeEvent(event);
  emit terminateRequested();
}

void TfrmMain::LoadPhotoIntoReport(TRepImage* image) {
  runShowingErrors([&] {
    const std::string blob = DataModule1->tblVehicleVehiclePhoto->AsString();
    const JpegPicture jpeg =
        JpegPicture::fromBytes(QByteArray(blob.data(), static_cast<qsizetype>(blob.size())));
    image->Picture = jpeg.image();
  });
}

namespace {

void previewWithPhoto(TfrmMain& main, TRepImage* image, TReport* report) {
  image->Picture = QImage();
  if (!DataModule1->tblVehicleVehiclePhoto->IsNull()) main.LoadPhotoIntoReport(image);
  processPendingMessages();
  report->Preview();
}

}  // namespace

void TfrmMain::LaunchServiceReport() {
  previewWithPhoto(*this, frmServiceDetailRep->RepImage1, frmServiceDetailRep->Report1);
}

void TfrmMain::LaunchExpenseReport() {
  previewWithPhoto(*this, frmExpenseDetailRep->RepImage1, frmExpenseDetailRep->Report1);
}

void TfrmMain::LaunchServiceLineReport() {
  processPendingMessages();
  frmServiceLineDetailRep->Report1->Preview();
}

void TfrmMain::Label3Click() { QDesktopServices::openUrl(QUrl(kMakerAddress)); }

void TfrmMain::Label3MouseEnter() {
  QFont font = Label3->font();
  font.setUnderline(true);
  Label3->setFont(font);
}

void TfrmMain::Label3MouseLeave() {
  QFont font = Label3->font();
  font.setUnderline(false);
  Label3->setFont(font);
}

}  // namespace wf
