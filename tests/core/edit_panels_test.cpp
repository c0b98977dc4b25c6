// The edit panels' procedures: the effect block's types, sends, bypass and
// reset, the multi part parameters, switches and name, and the sends that
// follow from an edit panel's being shown.

#include <gtest/gtest.h>

#include <algorithm>

#include "instrument/messages.h"
#include "instrument/multi_params.h"
#include "instrument/tables.h"
#include "sample_effects.h"
#include "session_rig.h"

namespace qv {
namespace {

using test::SessionRig;
using Texts = std::vector<std::string>;

using test::Head;
using test::SampleCom2;
Bytes WithoutChecksum(Bytes m) {
  if (m.size() == 34) m[32] = 0;
  return m;
}
bool ChecksumRight(const Bytes& m) {  // count, address, data and checksum: a multiple of 128
  int sum = 0;
  for (std::size_t i = 4; i + 1 < m.size(); ++i) sum += m[i];
  return m.size() == 34 && m.front() == 0xF0 && m.back() == 0xF7 && sum % 128 == 0;
}

struct EditRig : SessionRig {
  explicit EditRig(const Bytes& com2 = SampleCom2()) {
    Silence();
    SetCom2(com2);
  }
  void SetCom2(const Bytes& m) { std::copy(m.begin(), m.end(), model.Performance.Com2.begin()); }
  Texts Take() {
    Texts out;
    for (const Bytes& m : Sent()) out.push_back(HexString(m));
    backend.ClearRecords();
    return out;
  }
  std::vector<Bytes> TakeBytes() {
    std::vector<Bytes> out = Sent();
    backend.ClearRecords();
    return out;
  }
  Byte& Stored(int byte, int block, int part) { return model.PartBlk.At(byte, block, part); }
  void StoreSwitches(int part, Byte port, Byte keyAssign, Byte monoPoly, Byte partMode) {
    Stored(64, 1, part) = port;
    Stored(15, 0, part) = keyAssign;
    Stored(14, 0, part) = monoPoly;
    Stored(16, 0, part) = partMode;
  }
};

// ---- The effects panel -------------------------------------------------------------

TEST(EffectsEdits, OpeningTakesTheOriginalAndSendsNothing) {
  EditRig rig;
  rig.session.OpenEffectsPanel();
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_TRUE(rig.state.EffectsShown && !rig.state.Busy());
  EXPECT_EQ(rig.model.Performance.EffOrig, rig.model.Performance.Com2);
  EXPECT_EQ(Head(rig.model.Performance.Com2), SampleCom2());
  EXPECT_EQ(rig.view.calls.back(), "ShowEffectsPanel");
  rig.session.HideEffectsPanel();
  EXPECT_FALSE(rig.state.EffectsShown);

  rig.model.Busy = true;  // another piece of work holds Busy: opening leaves it set
  rig.session.OpenEffectsPanel();
  EXPECT_TRUE(rig.state.Busy());
}

TEST(EffectsEdits, ChoosingATypeStoresAndSendsOnce) {
  EditRig rig;
  rig.session.OpenEffectsPanel();
  rig.session.SetEffectType(Effect::kReverb, 2);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 40 01 01 F7"});
  EXPECT_EQ(rig.model.Performance.Com2[9] * 256 + rig.model.Performance.Com2[10], 0x0101);
  rig.session.SetEffectType(Effect::kChorus, 14);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 42 48 00 F7"});
  rig.session.SetEffectType(Effect::kVariation, 43);  // the row already stored is sent again
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 44 48 08 F7"});

  rig.model.Busy = true;  // while filling: neither stored nor sent
  rig.session.SetEffectType(Effect::kVariation, 63);
  rig.session.SetEffectType(Effect::kReverb, 4);
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.model.Performance.Com2[13], Byte{0x48});
  rig.model.Busy = false;
  rig.session.SetEffectType(Effect::kReverb, 13);  // no such row
  rig.session.SetEffectType(static_cast<Effect>(3), 0);  // no such list
  EXPECT_TRUE(rig.Take().empty());
}

// The touch wah rows send the types their names say, as XG has them.
TEST(EffectsEdits, TouchWahRowsSendTheTypeTheirNamesSay) {
  EditRig rig;
  rig.session.OpenEffectsPanel();
  const struct {
    int row;
    const char* name;
    const char* sent;
  } rows[] = {{53, "TOUCH WAH 1", "F0 43 10 63 60 00 44 52 00 F7"},
              {54, "TOUCH WAH 2", "F0 43 10 63 60 00 44 52 08 F7"},
              {55, "TOUCH WAH+DIST", "F0 43 10 63 60 00 44 52 01 F7"},
              {56, "TOUCH WAH+ODRV", "F0 43 10 63 60 00 44 52 02 F7"}};
  for (const auto& r : rows) {
    std::string name = VarTypes()[static_cast<std::size_t>(r.row)].Name;
    name.erase(name.find_last_not_of(' ') + 1);
    EXPECT_EQ(name, r.name);
    rig.session.SetEffectType(Effect::kVariation, r.row);
    EXPECT_EQ(rig.Take(), Texts{r.sent}) << r.name;
  }
}

TEST(EffectsEdits, SendLevelStoresAndSendsAlsoWhileBusy) {
  EditRig rig;
  rig.session.SetEffectSend(EffectSend::kVariationToReverb, 64);
  EXPECT_EQ(rig.model.Performance.Com2[30], Byte{64});
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 55 40 F7"});
  rig.model.Busy = true;  // a send level does not look at Busy
  rig.session.SetEffectSend(EffectSend::kVariationToChorus, 30);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 56 1E F7"});
  rig.session.SetEffectSend(EffectSend::kChorusToReverb, 200);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 54 7F F7"});
}

TEST(EffectsEdits, BypassAndRestore) {
  EditRig rig;
  rig.session.OpenEffectsPanel();
  rig.session.SetEffectType(Effect::kReverb, 2);  // made before the bypass: part of the restored block
  const Bytes before = Head(rig.model.Performance.Com2);
  rig.Take();

  rig.session.SetEffectsBypass(true);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 63 60 00 40 00 00 F7 F0 43 10 63 60 00 42 00 00 F7 "
                              "F0 43 10 63 60 00 44 40 00 F7"});
  EXPECT_TRUE(rig.state.EffectsBypassed);
  EXPECT_EQ(Head(rig.model.Performance.Com2), before);
  EXPECT_EQ(Head(rig.model.Performance.EffSave), before);

  rig.session.SetEffectSend(EffectSend::kVariationToChorus, 99);  // a level changed while bypassed is replaced
  rig.Take();
  rig.session.SetEffectsBypass(false);
  const std::vector<Bytes> sent = rig.TakeBytes();
  ASSERT_EQ(sent.size(), std::size_t{1});
  EXPECT_TRUE(ChecksumRight(sent[0]));
  EXPECT_EQ(WithoutChecksum(sent[0]), WithoutChecksum(before));
  EXPECT_EQ(WithoutChecksum(Head(rig.model.Performance.Com2)), WithoutChecksum(before));
  EXPECT_EQ(sent[0].size(), std::size_t{34});
  EXPECT_FALSE(rig.state.EffectsBypassed);
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(EffectsEdits, RestoredBlockReachesTheInstrument) {
  SessionRig rig;
  test::Cs2xEmulator& cs = rig.instrument;
  const Byte types[] = {0x03, 0x00, 0x41, 0x00, 0x49, 0x00};  // STAGE 1, CHORUS 1, DISTORTION
  for (Byte k = 0; k < 6; ++k) cs.SetParam(kModelCs, 0x60, 0x00, static_cast<Byte>(0x40 + k), types[k]);
  const Bytes dump = cs.BulkDump(kModelCs, 0x60, 0x00, 0x40);
  std::copy(dump.begin(), dump.end(), rig.model.Performance.Com2.begin());
  rig.session.OpenEffectsPanel();
  rig.session.SetEffectsBypass(true);
  cs.WaitIdle();
  EXPECT_EQ(cs.Param(kModelCs, 0x60, 0x00, 0x44), Byte{0x40});
  rig.session.SetEffectsBypass(false);
  cs.WaitIdle();  // accepted only with the right checksum
  for (Byte k = 0; k < 6; ++k) EXPECT_EQ(cs.Param(kModelCs, 0x60, 0x00, static_cast<Byte>(0x40 + k)), types[k]);
}

