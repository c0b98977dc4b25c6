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
#include "mainwindow/slider_row.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

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
  void SliderRelease(PartParam param);  // its slider released, or stepped by a key or the wheel
  void ChckPort_Click();
  void Option1_Click();
  void Option2_Click();
  void ApplyPartMode();  // the click of an Option3 button
  void CmdVocChng_Click();
  void TxtName1_Change();
  void CmdDone_Click();  // CmdDone1 and CmdDone2

  // The slider and read-out by the slider's object name, and the label by
  // its index in the Labelx1 array (the row of MultiSliders()); nullptr for
  // an unknown one.
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
  // The switches as the state says they show.
  void ShowSwitches();
  void OptionClicked(const OptionGroup& group);
  // The name box shows the edited part's name, the captions of pages 2 and 3
  // its caption.
  void ShowEditedName();
  void ShowCaptionLabels();
  // The parameter edited for M5 only: its row enabled or not.
  void EnableFirstPartOnly(bool enabled);
  QGroupBox* SliderGroup(const char* title) const;
  SliderRow* Row(PartParam param) const { return sliders_[IndexOf(param)]; }
  SliderRow* Row(const char* name) const;  // by the slider's object name

  Session& session_;
  const EditorState& state_;
  std::array<SliderRow*, kMultiParamCount> sliders_{};  // by parameter
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
