// A horizontal band of a report: its role, height and width, background, frame, and the
// printable controls placed on it, in the order they were placed.
#pragma once

#include <memory>
#include <vector>

#include "reports/band_layout.h"
#include "reports/report_control.h"

namespace wf {

// `Size.Values` of a band, native units.
struct BandSize {
  double Height = 0;
  double Width = 0;
};

class TRepBand : public LayoutBand {
 public:
  TRepBand(QString name, wf::BandType type) : Name(std::move(name)), BandType(type) {}

  wf::BandType bandType() const override { return BandType; }
  double bandHeight() const override { return Size.Height; }
  bool bandEnabled() const override { return Enabled; }

  // Places a new control on the band, after those already there; the band owns it.
  template <typename Control>
  Control* add(const QString& name) {
    auto control = std::make_unique<Control>(name);
    Control* raw = control.get();
    controls_.push_back(std::move(control));
    return raw;
  }
  const std::vector<std::unique_ptr<TRepControl>>& controls() const { return controls_; }

  // Fills the band, prints its enabled controls and draws its frame, the band's top-left
  // corner at (x, y) in native units.
  void print(ReportPrintContext& context, int x, int y);

  QString Name;
  wf::BandType BandType;
  BandSize Size;
  QColor Color = Qt::white;
  TRepFrame Frame;
  bool Enabled = true;

 private:
  std::vector<std::unique_ptr<TRepControl>> controls_;
};

}  // namespace wf