TEST(EffectsEdits, ResetWhileBypassedSendsSavedThenOriginal) {
  EditRig rig;
  rig.session.OpenEffectsPanel();
  const Bytes orig = Head(rig.model.Performance.Com2);
  rig.session.SetEffectType(Effect::kReverb, 2);
  rig.session.SetEffectType(Effect::kVariation, 63);
  const Bytes saved = Head(rig.model.Performance.Com2);
  rig.session.SetEffectsBypass(true);
  rig.Take();

  rig.session.ResetEffects();
  const std::vector<Bytes> sent = rig.TakeBytes();
  ASSERT_EQ(sent.size(), std::size_t{2});
  EXPECT_TRUE(ChecksumRight(sent[0]));
  EXPECT_EQ(WithoutChecksum(sent[0]), WithoutChecksum(saved));
  EXPECT_EQ(sent[1], orig);
  EXPECT_FALSE(rig.state.EffectsBypassed);
  EXPECT_EQ(Head(rig.model.Performance.Com2), orig);
  EXPECT_EQ(rig.model.Performance.EffOrig, rig.model.Performance.Com2);
  EXPECT_EQ(rig.view.calls.back(), "ShowEffectsPanel");  // filled again

  rig.session.SetEffectType(Effect::kReverb, 1);  // not bypassed: the original block only
  rig.Take();
  rig.session.ResetEffects();
  EXPECT_EQ(rig.TakeBytes(), std::vector<Bytes>{orig});
  EXPECT_EQ(rig.view.calls.back(), "ShowEffectsPanel");  // filled again with the original rows
  EXPECT_EQ(rig.model.Performance.EffOrig, rig.model.Performance.Com2);
}

