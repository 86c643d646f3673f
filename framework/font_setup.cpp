#include "framework/font_setup.h"

#include <QStringList>

namespace wf {
namespace {

QFont designFont(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  // Pixel sizes come from the designs; no hinting tweaks that would change the widths.
  font.setStyleStrategy(QFont::PreferDefault);
  return font;
}

}  // namespace

void installFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  // A bitmap font on its home platform; Liberation Sans keeps its proportions closest, and the
  // pixel size given by each design is kept as it is.
  QFont::removeSubstitutions(QStringLiteral("MS Sans Serif"));
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont msSansSerif(int pixelSize, bool bold) {
  return designFont(QStringLiteral("MS Sans Serif"), pixelSize, bold);
}

QFont arial(int pixelSize, bool bold) {
  return designFont(QStringLiteral("Arial"), pixelSize, bold);
}

}  // namespace wf
