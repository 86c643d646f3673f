// The small pictures on the windows' buttons, drawn in code. Each glyph's bottom-left pixel holds
// the transparent colour, as the gradient button expects.
#pragma once

#include <QIcon>
#include <QImage>

namespace wf {

enum class Glyph {
  Vehicle,
  Service,
  Expense,  // 48 by 48, main window navigation
  Exit,
  New,
  Delete,
  Print,
  Save,  // 16 by 16
  Cancel,
  Close,
  Copy,
  Paste,  // 16 by 16
  Edit,   // 24 by 24
  ServiceTab,
  ExpenseTab,  // 16 by 16 tab icons
};

QImage glyph(Glyph which);

// The glyph with its transparent colour made transparent, for tab and window icons.
QIcon glyphIcon(Glyph which);

}  // namespace wf
