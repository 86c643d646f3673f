// wf_gallery [--screenshot FILE.png]
// Shows the gallery window; with --screenshot it saves the window as a PNG and exits.
#include "controls/gallery/gallery_window.h"
#include "framework/font_setup.h"

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  wf::installFontSubstitutions();
  const QStringList args = QCoreApplication::arguments();
  const qsizetype flag = args.indexOf(QStringLiteral("--screenshot"));
  if (flag >= 0 && flag + 1 >= args.size()) {
    std::fprintf(stderr, "usage: wf_gallery [--screenshot FILE.png]\n");
    return 2;
  }

  wf::GalleryWindow window;
  window.show();
  if (flag < 0) return app.exec();

  const QString path = args.at(flag + 1);
  int status = 1;
  // Let the first showing finish (pending resizes, the first paint) before grabbing.
  QTimer::singleShot(100, &app, [&] {
    status = window.grab().save(path, "PNG") ? 0 : 1;
    if (status != 0) std::fprintf(stderr, "wf_gallery: cannot write %s\n", qPrintable(path));
    app.quit();
  });
  app.exec();
  return status;
}
