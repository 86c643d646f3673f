#include "reports/report_text_control.h"

#include <cmath>

#include "reports/line_format.h"
#include "reports/report_device.h"
#include "reports/report_page.h"
#include "reports/report_reference_surface.h"

namespace wf {

void TRepTextControl::print(ReportPrintContext& context, double ox, double oy) {
  const QFont font = ParentFont ? context.reportFont : Font;
  const QColor fontColor = ParentFont ? context.reportFontColor : FontColor;
  PageCanvas& canvas = context.device.canvas();
  canvas.setFont(font);
  const double lineHeight = canvas.textHeight() / context.device.factorY();

  QString text = outputText();
  if (!text.isEmpty() && OnPrint) OnPrint(this, text);

  ReportReferenceSurface& reference = context.reference;
  reference.setFont(font);
  // Never lower than one line of text on the screen.
  const double minimumHeight = (reference.textHeight() + 1) / kScreenFactor;
  if (Size.Height < minimumHeight) Size.Height = minimumHeight;

  LineFormatOptions options;
  options.widthPx = static_cast<int>(std::lround(Size.Width * kScreenFactor));
  options.autoSize = AutoSize;
  options.wordWrap = WordWrap;
  const FormattedLines formatted =
      formatLines(text, options, [&reference](const QString& s) { return reference.textWidth(s); });
  if (AutoSize && !formatted.lines.isEmpty()) adjustToText(formatted.widthPx);

  const QRectF box(ox + Size.Left, oy + Size.Top, Size.Width, Size.Height);
  ReportDevice& device = context.device;
  const QRect deviceBox = device.toDevice(box);
  if (!Transparent) canvas.fillRect(deviceBox, Color);

  const int frameWidth = Frame.widthInNativeUnits();
  const double textTop = box.top() + (Frame.DrawTop ? frameWidth : 0);
  const double textLeft = box.left() + (Frame.DrawLeft ? frameWidth : 0);
  int x = 0;
  TextAnchor anchor = TextAnchor::Left;
  switch (Alignment) {
    case wf::Alignment::taLeftJustify: x = device.XPos(textLeft); break;
    case wf::Alignment::taCenter:
      x = device.XPos(box.left() + box.width() / 2);
      anchor = TextAnchor::Center;
      break;
    case wf::Alignment::taRightJustify:
      x = device.XPos(box.right());
      anchor = TextAnchor::Right;
      break;
  }
  double lineTop = textTop;
  for (const QString& line : formatted.lines) {
    if (lineTop + lineHeight > box.top() + box.height() + 1) break;
    canvas.drawText(x, device.YPos(lineTop), anchor, line, fontColor);
    lineTop += lineHeight;
  }
  device.drawFrame(deviceBox, Frame);
  afterPrint();
}

void TRepTextControl::adjustToText(int textWidthPx) {
  const int frameWidth = Frame.widthInNativeUnits();
  const double newWidth = textWidthPx / kScreenFactor + (Frame.DrawLeft ? frameWidth : 0) +
                          (Frame.DrawRight ? frameWidth : 0);
  switch (Alignment) {
    case wf::Alignment::taLeftJustify: break;
    case wf::Alignment::taRightJustify: Size.Left += Size.Width - newWidth; break;
    case wf::Alignment::taCenter: Size.Left += (Size.Width - newWidth) / 2; break;
  }
  Size.Width = newWidth;
}

}  // namespace wf
