#pragma once
// The performance panel: preset or user bank 1 or 2, the program list whose
// choice selects the performance on the instrument and reads it back, the
// performance button and the four layer buttons with their name boxes.

#include <QWidget>
#include <array>

#include "editor/session.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class MouseRouter;

class PerformancePanel : public QWidget {
  Q_OBJECT
 public:
  PerformancePanel(Session& session, QWidget* parent = nullptr);

  // The program list of LoadEffectAndPresetTables: at start the names of
  // preset bank 1, with no program chosen.
  void LoadPresetNames();
  // Presses, releases and drags of the buttons and name boxes.
  void WatchMouse(MouseRouter& router);
  // Draws the performance caption, the layer boxes and the choice from the
  // state.
  void DrawPerformance();

  void OptPreset_Click();
  void OptUser_Click();
  void OptBank1_Click();
  void OptBank2_Click();
  void CmbPrgm_Click();
  void CmdPrfm_MouseDown();
  void CmdPrfm_MouseUp();
  void CmdLyr_MouseDown(int layer);  // layer 1..4
  void CmdLyr_MouseUp(int layer);

 private:
  // What the program list lists.
  enum class Listing { Nothing, PresetNames1, PresetNames2, Numbers };
  // The option buttons and the program list from the state's choice; the
  // list is filled again only when it is to list other programs.
  void DrawChoice();
  void DrawOptions();  // the option buttons alone

  Session& session_;
  Listing listed_ = Listing::Nothing;
  QGroupBox* kindFrame_;    // Frame1
  QRadioButton* preset_;    // OptPreset
  QRadioButton* user_;      // OptUser
  QGroupBox* bankFrame_;    // Frame2
  QRadioButton* bank1_;     // OptBank1
  QRadioButton* bank2_;     // OptBank2
  QComboBox* programs_;     // CmbPrgm
  QPushButton* performance_;  // CmdPrfm
  std::array<QPushButton*, 4> layerButtons_{};  // CmdLyr1..4
  std::array<QLineEdit*, 4> layerNames_{};      // TxtLyr1..4
};

}  // namespace qv
