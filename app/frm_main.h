// The main window: the vehicle overview, the three navigation buttons, Exit into the closing
// sequence, and the report launches the list windows call. Creating it binds the five tables to
// their files in the Data folder beside the program and opens them, masters first.
#pragma once

#include "forms/report_launches.h"
#include "framework/form_base.h"

#include <QString>

#include <string>
#include <vector>

namespace wf {

class DbGrid;
class LinkLabel;
class TClientTable;
enum class ClosedFlag;
class TRepImage;
class TfrmExpenseDetailRep;
class TfrmServiceDetailRep;
class TfrmServiceLineDetailRep;
class TGradButton;
class TGradPanel;

class TfrmMain : public FormBase, public TReportLaunches {
  Q_OBJECT
 public:
  // The maker's web site: the label shows the bare host, the click opens the full address.
  static constexpr const char* kMakerHost = "tembra.test";
  static constexpr const char* kMakerAddress = "https://tembra.test/";

  // appFolder: the program's folder with a trailing separator (normally the executable's).
  explicit TfrmMain(const std::string& appFolder, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Controls, named as in the window's design.
  // Title bar: "Wrenfold".
  TGradPanel* GradPanel1;
  LinkLabel* Label3;  // the maker's web site (kMakerHost)

  // Navigation panel on the left: opens the three list windows.
  TGradPanel* GradPanel4;
  TGradButton* btnVehicleDetail;
  TGradButton* btnService;
  TGradButton* btnExpenses;

  // Content panel: the vehicle overview.
  TGradPanel* GradPanel5;
  TGradPanel* GradPanel17;  // frame around the grid
  DbGrid* DBGrid1;          // all vehicles

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnExit;  // writes the tables through the closing window and ends the program

  std::string AppFolder;
  bool VehicleClosed = false;
  bool ServiceClosed = false;
  bool ServiceLineClosed = false;
  bool ServiceInvoiceClosed = false;
  bool ExpensesClosed = false;
  // The flag above of one table.
  bool& closedFlag(ClosedFlag table);
  // True once every table has been closed.
  bool allTablesClosed();

  // Binds a table to its file under AppFolder and opens it (empty when the file is missing).
  // A failure is shown in an error box; the table stays as the failure left it.
  void OpenTableFile(TClientTable& table, const char* relativeFileName);

  void btnVehicleDetailClick();
  void btnServiceClick();
  void btnExpensesClick();
  void btnExitClick();
  void Label3Click();
  void Label3MouseEnter();
  void Label3MouseLeave();

  // Put the current vehicle's photo into the report (where it has one) and preview it; each
  // returns when the preview window has been closed.
  void LaunchServiceReport() override;
  void LaunchExpenseReport() override;
  void LaunchServiceLineReport() override;
  // Decodes the current vehicle's photo into a report picture; a photo that does not decode
  // is reported in an error box and the picture stays empty.
  void LoadPhotoIntoReport(TRepImage* image);

  // The current rows of the vehicle and service tables (-1 where none or closed).
  struct CurrentRows {
    int vehicleRow = -1;
    int serviceRow = -1;
  };
  CurrentRows currentRows() const;
  // Opens again, from the files just written, the tables a failed closing closed, so the window
  // stays usable and Exit can be tried again; the vehicle and service that were current before
  // the closing are made current again. Tables that were never open stay closed.
  void reopenTables(const std::vector<TClientTable*>& closed, CurrentRows current);

 signals:
  // The program ends when this is sent (the close box or Exit has written every table).
  void terminateRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void buildLayout();
  // Applies the change journals left by a Wrenfold that did not end with Exit, and tells the
  // user what was recovered and which journals were set aside.
  void recoverJournals();
  bool writeChangedTables();

  bool exitConfirmed_ = false;
};

// The error box text of a second Wrenfold started on a Data folder already in use.
QString dataFolderInUseText(const std::string& dataFolder);
// The error box text when the Data folder's lock cannot be made (lock file, system's reason).
QString dataFolderUnlockableText(const std::string& dataFolder, const std::string& lockFile,
                                 const std::string& reason);
// The box shown once at start when there is no Data folder.
QString dataFolderMissingText(const std::string& dataFolder);

extern TfrmMain* frmMain;
// The report windows, made at start-up and never shown.
extern TfrmServiceDetailRep* frmServiceDetailRep;
extern TfrmExpenseDetailRep* frmExpenseDetailRep;
extern TfrmServiceLineDetailRep* frmServiceLineDetailRep;

}  // namespace wf
