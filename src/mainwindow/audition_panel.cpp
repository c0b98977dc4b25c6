#include "mainwindow/audition_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "mainwindow/named.h"
#include "mainwindow/select_row.h"

namespace qv {

namespace {

// A slider whose value runs 0 at the top to 127 at the bottom, so that it is
// 127 minus the row of its list, but whose bar fills from the bottom up to the
// handle: full at row 127, empty at row 0. It is drawn as a slider the other
// way up with the mirrored position, which puts the handle where it is.
class RowSlider : public QSlider {
 public:
  RowSlider() : QSlider(Qt::Vertical) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    option.upsideDown = !option.upsideDown;
    option.sliderPosition = option.maximum + option.minimum - option.sliderPosition;
    option.sliderValue = option.maximum + option.minimum - option.sliderValue;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
  }
};

QSlider* MakeSlider(const char* name) {
  auto* s = Named(new RowSlider, name);
  s->setRange(0, 127);
  s->setInvertedAppearance(true);  // value 0 at the top: the top end is row 127
  s->setInvertedControls(true);
  s->setMinimumHeight(120);
  return s;
}

}  // namespace

AuditionPanel::AuditionPanel(Session& session, QWidget* parent)
    : QGroupBox("Audition", parent), session_(session) {
  setObjectName("AuditionPanel");
  auto* grid = new QGridLayout(this);
  notes_ = Named(new QComboBox, "CmbMidNtNo");
  velocities_ = Named(new QComboBox, "CmbMidVel");
  noteSlider_ = MakeSlider("SldNt");
  velocitySlider_ = MakeSlider("SldVel");
  grid->addWidget(Named(new QLabel("Note"), "LblNote"), 0, 0);
  grid->addWidget(Named(new QLabel("Velocity"), "LblVelocity"), 0, 1);
  grid->addWidget(notes_, 1, 0);
  grid->addWidget(velocities_, 1, 1);
  grid->addWidget(noteSlider_, 2, 0, Qt::AlignHCenter);
  grid->addWidget(velocitySlider_, 2, 1, Qt::AlignHCenter);
  connect(notes_, &QComboBox::activated, this, [this] { CmbMidNtNo_Click(); });
  connect(velocities_, &QComboBox::activated, this, [this] { CmbMidVel_Click(); });
  connect(noteSlider_, &QSlider::valueChanged, this, [this] { SldNt_Update(); });
  connect(velocitySlider_, &QSlider::valueChanged, this, [this] { SldVel_Update(); });
  // Whatever moves a list, the audition plays its row.
  connect(notes_, &QComboBox::currentIndexChanged, this, [this](int row) { session_.SetNoteRow(row); });
  connect(velocities_, &QComboBox::currentIndexChanged, this, [this](int row) { session_.SetVelocityRow(row); });
}

void AuditionPanel::FillLists() {
  notes_->clear();
  velocities_->clear();
  for (int i = 0; i <= 127; ++i) {
    notes_->addItem(QString(" %1").arg(i));
    velocities_->addItem(QString(" %1").arg(i));
  }
  SelectRow(notes_, 67);
  SelectRow(velocities_, 127);
}

void AuditionPanel::CmbMidNtNo_Click() {
  if (notes_->currentIndex() >= 0) noteSlider_->setValue(127 - notes_->currentIndex());
}

void AuditionPanel::CmbMidVel_Click() {
  if (velocities_->currentIndex() >= 0) velocitySlider_->setValue(127 - velocities_->currentIndex());
}

void AuditionPanel::SldNt_Update() {
  if (notes_->count() > 0) notes_->setCurrentIndex(127 - noteSlider_->value());
}

void AuditionPanel::SldVel_Update() {
  if (velocities_->count() > 0) velocities_->setCurrentIndex(127 - velocitySlider_->value());
}

}  // namespace qv
