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
  explicit MultiEditPanel(Session& session, QWidget* parent = nullptr);

  // Acts on the editor's notices: opens on the part the editor opened it
  // on, fills again, shows the edited name, closes.
  void Listen(const EditorSignals& notices);
  // Fills the panel from the stored messages of the edited part. Sends nothing.
  void ShowMultEdit();

  // Handlers of the user's actions.
  void SliderRelease(int row);  // slider `row` of the table released, or stepped by a key or the wheel
  void SliderUpdate(int row);   // its move: the read-out follows the position
  void ChckPort_Click();
  void Option1_Click();
  void Option2_Click();
  void ApplyPartMode();  // the click of an Option3 button
  void CmdVocChng_Click();
  void TxtName1_Change();
  void CmdDone_Click();  // CmdDone1 and CmdDone2

  // The slider, read-out and label of a table row, by the slider's object
  // name or by row; nullptr for an unknown one.
  ReleaseSlider* Slider(const char* name) const;
  QLineEdit* Readout(const char* name) const;
  QLabel* Labelx1(int index) const;

 private:
  // An option group and the switch of the part it shows.
  struct OptionGroup {
    QButtonGroup* buttons;
    EditSwitch which;
  };

  void BuildPages();
  void BuildVoiceAndName(QWidget* page);
  void BuildSliders(const std::array<QWidget*, 3>& pages);
  QGroupBox* BuildOptionFrame(QWidget* parent, const char* name, const char* title, const char* buttonName,
                              const std::initializer_list<const char*>& captions, OptionGroup& group);
  // Opens on part `part`, as the editor has just opened it.
  void ShowPart(int part);
  void LoadSlider(int row);
  // The switches as the state says they show.
  void ShowSwitches();
  void OptionClicked(const OptionGroup& group);
  // The name box shows the edited part's name, the captions of pages 2 and 3
  // its caption.
  void ShowEditedName();
  void ShowCaptionLabels();
  void SetVariationSendEnabled(bool enabled);
  QGroupBox* SliderGroup(const char* title) const;

  Session& session_;
  const EditorState& state_;
  std::array<MultiSliderControl, kMultiParamCount> sliders_;
  QLineEdit* msb_ = nullptr;             // TxtMsb
  QLineEdit* lsb_ = nullptr;             // TxtLsb
  QLineEdit* prg_ = nullptr;             // TxtPrg
  QPushButton* changeVoice_ = nullptr;   // CmdVocChng
  QLineEdit* name_ = nullptr;            // TxtName1
  QCheckBox* portamento_ = nullptr;      // ChckPort
  std::array<QLabel*, 2> captions_{};    // Label34 of pages 2 and 3
  std::array<OptionGroup, 3> options_{};  // Option1 (Frame3), Option2 (Frame4), Option3 (Frame5)
  std::vector<std::pair<QString, QGroupBox*>> groups_;  // slider groups by caption
};

}  // namespace qv
