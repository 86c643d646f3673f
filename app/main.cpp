// Wrenfold: keeps the service record of the vehicles a person looks after themselves.
#include "app/app_instances.h"
#include "app/frm_main.h"
#include "framework/wf_application.h"
#include "store/collation.h"

#include <QLocale>

int main(int argc, char** argv) {
  // Sets the application title, the font substitutions and the locale's formats.
  wf::WfApplication app(argc, argv);
  // Texts in the tables are ordered the way the user's locale orders them.
  wf::Collation::setDefaultLocale(QLocale::system().name().toStdString());

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
