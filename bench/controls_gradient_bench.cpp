// Cost of the styled controls' hot paths: a fade tick of a 75 by 25 button (one step plus the
// repaint it asks for) and a repaint of a 992 by 45 title bar panel. Neither may render a
// gradient again; both paint through a copy of cached bitmaps.
#include "controls/button_scheme.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "controls/gradient_draw.h"
#include "controls/panel_presets.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>

namespace {

// Renders the widget's paint event into an image, as a repaint onto the backing store does.
void repaintInto(QWidget& widget, QImage& target) {
  QPainter painter(&target);
  widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

void BM_ButtonFadeTick(benchmark::State& state) {
  wf::TGradButton button;
  wf::applyStandardButtonScheme(&button);
  button.setCaption(QStringLiteral("Save"));
  button.show();
  QApplication::processEvents();
  QImage target(button.size(), QImage::Format_ARGB32_Premultiplied);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QEvent leave(QEvent::Leave);
  int tick = 0;
  for (auto _ : state) {
    // Ten ticks in, ten ticks out, so the blends run at every level.
    if (tick % 20 == 0) QApplication::sendEvent(&button, &enter);
    if (tick % 20 == 10) QApplication::sendEvent(&button, &leave);
    button.fadeTick();
    repaintInto(button, target);
    ++tick;
  }
}
BENCHMARK(BM_ButtonFadeTick);

// state.range(0): 1 with the window title as caption, 0 without (the block copy alone).
void BM_TitleBarRepaint(benchmark::State& state) {
  wf::TGradPanel panel;
  wf::applyPanelPreset(&panel, wf::PanelPreset::TitleBar);
  panel.setCaption(state.range(0) != 0 ? QStringLiteral("Vehicle Details") : QString());
  panel.resize(992, 45);
  panel.show();
  QApplication::processEvents();
  QImage target(panel.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) repaintInto(panel, target);
}
BENCHMARK(BM_TitleBarRepaint)->Arg(1)->Arg(0);

// For comparison: what a repaint would cost if it rendered the gradient again.
void BM_TitleBarGradientRender(benchmark::State& state) {
  QImage body(992, 45, QImage::Format_RGB32);
  for (auto _ : state) {
    wf::DrawGradient(body, body.rect(), wf::StyleColor(16, 132, 208), wf::StyleColor(113, 184, 255),
                     wf::TGradientType::gtDoubleVert);
    benchmark::DoNotOptimize(body.constBits());
  }
}
BENCHMARK(BM_TitleBarGradientRender);

// A body rebuild of a content panel (threefold supersampled), which runs on resize only.
void BM_ContentPanelRebuild(benchmark::State& state) {
  wf::TGradPanel panel;
  wf::applyPanelPreset(&panel, wf::PanelPreset::ContentPanel);
  panel.resize(992, 530);
  panel.show();
  QApplication::processEvents();
  for (auto _ : state) panel.RebuildBuffers();
}
BENCHMARK(BM_ContentPanelRebuild)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
