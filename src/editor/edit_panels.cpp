// The edit panels' procedures: the multi edit panel's sliders, switches,
// voice and name, the effects panel's types, sends, bypass and reset, and
// the work that an edit panel's being shown calls for. Every edit is stored
// in the instrument data and sent at once.

#include <algorithm>

#include "editor/session.h"
#include "instrument/performance_blocks.h"
#include "instrument/messages.h"
#include "instrument/multi_params.h"

namespace qv {

namespace {

// What a switch shows for a stored value: the value when it names a state;
// else the portamento box shows "off" and an option group selects no button.
int ShownState(const SwitchParam& sw, int value) {
  if (value >= 0 && value < sw.states) return value;
  return sw.id == kSwPortamento ? 0 : kNoSwitchState;
}

}  // namespace

void Session::SetEditPart(int part) {
  if (IsMultiPart(part)) model_.EditPart = part;
}

void Session::ShowEditSwitches() {
  const int part = model_.EditPart;
  if (!IsMultiPart(part)) return;
  for (int which = 0; which < kEditSwitches; ++which) {
    const SwitchParam& sw = ParamOf(static_cast<EditSwitch>(which));
    const int value = model_.PartBlk.At(sw.byte, sw.block, part);
    int& shown = state_.ShownSwitches[IndexOf(sw.id)];
    const bool names = value < sw.states;
    const int now = ShownState(sw, value);
    const bool changed = now != shown;
    shown = now;
    if (names && changed) SetEditSwitch(sw.id, value);
  }
}

void Session::SetEditSwitch(EditSwitch which, int value) {
  if (which < 0 || which >= kEditSwitches) return;
  const SwitchParam& sw = ParamOf(which);
  state_.ShownSwitches[IndexOf(which)] = ShownState(sw, value);
  const int part = model_.EditPart;
  if (!IsMultiPart(part) || value < 0 || value > 127) return;
  model_.PartBlk.At(sw.byte, sw.block, part) = static_cast<Byte>(value);
  link_.SendSysEx(XgParmChange(0x08, static_cast<Byte>(part), sw.a3, static_cast<Byte>(value)));
}

void Session::SetVoice(int part, int msb, int lsb, int prg) {
  const auto inRange = [](int v) { return v >= 0 && v <= 127; };
  if (!IsMultiPart(part) || !inRange(msb) || !inRange(lsb) || !inRange(prg)) return;
  model_.PartBlk.At(kVoiceMsbByte, kVoiceBlock, part) = static_cast<Byte>(msb);
  model_.PartBlk.At(kVoiceLsbByte, kVoiceBlock, part) = static_cast<Byte>(lsb);
  model_.PartBlk.At(kVoicePrgByte, kVoiceBlock, part) = static_cast<Byte>(prg);
  const Byte pp = static_cast<Byte>(part);
  Bytes message = XgParmChange(0x08, pp, 0x01, static_cast<Byte>(msb));
  Append(message, XgParmChange(0x08, pp, 0x02, static_cast<Byte>(lsb)));
  Append(message, XgParmChange(0x08, pp, 0x03, static_cast<Byte>(prg)));
  link_.SendSysEx(message);
}

// ---- The multi edit panel ------------------------------------------------------

void Session::EditMult(int part) {
  if (!IsMultiPart(part)) return;
  SetEditPart(part);
  TakeEditedCaption();
  ShowEditSwitches();
  state_.MultiEditShown = true;
  view_.ShowMultiEditPanel(part);
}

void Session::HideMultiEditPanel() {
  state_.MultiEditShown = false;
  view_.HideMultiEditPanel();
}

// The name box shows the edited part's caption, and the caption is what the
// box then holds by the name rule.
void Session::TakeEditedCaption() {
  const int part = model_.EditPart;
  if (IsMultiPart(part)) SetPartCaption(part, PartCaptionFor(state_.Caption(part), part));
}

void Session::SetEditedName(const std::string& name) {
  const int part = model_.EditPart;
  if (IsMultiPart(part)) SetPartCaption(part, PartCaptionFor(name, part));
}

// A part that changed or was auditioned: the panel, when shown, opens on it.
void Session::ShowPartIfEditing(int part) {
  view_.ShowPartIfEditing(part);
  if (state_.MultiEditShown) EditMult(part);
}

void Session::EditedNameChanged(bool evenIfHidden) {
  if (evenIfHidden || state_.MultiEditShown) TakeEditedCaption();
  view_.EditedNameChanged(evenIfHidden);
}

// The panel fills again from the edited part, also while it is hidden.
void Session::RefillEditPanel() {
  if (IsMultiPart(model_.EditPart)) {
    ShowEditSwitches();
    TakeEditedCaption();
  }
  view_.RefillEditPanel();
}

void Session::SetMultiParam(PartParam which, int position) {
  const int part = model_.EditPart;
  if (IndexOf(which) >= kMultiParamCount || !IsMultiPart(part)) return;
  const MultiParam& param = ParamOf(which);
  const Bytes data = ByteFromPosition(param.kind, std::clamp(position, param.minimum, param.maximum));
  for (std::size_t i = 0; i < data.size(); ++i)
    model_.PartBlk.At(param.byte + static_cast<int>(i), param.block, part) = data[i];
  const Byte pp = static_cast<Byte>(part);
  link_.SendSysEx(data.size() == 2 ? XgParmChange(param.a1, pp, param.a3, data[0], data[1])
                                   : XgParmChange(param.a1, pp, param.a3, data[0]));
}

// ---- The effects panel ---------------------------------------------------------

namespace {

// A stored effect block that can go to the instrument: a system-exclusive
// message from F0 at index 0 to F7 at its last index.
bool IsEffectBlock(const std::array<Byte, kEffectBytes>& block) {
  const int len = BlockRow(PerfBlock::kCom2).length;
  return block[0] == 0xF0 && block[static_cast<std::size_t>(len - 1)] == 0xF7;
}

}  // namespace

void Session::OpenEffectsPanel() {
  state_.EffectsShown = true;
  auto& perf = model_.Performance;
  std::copy_n(perf.Com2.begin(), kEffectBytes, perf.EffOrig.begin());
  view_.ShowEffectsPanel();
}

void Session::HideEffectsPanel() {
  state_.EffectsShown = false;
  view_.HideEffectsPanel();
}

void Session::EndEffectsBypass() {
  state_.EffectsBypassed = false;
  view_.EffectsBypassEnded();
}

// A performance was chosen: the effects panel, when shown, fills again and
// takes EffOrig anew.
void Session::PerformanceSelected() {
  if (state_.EffectsShown) {
    auto& perf = model_.Performance;
    std::copy_n(perf.Com2.begin(), kEffectBytes, perf.EffOrig.begin());
  }
  view_.PerformanceSelected();
}

void Session::SetEffectType(Effect effect, int row) {
  if (model_.Busy || IndexOf(effect) >= kEffectTypeCount) return;
  const EffectTypeParam& param = ParamOf(effect);
  const std::vector<EffType>& table = param.table();
  if (row < 0 || row >= static_cast<int>(table.size())) return;
  const EffType& entry = table[static_cast<std::size_t>(row)];
  const Byte msb = static_cast<Byte>(entry.Msb);
  const Byte lsb = static_cast<Byte>(entry.Lsb);
  model_.Performance.Com2[static_cast<std::size_t>(param.msbByte)] = msb;
  model_.Performance.Com2[static_cast<std::size_t>(param.msbByte + 1)] = lsb;
  link_.SendSysEx(CsParmChange(kEffectA1, kEffectA2, param.address, msb, lsb));
}

// A send level does not look at Busy.
void Session::SetEffectSend(EffectSend send, int level) {
  if (IndexOf(send) >= kEffectSendCount) return;
  const EffectSendParam& param = ParamOf(send);
  const Byte v = static_cast<Byte>(std::clamp(level, 0, 127));
  model_.Performance.Com2[static_cast<std::size_t>(param.byte)] = v;
  link_.SendSysEx(CsParmChange(kEffectA1, kEffectA2, param.address, v));
}

void Session::SetEffectsBypass(bool on) {
  auto& perf = model_.Performance;
  state_.EffectsBypassed = on;
  if (on) {
    std::copy_n(perf.Com2.begin(), kEffectBytes, perf.EffSave.begin());
    // Each effect's bypass type, in one message; Com2 keeps the settings to
    // return to.
    Bytes off;
    for (int i = 0; i < kEffectTypeCount; ++i) {
      const EffectTypeParam& param = ParamOf(static_cast<Effect>(i));
      Append(off, CsParmChange(kEffectA1, kEffectA2, param.address, param.bypassMsb, param.bypassLsb));
    }
    link_.SendSysEx(off);
  } else {
    RestoreEffectBlock(perf.EffSave);
  }
}

void Session::ResetEffects() {
  if (state_.EffectsBypassed) SetEffectsBypass(false);
  RestoreEffectBlock(model_.Performance.EffOrig);
  OpenEffectsPanel();
}

// Com2 := source, and the block leaves whole. A block
// never filled (or loaded damaged) is no message: Com2 keeps its message and
// nothing leaves.
void Session::RestoreEffectBlock(const std::array<Byte, kEffectBytes>& source) {
  // A copy is taken first: source may be the very block it replaces.
  const std::array<Byte, kEffectBytes> block = source;
  if (!IsEffectBlock(block)) return;
  std::copy(block.begin(), block.end(), model_.Performance.Com2.begin());
  link_.SendPerformanceBlock(model_.Performance, PerfBlock::kCom2);
}

}  // namespace qv
