#pragma once
// One slider of an edit panel with its label and the read-out box beside it.
// Both edit panels build every slider as one of these rows:
//  - the read-out shows the position in the row's format after every change
//    of position, by mouse, keyboard or code;
//  - Settled() tells a position the user settled on: the release of a mouse
//    button that was pressed on the slider, or a step by a key or the wheel
//    (ReleaseSlider tells these apart from a move).

#include <QObject>

#include "instrument/slider_conversions.h"
#include "mainwindow/release_slider.h"

class QGridLayout;
class QLabel;
class QLineEdit;

namespace qv {

struct SliderRowDef {
  const char* label;    // caption of the label
  const char* slider;   // object name of the slider
  const char* readout;  // object name of the read-out box
  int minimum, maximum;
  int initial;  // position before the panel is first filled
  ReadoutFormat format;
};

class SliderRow : public QObject {
  Q_OBJECT
 public:
  // The three widgets are made children of `parent`, and so is the row.
  SliderRow(const SliderRowDef& def, QWidget* parent);

  // Label, slider and read-out side by side on line `line` of `grid`, from
  // column `column` on.
  void AddTo(QGridLayout* grid, int line, int column) const;
  // A position set by code: nothing is settled, and the read-out shows it
  // (also where text was typed into the read-out).
  void SetPosition(int position);
  int Position() const;
  void SetEnabled(bool enabled);  // label, slider and read-out alike

  QLabel* Label() const { return label_; }
  ReleaseSlider* Slider() const { return slider_; }
  QLineEdit* Readout() const { return readout_; }

 signals:
  void Settled();

 private:
  void ShowPosition();

  ReadoutFormat format_;
  QLabel* label_;
  ReleaseSlider* slider_;
  QLineEdit* readout_;
};

}  // namespace qv
