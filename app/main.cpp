// Wrenfold: keeps the service record of the vehicles a person looks after themselves.
#include "app/app_instances.h"
#include "app/frm_main.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/system_format_settings.h"
#include "framework/wf_application.h"

int main(int argc, char** argv) {
  wf::WfApplication app(argc, argv);
  QApplication::setApplicationName(wf::kApplicationTitle);
  wf::installFontSubstitutions();
  wf::applySystemFormatSettings();

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
