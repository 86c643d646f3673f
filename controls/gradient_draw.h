// Drawing routines shared by the gradient panel and the gradient button: two-colour gradient
// fills, captions with a shadow or an embossed disabled look, reduction of a threefold
// supersampled image, percentage blending and grey tinting.
//
// Bitmaps are QImage in Format_RGB32 whose rows are written directly through scanLine(); a
// routine handed another format converts the image in place first. Rectangles are QRects in the
// usual Qt sense (x, y, width, height); the "right" and "bottom" of the comments are exclusive
// (x + width, y + height). Every routine clips to the bitmaps it touches.
#pragma once

#include "controls/grad_style_color.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

class QFont;
class QPainter;

namespace wf {

enum class TGradientType {
  gtHorizontal,
  gtVertical,
  gtFromTopLeft,
  gtFromTopRight,
  gtRadial,
  gtDoubleHorz,
  gtDoubleVert,
};

// Fills rect with a gradient from `from` to `to`; with a region only the pixels inside it.
// Equal colours give a solid fill. The step count follows the rectangle (a gradient 1 pixel
// across in its own direction is the from-colour throughout).
void DrawGradient(QImage& bitmap, const QRect& rect, StyleColor from, StyleColor to,
                  TGradientType type, const QRegion* region = nullptr);

// How a caption is laid into its rectangle. Text is always one line, cut with "..." at its end
// when it is wider than the rectangle.
struct TextFormat {
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
  // '&' marks the next character as a mnemonic (underlined, "&&" draws one '&'); when false
  // every '&' is drawn as it stands.
  bool mnemonics = true;
};

// Draws text into rect. Enabled: in fontColor, first in shadowColor 1 pixel right and down when
// shadow is set. Disabled: embossed, button-highlight 1 pixel right and down under
// button-shadow, whatever shadow says.
void DrawShadowText(QPainter& canvas, const QString& text, const QFont& font, StyleColor fontColor,
                    StyleColor shadowColor, bool shadow, const TextFormat& format,
                    const QRect& rect, bool enabled);

// Writes `small` from `large` (k times its size each way): only the edge band of `small`
// (b = band div 2 pixels from each side, band below 1 meaning k) is averaged from k by k
// blocks; the interior (b, b, width - b, height - b) is filled with `interior`. Blocks that lie
// outside `large` end the averaging; the interior is filled all the same.
void ReduceSupersampled(const QImage& large, QImage& small, int k, StyleColor interior, int band);

// Mixes source into destination over rect: each channel becomes
// w * destination + (1 - w) * source with w = (100 - percentage) / 100, rounded to the nearest
// integer, halves to even. The source is read from its own top-left corner.
void BlendBitmap(QImage& destination, const QImage& source, const QRect& rect, int percentage);

// Block-copies base from its top-left corner into work at (left + offset, top + offset), size
// (width - offset, height - offset); then, when percentage is above 0, blends layer over rect at
// min(percentage, 100). base may be work itself.
void ComposeLayer(QImage& work, const QImage& base, const QImage& layer, int percentage,
                  const QRect& rect, int offset);

// Converts bitmap in place: g = (r + g + b) div 3, each channel min(g + tint channel, 255).
void TintGray(QImage& bitmap, StyleColor tint);

// The region of a rounded rectangle with corner ellipses of ellipseWidth by ellipseHeight,
// drawn through the centres of the outermost pixels. Ellipses of 1 pixel or less give square
// corners; ellipses larger than the rectangle are clamped to it.
QRegion roundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight);

// Fills every pixel of region (clipped to the bitmap) with color.
void fillRegion(QImage& bitmap, const QRegion& region, StyleColor color);
void fillRect(QImage& bitmap, const QRect& rect, StyleColor color);

}  // namespace wf
