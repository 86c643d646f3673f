// Feeds raw bytes to the EMF page player as a page recording: it must refuse damaged input
// with EmfError and never read past the bytes it was given.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

#include "reports/emf_player.h"

namespace {
QGuiApplication& application() {
  static int argc = 1;
  static char name[] = "emf_player_fuzz";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  application();
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    wf::EmfPlayer::parse(bytes);
    // A small target keeps drawing cheap whatever the page's own size.
    QImage image(80, 113, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    wf::EmfPlayer::play(bytes, painter, QRectF(0, 0, 80, 113));
  } catch (const wf::EmfError&) {}
  return 0;
}
