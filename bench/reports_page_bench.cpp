// Painting one stored report page in the preview at 100 % zoom: replaying its recording into
// the page image (first paint of a page) and repainting the view from the cached image.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>

#include "reports/emf_writer.h"
#include "reports/rep_preview.h"

namespace {

// A full list-report page as the engine lays it down: a title band with a frame, a column
// header and 25 detail rows of five fields each, with their frame lines.
QByteArray listReportPage() {
  wf::EmfWriter page;
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSize(10);
  auto band = [&](int top, int height) {
    page.fillRect(QRect(38, top, 718, height), Qt::white);
    page.fillRect(QRect(38, top, 718, 1), Qt::black);
    page.fillRect(QRect(38, top, 1, height + 1), Qt::black);
    page.fillRect(QRect(755, top, 1, height + 1), Qt::black);
  };
  band(38, 147);
  arial.setBold(true);
  page.setFont(arial);
  page.drawText(397, 60, wf::TextAnchor::Center, QStringLiteral("Service Details for Vehicle"),
                Qt::black);
  arial.setBold(false);
  page.setFont(arial);
  int top = 185;
  for (int row = 0; row < 26; ++row, top += 40) {
    band(top, 40);
    const QColor ink = row == 0 ? QColor(Qt::red) : QColor(Qt::black);
    page.drawText(48, top + 12, wf::TextAnchor::Left, QStringLiteral("12/03/2026"), ink);
    page.drawText(150, top + 12, wf::TextAnchor::Left,
                  QStringLiteral("Oil and filter change %1").arg(row), ink);
    page.drawText(420, top + 12, wf::TextAnchor::Left, QStringLiteral("J. Smith"), ink);
    page.drawText(560, top + 12, wf::TextAnchor::Left, QStringLiteral("123,456 km"), ink);
    page.drawText(745, top + 12, wf::TextAnchor::Right, QStringLiteral("$1,234.50"), ink);
  }
  return page.finish();
}

void BM_ReplayPageAt100(benchmark::State& state) {
  const QByteArray recording = listReportPage();
  const QSize size(798, 1127);
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    wf::TRepPreview::paintPageImage(painter, size, recording);
  }
  state.counters["bytes"] = double(recording.size());
}
BENCHMARK(BM_ReplayPageAt100)->Unit(benchmark::kMillisecond);

void BM_RepaintCachedPageAt100(benchmark::State& state) {
  wf::TRepPreview view;
  view.resize(900, 700);
  view.show();
  view.showRecording(1, listReportPage());
  view.zoomTo100();
  QApplication::processEvents();
  QImage screen(view.viewport()->size(), QImage::Format_RGB32);
  view.viewport()->render(&screen);  // builds the cached page image once
  for (auto _ : state) view.viewport()->render(&screen);
}
BENCHMARK(BM_RepaintCachedPageAt100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
