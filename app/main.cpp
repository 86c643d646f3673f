// Wrenfold: keeps the service record of the vehicles a person looks after themselves.
#include "app/app_instances.h"
#include "app/frm_main.h"
#include "framework/message_box.h"
#include "framework/wf_application.h"
#include "store/collation.h"
#include "store/data_folder_lock.h"

#include <QLocale>

#include <csignal>

int main(int argc, char** argv) {
  // Sets the application title, the font substitutions and the locale's formats.
  wf::WfApplication app(argc, argv);
  // Texts in the tables are ordered the way the user's locale orders them.
  wf::Collation::setDefaultLocale(QLocale::system().name().toStdString());

  // A journal append that meets the file size limit fails with an error the table reports,
  // instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);

  // One Wrenfold per Data folder, held until the program ends. A missing folder is not created.
  const std::string dataFolder = wf::programFolder() + "Data";
  wf::DataFolderLock lock(dataFolder);
  if (lock.outcome() == wf::DataFolderLock::Outcome::InUse) {
    wf::showError(wf::dataFolderInUseText(dataFolder));
    return 1;
  }

  int status = 0;
  {
    wf::AppInstances instances(wf::programFolder());
    QObject::connect(wf::frmMain, &wf::TfrmMain::terminateRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    wf::frmMain->centreOver(nullptr);
    wf::frmMain->show();
    status = QApplication::exec();
  }
  return status;
}
