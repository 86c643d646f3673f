// Wrenfold: keeps the service record of the vehicles a person looks after themselves.
#include "app/app_instances.h"
#include "app/frm_main.h"
#include "framework/message_box.h"
#include "framework/wf_application.h"
#include "store/collation.h"
#include "store/data_folder_lock.h"

#include <QEvent>
#include <QLocale>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

// Start-up measurement: with WRENFOLD_FIRST_PAINT_STAMP set in the environment, the program
// prints "first-paint <CLOCK_MONOTONIC in ns>" once the first paint in the main window (its
// panels cover it, so the paint goes to them) has been handed to the window system, and quits
// there when the value is "quit". The zero timer runs after the paint and flush in progress.
class FirstPaintStamp : public QObject {
 public:
  FirstPaintStamp(QWidget& window, bool quit) : QObject(&window), window_(window), quit_(quit) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Paint && widget != nullptr && widget->window() == &window_) {
      QCoreApplication::instance()->removeEventFilter(this);
      QTimer::singleShot(0, this, [quit = quit_] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("first-paint %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        if (quit) QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  QWidget& window_;
  bool quit_;
};

void stampFirstPaintWhenAsked(QWidget& window) {
  const QByteArray mode = qgetenv("WRENFOLD_FIRST_PAINT_STAMP");
  if (!mode.isEmpty()) new FirstPaintStamp(window, mode == "quit");
}

}  // namespace

#include <csignal>

int main(int argc, char** argv) {
  // Sets the application title, the font substitutions and the locale's formats.
  wf::WfApplication app(argc, argv);
  // Texts in the tables are ordered the way the user's locale orders them.
  wf::Collation::setDefaultLocale(QLocale::system().name().toStdString());

  // A journal append that meets the file size limit fails with an error the table reports,
  // instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);

  // One Wrenfold per Data folder, held until the program ends, before anything is read or
  // written. A missing folder is not created.
  const wf::ProgramLock lock(wf::programFolder());
  switch (lock.refusal()) {
    case wf::ProgramLock::Refusal::InUse:
      wf::showError(wf::dataFolderInUseText(lock.dataFolder()));
      return 1;
    case wf::ProgramLock::Refusal::Unavailable:
      wf::showError(
          wf::dataFolderUnlockableText(lock.dataFolder(), lock.lockPath(), lock.reason()));
      return 1;
    case wf::ProgramLock::Refusal::None: break;
  }
  if (lock.dataFolderMissing()) wf::showInformation(wf::dataFolderMissingText(lock.dataFolder()));

  int status = 0;
  {
    wf::AppInstances instances(wf::programFolder());
    QObject::connect(wf::frmMain, &wf::TfrmMain::terminateRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    stampFirstPaintWhenAsked(*wf::frmMain);
    wf::frmMain->centreOver(nullptr);
    wf::frmMain->show();
    status = QApplication::exec();
  }
  return status;
}