TEST(EffectsEdits, BlockNeverReceivedIsNotSent) {
  EditRig rig;
  rig.model.Performance.Com2.fill(0);
  rig.session.OpenEffectsPanel();
  rig.session.ResetEffects();
  rig.session.SetEffectsBypass(true);
  rig.Take();
  rig.session.SetEffectsBypass(false);
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_FALSE(rig.state.EffectsBypassed);
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(EffectsEdits, HidingKeepsTheBypassAndAPerformanceChoiceRefillsOnlyAShownPanel) {
  EditRig rig;
  rig.session.OpenEffectsPanel();
  rig.session.SetEffectsBypass(true);
  rig.Take();
  rig.session.HideEffectsPanel();
  EXPECT_TRUE(rig.state.EffectsBypassed);
  EXPECT_TRUE(rig.Take().empty());

  // Hidden: EffOrig stays as the last filling took it.
  const auto orig = rig.model.Performance.EffOrig;
  rig.session.SelectPerformance(false, false, 3);
  EXPECT_EQ(rig.model.Performance.EffOrig, orig);
  rig.session.OpenEffectsPanel();
  rig.model.Performance.Com2[29] = 77;
  rig.session.SelectPerformance(false, false, 3);  // silent instrument: Com2 kept
  EXPECT_EQ(rig.model.Performance.EffOrig[29], Byte{77});
  EXPECT_EQ(rig.view.calls.back(), "PerformanceSelected");

  rig.session.EndEffectsBypass();  // a whole performance went out
  EXPECT_FALSE(rig.state.EffectsBypassed);
  EXPECT_EQ(rig.view.calls.back(), "EffectsBypassEnded");
}

// ---- The multi edit panel ----------------------------------------------------------

PartParam ParamOfAddress(Byte a3) {
  for (int i = 0; i < kMultiParamCount; ++i)
    if (ParamOf(static_cast<PartParam>(i)).a3 == a3) return static_cast<PartParam>(i);
  return PartParam::kCount;
}

TEST(MultiEdits, EachKindStoresSendsAndLoadsBack) {
  const struct {
    Byte a3;
    int position;
    const char* message;
  } cases[] = {
      {0x72, -12, "F0 43 10 4C 08 05 72 00 F7"}, {0x72, 0, "F0 43 10 4C 08 05 72 40 F7"},
      {0x72, 12, "F0 43 10 4C 08 05 72 7F F7"},  {0x20, -64, "F0 43 10 4C 0A 05 20 00 F7"},
      {0x20, 0, "F0 43 10 4C 0A 05 20 40 F7"},   {0x20, 63, "F0 43 10 4C 0A 05 20 7F F7"},
      {0x0E, 0, "F0 43 10 4C 08 05 0E 00 F7"},   {0x0E, 64, "F0 43 10 4C 08 05 0E 40 F7"},
      {0x0E, 127, "F0 43 10 4C 08 05 0E 7F F7"}, {0x09, -128, "F0 43 10 4C 08 05 09 00 00 F7"},
      {0x09, 0, "F0 43 10 4C 08 05 09 08 00 F7"}, {0x09, 127, "F0 43 10 4C 08 05 09 0F 0F F7"},
  };
  for (const auto& c : cases) {
    EditRig rig;
    rig.session.EditMult(5);
    rig.Take();
    const MultiParam& param = ParamOf(ParamOfAddress(c.a3));
    rig.session.SetMultiParam(param.id, c.position);
    EXPECT_EQ(rig.Take(), Texts{c.message}) << c.message;
    const Bytes data = ParseHex(c.message);
    const std::size_t count = data.size() - 8;  // one or two data bytes
    for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(rig.Stored(param.byte + int(i), param.block, 5), data[7 + i]);
    // The written byte loads back to the same position.
    const Byte second = count == 2 ? rig.Stored(param.byte + 1, param.block, 5) : Byte{0};
    EXPECT_EQ(PositionFromByte(param.kind, rig.Stored(param.byte, param.block, 5), second), c.position) << c.message;
  }
}

TEST(MultiEdits, NoteShiftAndVelocityLimitsSendOnlyWhatXgAccepts) {
  EditRig rig;
  rig.session.EditMult(6);
  rig.Take();
  const PartParam shift = ParamOfAddress(0x08), low = ParamOfAddress(0x6D), high = ParamOfAddress(0x6E);
  const auto range = [](PartParam param) {
    const MultiParam& p = ParamOf(param);
    return std::make_pair(p.minimum, p.maximum);
  };
  EXPECT_EQ(range(shift), std::make_pair(40, 88));  // -24 .. +24 semitones
  for (PartParam param : {low, high}) EXPECT_EQ(range(param), std::make_pair(1, 127));
  const struct {
    PartParam param;
    int position;
    const char* sent;
  } ends[] = {{shift, 40, "F0 43 10 4C 08 06 08 28 F7"}, {shift, 88, "F0 43 10 4C 08 06 08 58 F7"},
              {low, 1, "F0 43 10 4C 08 06 6D 01 F7"},    {high, 1, "F0 43 10 4C 08 06 6E 01 F7"},
              {high, 127, "F0 43 10 4C 08 06 6E 7F F7"}};
  for (const auto& e : ends) {
    rig.session.SetMultiParam(e.param, e.position);
    EXPECT_EQ(rig.Take(), Texts{e.sent});
  }
}

TEST(MultiEdits, GainByteWithNoPositionLoadsNearAndIsRewritten) {
  EditRig rig;
  rig.Stored(11, 2, 4) = 52;
  EXPECT_EQ(PositionFromByte(SliderKind::Gain, 52), -3);
  rig.session.EditMult(4);
  rig.Take();
  rig.session.SetMultiParam(PartParam::kEqBassGain, -3);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 4C 08 04 72 30 F7"});
  EXPECT_EQ(rig.Stored(11, 2, 4), Byte{48});
}

TEST(MultiEdits, EveryTableRowWritesItsOwnByteAtItsAddress) {
  EditRig rig;
  rig.session.SetMultiParam(PartParam::kEqBassGain, 0);  // before the panel was opened: nothing
  EXPECT_TRUE(rig.Take().empty());
  rig.session.EditMult(4);
  rig.Take();
  for (int row = 0; row < kMultiParamCount; ++row) {
    const MultiParam& d = ParamOf(static_cast<PartParam>(row));
    const Address start = MultiBlockAddress(d.block, 4);
    const int width = d.kind == SliderKind::Detune ? 2 : 1;
    EXPECT_TRUE(d.a1 == start.a1 && d.byte == 9 + d.a3 - start.a3) << row;
    EXPECT_LE(d.byte + width, BlkLen(d.block) - 2) << row;  // before checksum and F7

    const DataModel before = rig.model;
    rig.session.SetMultiParam(d.id, d.maximum);
    const Bytes data = ByteFromPosition(d.kind, d.maximum);
    const std::vector<Bytes> sent = rig.TakeBytes();
    ASSERT_EQ(sent.size(), 1u) << row;
    EXPECT_TRUE(sent[0].size() == std::size_t(8 + width) && sent[0][4] == d.a1 && sent[0][5] == 4 && sent[0][6] == d.a3)
        << row;
    for (int block = 0; block < kMultiBlocks; ++block)
      for (int i = 0; i < BlkLen(block); ++i) {
        const bool mine = block == d.block && i >= d.byte && i < d.byte + width;
        EXPECT_EQ(rig.Stored(i, block, 4), mine ? data[i - d.byte] : before.PartBlk.At(i, block, 4)) << row;
      }
  }
}

TEST(MultiEdits, OpeningSendsOnlyChangedSwitchesInOrder) {
  EditRig rig;
  rig.session.EditMult(4);  // all switch bytes 0
  rig.Take();
  rig.StoreSwitches(5, 1, 2, 1, 3);
  rig.session.EditMult(5);
  EXPECT_EQ(rig.Take(), (Texts{"F0 43 10 4C 08 05 67 01 F7", "F0 43 10 4C 08 05 06 02 F7",
                               "F0 43 10 4C 08 05 05 01 F7", "F0 43 10 4C 08 05 07 03 F7"}));
  rig.StoreSwitches(6, 1, 2, 0, 3);  // only Mono/Poly differs from part 5
  rig.session.EditMult(6);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 4C 08 06 05 00 F7"});
  rig.session.EditMult(6);
  EXPECT_TRUE(rig.Take().empty());

  // Bytes that name no state show none, send nothing and stay stored.
  rig.StoreSwitches(7, 5, 9, 0, 0);
  rig.session.EditMult(7);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 4C 08 07 07 00 F7"});
  EXPECT_EQ(rig.state.ShownSwitches[kSwPortamento], 0);
  EXPECT_EQ(rig.state.ShownSwitches[kSwKeyAssign], kNoSwitchState);
  EXPECT_EQ(rig.Stored(64, 1, 7), Byte{5});
  EXPECT_EQ(rig.Stored(15, 0, 7), Byte{9});
  rig.session.EditMult(5);
  EXPECT_EQ(rig.Take(), (Texts{"F0 43 10 4C 08 05 67 01 F7", "F0 43 10 4C 08 05 06 02 F7",
                               "F0 43 10 4C 08 05 05 01 F7", "F0 43 10 4C 08 05 07 03 F7"}));
}

TEST(MultiEdits, ASwitchStoresForTheEditedPartOnly) {
  EditRig rig;
  rig.session.EditMult(9);
  rig.Take();
  rig.session.SetEditSwitch(kSwPartMode, 2);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 4C 08 09 07 02 F7"});
  EXPECT_EQ(rig.Stored(16, 0, 9), Byte{2});
  EXPECT_EQ(rig.Stored(16, 0, 8), Byte{0});
  rig.session.SetEditSwitch(kSwPortamento, 1);
  EXPECT_EQ(rig.Take(), Texts{"F0 43 10 4C 08 09 67 01 F7"});
  EXPECT_EQ(rig.Stored(64, 1, 9), Byte{1});
}

TEST(MultiEdits, TheNameRuleWritesTheCaption) {
  EditRig rig;
  rig.session.SetEditedName("ignored before opening");
  EXPECT_EQ(rig.state.Caption(4), "Multi Part M5");
  rig.session.EditMult(4);
  EXPECT_EQ(rig.state.Caption(4), "Multi Part M5");
  rig.session.SetEditedName("");
  EXPECT_EQ(rig.state.Caption(4), "           M5");
  rig.session.SetEditedName("Bass");
  EXPECT_EQ(rig.state.Caption(4), "Bass       M5");
  rig.session.SetEditedName("ABCDEFGHIJKLMN");
  EXPECT_EQ(rig.state.Caption(4), "ABCDEFGHIJ M5");
  rig.state.Caption(15) = "odd";  // a caption not yet in the form
  rig.session.EditMult(15);
  EXPECT_EQ(rig.state.Caption(15), "odd        M16");
  EXPECT_EQ(rig.state.Caption(4), "ABCDEFGHIJ M5");
  EXPECT_EQ(rig.state.EditPart(), 15);
  rig.session.HideMultiEditPanel();
  EXPECT_FALSE(rig.state.MultiEditShown);
  EXPECT_EQ(rig.state.EditPart(), 15);
}

// An auditioned part moves the panel, with its switch sends, only while the
// panel is shown.
TEST(MultiEdits, AnAuditionedPartIsEditedOnlyWhileThePanelIsShown) {
  EditRig rig;
  rig.session.SetNoteRow(60);
  rig.session.SetVelocityRow(100);
  rig.StoreSwitches(7, 1, 1, 1, 0);
  rig.session.EditMult(4);
  rig.session.HideMultiEditPanel();
  rig.Take();
  rig.session.AuditionPart(7, true);
  EXPECT_EQ(rig.state.EditPart(), 4);
  EXPECT_EQ(rig.Take().size(), 1u);  // the note only
  rig.session.EditMult(4);
  rig.Take();
  rig.session.AuditionPart(7, true);
  EXPECT_EQ(rig.state.EditPart(), 7);
  const Texts sent = rig.Take();
  ASSERT_EQ(sent.size(), 4u);  // the switches that changed, then the note
  EXPECT_EQ(Texts(sent.begin(), sent.begin() + 3),
            (Texts{"F0 43 10 4C 08 07 67 01 F7", "F0 43 10 4C 08 07 06 01 F7", "F0 43 10 4C 08 07 05 01 F7"}));
}

}  // namespace
}  // namespace qv
