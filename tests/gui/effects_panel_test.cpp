// The effects panel on real widgets, talking through the MIDI link to a
// recording backend and, where the instrument's view matters, the emulated CS2x.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QtTest>

#include "slider_clicks.h"
#include <memory>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "instrument/messages.h"
#include "mainwindow/effects_panel.h"
#include "scripted_prompts.h"

using namespace qv;
using qv::test::ClickHandle;
using Sent = std::vector<Bytes>;

namespace {

struct NoTrace : TraceSink {
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override {}
};
struct CountingHost : EffectsHost {
  int stops = 0;
  void StopAudition() override { ++stops; }
};

// Reverb ROOM 2 (row 4), chorus ENSEMBLE DETUNE (13), variation PHASER 2
// (43), sends 10, 20, 30.
Bytes SampleCom2() {
  Bytes m = ParseHex("F0 43 00 63 00 17 60 00 40 02 01 57 00 48 08");
  m.resize(34, 0);
  m[29] = 10, m[30] = 20, m[31] = 30, m[33] = 0xF7;
  StoreBulkChecksum(m.data(), m.size());
  return m;
}
Bytes Head(const std::array<Byte, 35>& field) { return Bytes(field.begin(), field.begin() + 34); }
Bytes WithoutChecksum(Bytes m) {
  if (m.size() == 34) m[32] = 0;
  return m;
}
bool ChecksumRight(const Bytes& m) {  // count, address, data and checksum: a multiple of 128
  int sum = 0;
  for (std::size_t i = 4; i + 1 < m.size(); ++i) sum += m[i];
  return m.size() == 34 && m.front() == 0xF0 && m.back() == 0xF7 && sum % 128 == 0;
}

struct Rig {
  test::FakeMidiBackend backend;
  test::ScriptedPrompts prompts;
  test::FastClock clock;
  NoTrace trace;
  DataModel model;
  MidiLink link{backend, prompts, clock, model, trace};
  CountingHost host;
  std::unique_ptr<test::Cs2xEmulator> cs;
  std::unique_ptr<EffectsPanel> panel;

  explicit Rig(bool withInstrument = false) {
    if (withInstrument) cs = std::make_unique<test::Cs2xEmulator>(backend);
    link.OpenOutput();
    SetCom2(SampleCom2());
    panel = std::make_unique<EffectsPanel>(model, link, host);
    panel->resize(640, 320);
    panel->LoadEffectLists();
    backend.ClearRecords();
  }
  void SetCom2(const Bytes& m) { std::copy(m.begin(), m.end(), model.Performance.Com2.begin()); }
  Sent Take() {
    Sent s = backend.Sent();
    backend.ClearRecords();
    return s;
  }
  bool ListsEnabled(bool enabled) const {
    for (QComboBox* c : {panel->CmbRvrb, panel->CmbChrs, panel->CmbVar})
      if (c->isEnabled() != enabled) return false;
    return true;
  }
};


}  // namespace

class EffectsPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void filledListsHaveNoSelection() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    QCOMPARE(p.objectName(), QString("SSTab2"));
    QCOMPARE(p.tabText(0), QString("Effects"));
    QVERIFY(p.isHidden());
    QCOMPARE(p.CmbRvrb->count(), 13);
    QCOMPARE(p.CmbChrs->count(), 15);
    QCOMPARE(p.CmbVar->count(), 64);
    QCOMPARE(p.CmbVar->itemText(10), QString("TUNNNEL").leftJustified(24));
    p.LoadEffectLists();  // again: emptied first
    QCOMPARE(p.CmbVar->count(), 64);
    for (QComboBox* c : {p.CmbRvrb, p.CmbChrs, p.CmbVar}) QCOMPARE(c->currentIndex(), -1);
    QCOMPARE(p.Text30->text() + p.Text31->text() + p.Text32->text(), QString("0400"));
    QVERIFY(rig.Take().empty());
  }

  void openingShowsCom2AndSendsNothing() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    p.EditEffcts();
    QVERIFY(rig.Take().empty());
    QVERIFY(!p.isHidden() && !rig.model.Busy);
    QCOMPARE(p.CmbRvrb->currentIndex(), 4);
    QCOMPARE(p.CmbChrs->currentIndex(), 13);
    QCOMPARE(p.CmbVar->currentIndex(), 43);
    QCOMPARE(p.SldEffSndCtoR->value() + p.SldEffVarRvbSnd->value() * 100 + p.SldEffVarChrSnd->value() * 10000, 302010);
    QCOMPARE(p.Text30->text() + " " + p.Text31->text() + " " + p.Text32->text(), QString("10 20 30"));
    QCOMPARE(rig.model.Performance.EffOrig, rig.model.Performance.Com2);
    QCOMPARE(Head(rig.model.Performance.Com2), SampleCom2());

    rig.model.Busy = true;  // filled while another task holds Busy: left set
    p.EditEffcts();
    QVERIFY(rig.model.Busy);
  }

  void typeMatchingNoRow() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    Bytes odd = SampleCom2();
    odd[9] = odd[10] = 0x7F;         // no reverb type
    odd[13] = 0x40, odd[14] = 0x01;  // no variation type
    rig.SetCom2(odd);
    p.EditEffcts();  // nothing selected before: first rows
    QCOMPARE(p.CmbRvrb->currentIndex(), 0);
    QCOMPARE(p.CmbVar->currentIndex(), 0);
    QCOMPARE(p.CmbChrs->currentIndex(), 13);
    rig.SetCom2(SampleCom2());
    p.EditEffcts();
    rig.SetCom2(odd);
    p.EditEffcts();  // the rows shown last stay
    QCOMPARE(p.CmbRvrb->currentIndex(), 4);
    QCOMPARE(p.CmbVar->currentIndex(), 43);
    QVERIFY(rig.Take().empty());
    QCOMPARE(Head(rig.model.Performance.Com2), odd);
  }

  void choosingTypeSendsOnceAndStores() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    p.EditEffcts();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.CmbRvrb->setCurrentIndex(2);  // by code
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 40 01 01 F7")});
    QCOMPARE(rig.model.Performance.Com2[9] * 256 + rig.model.Performance.Com2[10], 0x0101);

    QTest::qWait(0);
    p.CmbChrs->setFocus();
    QTest::keyClick(p.CmbChrs, Qt::Key_Down);  // by the user: changed and activated, sent once
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 42 48 00 F7")});
    QTest::qWait(0);
    emit p.CmbVar->activated(43);  // the user choosing the row shown sends it again
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 44 48 08 F7")});

    p.CmdEffDn1->click();
    {
      const QSignalBlocker quiet(p.CmbRvrb);
      p.CmbRvrb->setCurrentIndex(0);
    }
    p.EditEffcts();
    QCOMPARE(p.CmbRvrb->currentText().trimmed(), QString("HALL 2"));
    QVERIFY(rig.Take().empty());

    rig.model.Busy = true;  // while filling: neither stored nor sent
    p.CmbVar->setCurrentIndex(63);
    emit p.CmbRvrb->activated(4);
    QVERIFY(rig.Take().empty());
    QCOMPARE(rig.model.Performance.Com2[13], Byte{0x48});
  }

  void sendSliderMovesShowReleaseSends() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    p.EditEffcts();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QSlider* s = p.SldEffVarRvbSnd;
    s->setFocus();
    QTest::keyClick(s, Qt::Key_Right);  // a move shows only
    QCOMPARE(p.Text30->text() + " " + p.Text31->text() + " " + p.Text32->text(), QString("10 21 30"));
    s->setValue(64);
    QCOMPARE(p.Text31->text(), QString("64"));
    QVERIFY(rig.Take().empty());
    QCOMPARE(rig.model.Performance.Com2[30], Byte{20});

    ClickHandle(s);
    QCOMPARE(rig.model.Performance.Com2[30], Byte{64});
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 55 40 F7")});
    rig.model.Busy = true;  // a release does not look at Busy
    ClickHandle(p.SldEffVarChrSnd);
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 56 1E F7")});
  }

  void bypassAndRestore() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    p.EditEffcts();
    p.CmbRvrb->setCurrentIndex(2);  // made before the bypass: part of the restored block
    const Bytes before = Head(rig.model.Performance.Com2);
    rig.Take();

    p.ChkEffByPass->setChecked(true);
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 40 00 00 F7 F0 43 10 63 60 00 42 00 00 F7 "
                                       "F0 43 10 63 60 00 44 40 00 F7")});
    QVERIFY(rig.ListsEnabled(false));
    QCOMPARE(Head(rig.model.Performance.Com2), before);
    QCOMPARE(Head(rig.model.Performance.EffSave), before);

    p.SldEffVarChrSnd->setValue(99);  // a level changed while bypassed is replaced
    emit p.SldEffVarChrSnd->Released();
    rig.Take();
    p.ChkEffByPass->setChecked(false);
    const Sent sent = rig.Take();
    QCOMPARE(sent.size(), std::size_t{1});
    QVERIFY(ChecksumRight(sent[0]));
    QCOMPARE(WithoutChecksum(sent[0]), WithoutChecksum(before));
    QCOMPARE(WithoutChecksum(Head(rig.model.Performance.Com2)), WithoutChecksum(before));
    QCOMPARE(Bytes(rig.model.TxBuf.begin(), rig.model.TxBuf.begin() + 34), sent[0]);
    QVERIFY(rig.ListsEnabled(true));
    QVERIFY(rig.prompts.shown.empty());
  }

  void restoredBlockReachesInstrument() {
    Rig rig(true);
    test::Cs2xEmulator& cs = *rig.cs;
    const Byte types[] = {0x03, 0x00, 0x41, 0x00, 0x49, 0x00};  // STAGE 1, CHORUS 1, DISTORTION
    for (Byte k = 0; k < 6; ++k) cs.SetParam(kModelCs, 0x60, 0x00, static_cast<Byte>(0x40 + k), types[k]);
    rig.SetCom2(cs.BulkDump(kModelCs, 0x60, 0x00, 0x40));
    rig.panel->EditEffcts();
    QCOMPARE(rig.panel->CmbVar->currentIndex(), 44);
    rig.panel->ChkEffByPass->setChecked(true);
    cs.WaitIdle();
    QCOMPARE(cs.Param(kModelCs, 0x60, 0x00, 0x44), Byte{0x40});
    rig.panel->ChkEffByPass->setChecked(false);
    cs.WaitIdle();  // accepted only with the right checksum
    for (Byte k = 0; k < 6; ++k) QCOMPARE(cs.Param(kModelCs, 0x60, 0x00, static_cast<Byte>(0x40 + k)), types[k]);
  }

  void resetWhileBypassedSendsSavedThenOriginal() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    p.EditEffcts();
    const Bytes orig = Head(rig.model.Performance.Com2);
    p.CmbRvrb->setCurrentIndex(2);
    p.CmbVar->setCurrentIndex(63);
    const Bytes saved = Head(rig.model.Performance.Com2);
    p.ChkEffByPass->setChecked(true);
    rig.Take();

    p.CmdEffReset->click();
    const Sent sent = rig.Take();
    QCOMPARE(sent.size(), std::size_t{2});
    QVERIFY(ChecksumRight(sent[0]));
    QCOMPARE(WithoutChecksum(sent[0]), WithoutChecksum(saved));
    QCOMPARE(sent[1], orig);
    QVERIFY(!p.ChkEffByPass->isChecked() && rig.ListsEnabled(true));
    QCOMPARE(Head(rig.model.Performance.Com2), orig);
    QCOMPARE(p.CmbRvrb->currentIndex(), 4);
    QCOMPARE(p.CmbVar->currentIndex(), 43);

    p.CmbRvrb->setCurrentIndex(1);  // not bypassed: the original block only
    rig.Take();
    p.CmdEffReset->click();
    QCOMPARE(rig.Take(), Sent{orig});
    QCOMPARE(p.CmbRvrb->currentIndex(), 4);
  }

  void blockNeverReceivedIsNotSent() {
    Rig rig;
    rig.model.Performance.Com2.fill(0);
    rig.panel->EditEffcts();
    rig.panel->CmdEffReset->click();
    rig.panel->ChkEffByPass->setChecked(true);
    rig.Take();
    rig.panel->ChkEffByPass->setChecked(false);
    QVERIFY(rig.Take().empty());
    QVERIFY(rig.ListsEnabled(true) && rig.prompts.shown.empty());
  }

  void doneKeepsBypassAndEndsAudition() {
    Rig rig;
    EffectsPanel& p = *rig.panel;
    p.EditEffcts();
    p.ChkEffByPass->setChecked(true);
    rig.Take();
    p.CmdEffDn1->click();
    QVERIFY(p.isHidden());
    QCOMPARE(rig.host.stops, 1);
    p.EditEffcts();
    QVERIFY(p.ChkEffByPass->isChecked() && rig.ListsEnabled(false));
    QVERIFY(rig.Take().empty());
  }
};

QTEST_MAIN(EffectsPanelTest)
#include "effects_panel_test.moc"
