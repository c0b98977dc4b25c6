#pragma once
// The effects panel: shows the effect block (Com2) of the current
// performance and edits it live through the editor: reverb, chorus and
// variation type, three effect sends, a bypass of all effects and a reset to
// the settings the performance had when the panel was last filled.

#include <QTabWidget>
#include <array>

#include "editor/session.h"
#include "instrument/multi_params.h"
#include "mainwindow/editor_signals.h"
#include "mainwindow/release_slider.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class EffectsPanel : public QTabWidget {
  Q_OBJECT
 public:
  explicit EffectsPanel(Session& session, QWidget* parent = nullptr);

  // Empties the three type lists and fills them from the tables; no row is
  // selected and nothing is sent.
  void LoadEffectLists();
  // Acts on the editor's notices: opens and fills, fills again after a
  // performance was chosen while shown, closes, ends a bypass.
  void Listen(const EditorSignals& notices);

  // Handlers of the user's actions.
  void TypeList_Click(int type);     // CmbRvrb_Click, CmbChrs_Click, CmbVar_Click
  void SendRow_Release(int send);    // SldEffSndCtoR_Release and its twins; also a step by a key or the wheel
  void SendRow_Update(int send);     // SldEffSndCtoR_Update and its twins: read-out only
  void ChkEffByPass_Click();
  void CmdEffReset_Click();
  void CmdEffDn1_Click();

 private:
  // One effect send: slider, read-out and label.
  struct SendRow {
    ReleaseSlider* slider = nullptr;  // SldEffSndCtoR, SldEffVarRvbSnd, SldEffVarChrSnd
    QLineEdit* readout = nullptr;     // Text30, Text31, Text32
    QLabel* label = nullptr;
  };

  void BuildControls();
  // Shows the panel filled from Com2: types, sends and the bypass. Sends nothing.
  void EditEffcts();
  void ShowBypass();

  Session& session_;
  const EditorState& state_;
  std::array<QComboBox*, kEffectTypeCount> typeLists_{};  // CmbRvrb, CmbChrs, CmbVar
  std::array<SendRow, kEffectSendCount> sends_{};
  QCheckBox* bypass_ = nullptr;       // ChkEffByPass
  QPushButton* reset_ = nullptr;      // CmdEffReset
  QPushButton* done_ = nullptr;       // CmdEffDn1
};

}  // namespace qv
