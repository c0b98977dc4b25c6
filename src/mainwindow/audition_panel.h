#pragma once
// The audition note and velocity: each list follows its slider and back, and
// the state keeps the rows for every audition.

#include <QGroupBox>

#include "editor/session.h"

class QComboBox;
class QSlider;

namespace qv {

class AuditionPanel : public QGroupBox {
  Q_OBJECT
 public:
  AuditionPanel(Session& session, QWidget* parent = nullptr);

  // Rows " 0" .. " 127" in both lists, note 67 and velocity 127 chosen.
  void FillLists();

  void CmbMidNtNo_Click();
  void CmbMidVel_Click();
  void SldNt_Update();
  void SldVel_Update();

 private:
  Session& session_;
  QComboBox* notes_;        // CmbMidNtNo
  QSlider* noteSlider_;     // SldNt
  QComboBox* velocities_;   // CmbMidVel
  QSlider* velocitySlider_; // SldVel
};

}  // namespace qv
