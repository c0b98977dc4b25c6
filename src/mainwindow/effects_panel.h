#pragma once
// The effects panel: edits the effect block (Com2) of the current performance
// live. Reverb, chorus and variation type, three effect sends, a bypass of all
// effects and a reset to the settings the performance had when the panel was
// last filled. Every change goes to the instrument at once.

#include <QTabWidget>
#include <array>
#include <vector>

#include "instrument/bytes.h"
#include "instrument/data_model.h"
#include "instrument/tables.h"
#include "link/midi_link.h"
#include "mainwindow/editor_signals.h"
#include "mainwindow/release_slider.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// What the panel needs of the main window.
class EffectsHost {
 public:
  virtual ~EffectsHost() = default;
  virtual void StopAudition() = 0;
};

class EffectsPanel : public QTabWidget {
  Q_OBJECT
 public:
  EffectsPanel(DataModel& model, MidiLink& link, EffectsHost& host, QWidget* parent = nullptr);

  // Empties the three type lists and fills them from the tables; no row is
  // selected and nothing is sent.
  void LoadEffectLists();
  // Shows the panel and fills it from Com2 (types, sends), then takes EffOrig.
  // Sends nothing.
  void EditEffcts();
  // Acts on the editor's notices: opens when asked, fills again after a
  // performance was chosen while it is shown, closes, ends a bypass.
  void Listen(const EditorSignals& notices);
  // The instrument took a whole performance: Bypass shows unchecked and the
  // type lists work again. Nothing is sent.
  void EndBypass();

  // One effect-type list: its rows are the rows of its table.
  struct TypeList {
    QComboBox* list = nullptr;
    const std::vector<EffType>& (*table)() = nullptr;
    int msbByte = 0;          // Com2 index of the type MSB; the LSB follows
    Byte address = 0;     // a3 of 60 00 a3
    bool echo = false;        // a change of row whose "activated" is still to come
  };
  // One effect send: slider, read-out and label.
  struct SendRow {
    ReleaseSlider* slider = nullptr;
    QLineEdit* readout = nullptr;
    QLabel* label = nullptr;
    int byte = 0;             // Com2 index
    Byte address = 0;     // a3 of 60 00 a3
  };

  // Handlers.
  void TypeList_Click(TypeList& type);  // CmbRvrb_Click, CmbChrs_Click, CmbVar_Click
  void SendRow_Release(SendRow& send);  // SldEffSndCtoR_Release and its twins
  void SendRow_Update(SendRow& send);   // SldEffSndCtoR_Update and its twins
  void ChkEffByPass_Click();
  void CmdEffReset_Click();
  void CmdEffDn1_Click();

  std::array<TypeList, 3> types;  // reverb, chorus, variation
  std::array<SendRow, 3> sends;   // chorus to reverb, variation to reverb, variation to chorus

  QComboBox* CmbRvrb = nullptr;
  QComboBox* CmbChrs = nullptr;
  QComboBox* CmbVar = nullptr;
  ReleaseSlider* SldEffSndCtoR = nullptr;
  ReleaseSlider* SldEffVarRvbSnd = nullptr;
  ReleaseSlider* SldEffVarChrSnd = nullptr;
  QLineEdit* Text30 = nullptr;
  QLineEdit* Text31 = nullptr;
  QLineEdit* Text32 = nullptr;
  QCheckBox* ChkEffByPass = nullptr;
  QPushButton* CmdEffReset = nullptr;
  QPushButton* CmdEffDn1 = nullptr;

 private:
  void BuildControls();
  void SetListsEnabled(bool enabled);
  // Com2 := source, TxBuf := the same, and the block leaves whole.
  void RestoreAndSendBlock(const std::array<Byte, 35>& source);

  DataModel& model_;
  MidiLink& link_;
  EffectsHost& host_;
};

}  // namespace qv
