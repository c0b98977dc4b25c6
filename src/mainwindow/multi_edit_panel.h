#pragma once
// The multi edit panel: three pages of sliders and switches that edit one
// multi part (M5..M16) at a time. Every edit is written into the part's
// stored messages and sent to the instrument at once; the part's name is its
// caption in the editor state.

#include <array>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include <QTabWidget>

#include "editor/session.h"
#include "mainwindow/editor_signals.h"
#include "mainwindow/multi_sliders.h"
#include "mainwindow/release_slider.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

// One slider of the panel with its label and read-out box.
struct MultiSliderControl {
  const MultiSliderDef* def = nullptr;
  ReleaseSlider* slider = nullptr;
  QLineEdit* readout = nullptr;
  QLabel* label = nullptr;  // element of the Labelx1 array
};

// A decimal number as typed into a voice box, cut toward minus infinity to a
// whole number; nothing when the text is not a number or lies outside 0..127.
std::optional<int> VoiceNumber(const QString& text);

class MultiEditPanel : public QTabWidget {
  Q_OBJECT
 public:
  MultiEditPanel(Session& session, QWidget* parent = nullptr);

  // Opens the panel on part index 4..15 (M5..M16); other values do nothing.
  void EditMult(int part);
  // Fills the panel from the stored messages of the edited part.
  void ShowMultEdit();
  // Acts on the editor's notices: opens on a part asked for (again while
  // shown, for a part auditioned or changed), fills again, closes.
  void Listen(const EditorSignals& notices);
  // The name box takes the edited part's caption: `evenIfHidden`, or only
  // while the panel is shown.
  void ShowEditedName(bool evenIfHidden);

  // Handlers, also callable as procedures.
  void SliderRelease(int row);  // the release of slider `row` of the table
  void SliderUpdate(int row);   // its move: the read-out follows the position
  void ChckPort_Click();
  void Option1_Click();
  void Option2_Click();
  void ApplyPartMode();  // the click of an Option3 button
  void CmdVocChng_Click();
  void TxtName1_Change();
  void CmdDone1_Click();
  void CmdDone2_Click(int index);

  // The controls, named as their object names.
  std::array<MultiSliderControl, kMultiSliderCount> Sliders;
  ReleaseSlider* Slider(const char* name) const;  // nullptr for an unknown name
  QLineEdit* Readout(const char* name) const;     // by the slider's name
  QLabel* Labelx1(int index) const;               // nullptr outside 0..31

  QLabel* Label18 = nullptr;
  QLineEdit* TxtMsb = nullptr;
  QLineEdit* TxtLsb = nullptr;
  QLineEdit* TxtPrg = nullptr;
  QPushButton* CmdVocChng = nullptr;
  QLineEdit* TxtName1 = nullptr;
  QPushButton* CmdDone1 = nullptr;
  QCheckBox* ChckPort = nullptr;
  std::array<QLabel*, 2> Label34{};
  std::array<QPushButton*, 2> CmdDone2{};
  QGroupBox* Frame3 = nullptr;
  QGroupBox* Frame4 = nullptr;
  QGroupBox* Frame5 = nullptr;
  std::array<QRadioButton*, 3> Option1{};
  std::array<QRadioButton*, 2> Option2{};
  std::array<QRadioButton*, 4> Option3{};

 private:
  // An option group and the switch of the part it shows.
  struct OptionGroup {
    QButtonGroup* buttons;
    EditSwitch which;
  };

  void BuildPages();
  void BuildSliders(const std::array<QWidget*, 3>& pages);
  QGroupBox* BuildOptionFrame(QWidget* parent, const char* name, const char* title, const char* buttonName,
                              const std::initializer_list<const char*>& captions, QRadioButton** into,
                              OptionGroup& group);
  void LoadSlider(MultiSliderControl& control);
  // The switches as the state says they show.
  void ShowSwitches();
  void OptionClicked(const OptionGroup& group);
  QString PartCaption(int part) const;
  void SetNameText(const QString& text);
  void SetVariationSendEnabled(bool enabled);
  QGroupBox* SliderGroup(const char* title) const;

  Session& session_;
  DataModel& model_;
  MidiLink& link_;
  std::array<OptionGroup, 3> options_{};  // Option1, Option2, Option3
  std::vector<std::pair<QString, QGroupBox*>> groups_;  // slider groups by caption
};

}  // namespace qv
