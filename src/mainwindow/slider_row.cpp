#include "mainwindow/slider_row.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

namespace qv {

SliderRow::SliderRow(const SliderRowDef& def, QWidget* parent)
    : QObject(parent),
      format_(def.format),
      label_(new QLabel(QString::fromLatin1(def.label), parent)),
      slider_(new ReleaseSlider(Qt::Horizontal, parent)),
      readout_(new QLineEdit(parent)) {
  slider_->setObjectName(QString::fromLatin1(def.slider));
  slider_->setRange(def.minimum, def.maximum);
  slider_->setValue(def.initial);
  readout_->setObjectName(QString::fromLatin1(def.readout));
  label_->setBuddy(slider_);
  ShowPosition();

  connect(slider_, &QSlider::valueChanged, this, &SliderRow::ShowPosition);
  connect(slider_, &ReleaseSlider::Released, this, &SliderRow::Settled);
  connect(slider_, &ReleaseSlider::Stepped, this, &SliderRow::Settled);
}

void SliderRow::AddTo(QGridLayout* grid, int line, int column) const {
  grid->addWidget(label_, line, column);
  grid->addWidget(slider_, line, column + 1);
  grid->addWidget(readout_, line, column + 2);
}

void SliderRow::SetPosition(int position) {
  {
    const QSignalBlocker quiet(slider_);
    slider_->setValue(position);
  }
  ShowPosition();
}

int SliderRow::Position() const { return slider_->value(); }

void SliderRow::SetEnabled(bool enabled) {
  slider_->setEnabled(enabled);
  readout_->setEnabled(enabled);
  label_->setEnabled(enabled);
}

void SliderRow::ShowPosition() {
  const std::string point = QLocale::system().decimalPoint().toStdString();
  readout_->setText(QString::fromStdString(ReadoutText(format_, slider_->value(), point)));
}

}  // namespace qv
