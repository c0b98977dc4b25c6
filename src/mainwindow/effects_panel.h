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
#include "mainwindow/slider_row.h"

class QCheckBox;
class QComboBox;
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
  void TypeList_Click(Effect effect);   // CmbRvrb_Click, CmbChrs_Click, CmbVar_Click
  void SendRow_Release(EffectSend send);  // SldEffSndCtoR_Release and its twins; also a step by a key or the wheel
  void ChkEffByPass_Click();
  void CmdEffReset_Click();
  void CmdEffDn1_Click();

 private:
  void BuildControls();
  // Shows the panel filled from Com2: types, sends and the bypass. Sends nothing.
  void EditEffcts();
  void ShowBypass();

  Session& session_;
  const EditorState& state_;
  // By effect and by send: CmbRvrb, CmbChrs, CmbVar; SldEffSndCtoR,
  // SldEffVarRvbSnd, SldEffVarChrSnd with their read-outs Text30 .. Text32.
  std::array<QComboBox*, kEffectTypeCount> typeLists_{};
  std::array<SliderRow*, kEffectSendCount> sends_{};
  QCheckBox* bypass_ = nullptr;       // ChkEffByPass
  QPushButton* reset_ = nullptr;      // CmdEffReset
  QPushButton* done_ = nullptr;       // CmdEffDn1
};

}  // namespace qv
