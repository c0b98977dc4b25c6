// The effects panel on real widgets: how it fills from the effect block, and
// that each control reaches its editor call. The stores and sends of those
// calls are tested in the core tests (edit_panels_test).

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "hex.h"
#include "instrument/messages.h"
#include "mainwindow/effects_panel.h"
#include "sample_effects.h"
#include "scripted_prompts.h"
#include "slider_clicks.h"

using namespace qv;
using qv::test::ClickHandle;
using qv::test::ParseHex;
using Sent = std::vector<Bytes>;

namespace {

using test::Head;
using test::SampleCom2;

struct Rig {
  test::FakeMidiBackend backend;
  test::ScriptedPrompts prompts;
  test::FastClock clock;
  EditorSignals notices;
  EditorState state;
  DataModel& model = state.Model;
  MidiLink link{backend, prompts, clock, model, notices};
  Session session{state, link, notices};
  EffectsPanel panel{session};

  Rig() {
    link.OpenOutput();
    SetCom2(SampleCom2());
    panel.Listen(notices);
    panel.resize(640, 320);
    panel.LoadEffectLists();
    backend.ClearRecords();
  }
  void SetCom2(const Bytes& m) { std::copy(m.begin(), m.end(), model.Performance.Com2.begin()); }
  Sent Take() {
    Sent s = backend.Sent();
    backend.ClearRecords();
    return s;
  }
  template <typename T>
  T* Find(const char* name) {
    T* found = panel.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no %s", name);
    return found;
  }
  QComboBox* List(const char* name) { return Find<QComboBox>(name); }
  QString Readouts() { return Find<QLineEdit>("Text30")->text() + " " + Find<QLineEdit>("Text31")->text() + " " +
                              Find<QLineEdit>("Text32")->text(); }
  bool ListsEnabled(bool enabled) {
    for (const char* name : {"CmbRvrb", "CmbChrs", "CmbVar"})
      if (List(name)->isEnabled() != enabled) return false;
    return true;
  }
};

}  // namespace

class EffectsPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void filledListsHaveNoSelection() {
    Rig rig;
    EffectsPanel& p = rig.panel;
    QCOMPARE(p.objectName(), QString("SSTab2"));
    QCOMPARE(p.tabText(0), QString("Effects"));
    QVERIFY(p.isHidden());
    QCOMPARE(rig.List("CmbRvrb")->count(), 13);
    QCOMPARE(rig.List("CmbChrs")->count(), 15);
    QCOMPARE(rig.List("CmbVar")->count(), 64);
    QCOMPARE(rig.List("CmbVar")->itemText(10), QString("TUNNNEL").leftJustified(24));
    p.LoadEffectLists();  // again: emptied first
    QCOMPARE(rig.List("CmbVar")->count(), 64);
    for (const char* name : {"CmbRvrb", "CmbChrs", "CmbVar"}) QCOMPARE(rig.List(name)->currentIndex(), -1);
    QCOMPARE(rig.Readouts(), QString("0 40 0"));
    QVERIFY(rig.Take().empty());
  }

  void openingShowsCom2AndSendsNothing() {
    Rig rig;
    rig.session.OpenEffectsPanel();
    QVERIFY(rig.Take().empty());
    QVERIFY(!rig.panel.isHidden() && !rig.model.Busy);
    QCOMPARE(rig.List("CmbRvrb")->currentIndex(), 4);
    QCOMPARE(rig.List("CmbChrs")->currentIndex(), 13);
    QCOMPARE(rig.List("CmbVar")->currentIndex(), 43);
    QCOMPARE(rig.Find<QSlider>("SldEffSndCtoR")->value() + rig.Find<QSlider>("SldEffVarRvbSnd")->value() * 100 +
                 rig.Find<QSlider>("SldEffVarChrSnd")->value() * 10000,
             302010);
    QCOMPARE(rig.Readouts(), QString("10 20 30"));
    QCOMPARE(Head(rig.model.Performance.Com2), SampleCom2());
  }

  void typeMatchingNoRow() {
    Rig rig;
    Bytes odd = SampleCom2();
    odd[9] = odd[10] = 0x7F;         // no reverb type
    odd[13] = 0x40, odd[14] = 0x01;  // no variation type
    rig.SetCom2(odd);
    rig.session.OpenEffectsPanel();  // nothing selected before: first rows
    QCOMPARE(rig.List("CmbRvrb")->currentIndex(), 0);
    QCOMPARE(rig.List("CmbVar")->currentIndex(), 0);
    QCOMPARE(rig.List("CmbChrs")->currentIndex(), 13);
    rig.SetCom2(SampleCom2());
    rig.session.OpenEffectsPanel();
    rig.SetCom2(odd);
    rig.session.OpenEffectsPanel();  // the rows shown last stay
    QCOMPARE(rig.List("CmbRvrb")->currentIndex(), 4);
    QCOMPARE(rig.List("CmbVar")->currentIndex(), 43);
    QVERIFY(rig.Take().empty());
    QCOMPARE(Head(rig.model.Performance.Com2), odd);

    Bytes distortion = SampleCom2();  // variation 49 00, DISTORTION, is row 44
    distortion[13] = 0x49, distortion[14] = 0x00;
    rig.SetCom2(distortion);
    rig.session.OpenEffectsPanel();
    QCOMPARE(rig.List("CmbVar")->currentIndex(), 44);
    QVERIFY(rig.Take().empty());
  }

  // Each control reaches its editor call; a change by code sends nothing.
  void eachControlReachesItsCall() {
    Rig rig;
    EffectsPanel& p = rig.panel;
    rig.session.OpenEffectsPanel();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    rig.List("CmbRvrb")->setCurrentIndex(2);  // by code: nothing
    QVERIFY(rig.Take().empty());
    emit rig.List("CmbRvrb")->activated(2);
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 40 01 01 F7")});
    rig.List("CmbChrs")->setFocus();
    QTest::keyClick(rig.List("CmbChrs"), Qt::Key_Down);  // by the user: sent once
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 42 48 00 F7")});
    emit rig.List("CmbVar")->activated(43);  // the user choosing the row shown sends it again
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 44 48 08 F7")});

    QSlider* s = rig.Find<QSlider>("SldEffVarRvbSnd");
    s->setFocus();
    QTest::keyClick(s, Qt::Key_Right);  // a step by a key or the wheel is sent at once
    QCOMPARE(rig.Readouts(), QString("10 21 30"));
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 55 15 F7")});
    test::WheelStep(s, -120);
    QCOMPARE(rig.Take(), (Sent{{0xF0, 0x43, 0x10, 0x63, 0x60, 0x00, 0x55, Byte(s->value()), 0xF7}}));
    QVERIFY(s->value() < 21);
    QCOMPARE(rig.model.Performance.Com2[30], Byte(s->value()));
    s->setValue(64);  // by code: the read-out only
    QCOMPARE(rig.Find<QLineEdit>("Text31")->text(), QString("64"));
    QVERIFY(rig.Take().empty());
    QVERIFY(rig.model.Performance.Com2[30] < 21);
    ClickHandle(s);
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 55 40 F7")});
    test::DragHandle(s, QPoint(s->width() / 4, 0));  // a drag sends once, on release
    QVERIFY(s->value() > 64);
    QCOMPARE(rig.Take(), (Sent{{0xF0, 0x43, 0x10, 0x63, 0x60, 0x00, 0x55, Byte(s->value()), 0xF7}}));
    ClickHandle(rig.Find<QSlider>("SldEffSndCtoR"));
    QCOMPARE(rig.Take(), Sent{ParseHex("F0 43 10 63 60 00 54 0A F7")});

    auto* bypass = rig.Find<QCheckBox>("ChkEffByPass");
    bypass->click();
    QCOMPARE(rig.Take().size(), std::size_t{1});
    QVERIFY(rig.ListsEnabled(false));
    rig.Find<QPushButton>("CmdEffDn1")->click();  // Done keeps the bypass and ends an audition
    QVERIFY(p.isHidden());
    const Sent stop = rig.Take();  // once: All Notes Off, then the audition note off, on all 16 channels
    QCOMPARE(stop.size(), std::size_t{2});
    QCOMPARE(stop[0].size(), std::size_t{48});
    QCOMPARE(stop[1].size(), std::size_t{48});
    rig.session.OpenEffectsPanel();
    QVERIFY(bypass->isChecked() && rig.ListsEnabled(false));
    QVERIFY(rig.Take().empty());

    rig.Find<QPushButton>("CmdEffReset")->click();  // the saved block, then the original one
    QCOMPARE(rig.Take().size(), std::size_t{2});
    QVERIFY(!bypass->isChecked() && rig.ListsEnabled(true));
    QCOMPARE(rig.List("CmbRvrb")->currentIndex(), 2);  // as at the last filling

    bypass->click();
    rig.Take();
    bypass->click();
    QCOMPARE(rig.Take().size(), std::size_t{1});
    QVERIFY(rig.ListsEnabled(true));
    bypass->click();
    rig.session.EndEffectsBypass();  // a performance sent whole: unchecked, nothing sent
    QVERIFY(!bypass->isChecked() && rig.ListsEnabled(true));
  }
};

QTEST_MAIN(EffectsPanelTest)
#include "effects_panel_test.moc"
