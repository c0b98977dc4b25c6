// The multi edit panel driven through its widgets against the recording
// MIDI backend.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "instrument/messages.h"
#include "mainwindow/multi_edit_panel.h"
#include "scripted_prompts.h"
#include "slider_clicks.h"

using namespace qv;

namespace {

struct Rig {
  test::FakeMidiBackend backend;
  test::ScriptedPrompts prompts;
  test::FastClock clock;
  EditorState state;  // the captions start as "Multi Part M5" .. "Multi Part M16"
  DataModel& model = state.Model;
  EditorSignals view;
  MidiLink link{backend, prompts, clock, model, view};
  Session session{state, link, view};
  MultiEditPanel panel{session};

  Rig() {
    link.OpenOutput();
    panel.Listen(view);
  }
  template <typename T>
  T* Find(const QString& name) {
    T* found = panel.findChild<T*>(name);
    if (!found) qFatal("no %s", qPrintable(name));
    return found;
  }
  QLineEdit* Name() { return Find<QLineEdit>("TxtName1"); }
  // Types `text` over the whole name box, as the user does.
  void Type(const QString& text) {
    Name()->selectAll();
    if (text.isEmpty())
      QTest::keyClick(Name(), Qt::Key_Backspace);
    else
      QTest::keyClicks(Name(), text);
  }
  QString Caption(int part) const { return QString::fromLatin1(state.Caption(part).c_str()); }
  Byte& Stored(int byte, int block, int part) { return model.PartBlk.At(byte, block, part); }
  void StoreSwitches(int part, Byte port, Byte keyAssign, Byte monoPoly, Byte partMode) {
    Stored(64, 1, part) = port;
    Stored(15, 0, part) = keyAssign;
    Stored(14, 0, part) = monoPoly;
    Stored(16, 0, part) = partMode;
  }
  QStringList Sent() {  // and forget it
    QStringList out;
    for (const Bytes& m : backend.Sent()) out << QString::fromStdString(HexString(m));
    backend.ClearRecords();
    return out;
  }
  void Open(int part) {
    session.EditMult(part);
    backend.ClearRecords();
  }
  ReleaseSlider* Show(const char* name) {
    panel.setCurrentIndex(MultiSliders()[MultiSliderRow(name)].page - 1);
    QApplication::processEvents();
    return panel.Slider(name);
  }
  void ClickHandle(const char* name) { qv::test::ClickHandle(Show(name)); }  // press and release on the handle
};

QString Tenths(const char* whole, const char* tenth) {
  return QString::fromLatin1(whole) + QLocale::system().decimalPoint() + QString::fromLatin1(tenth);
}

}  // namespace

class MultiEditPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void releaseStoresAndSendsEachKind_data() {
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("readout");
    QTest::newRow("gain -12") << "SldEqBGain" << -12 << "F0 43 10 4C 08 05 72 00 F7" << "-12db";
    QTest::newRow("gain 0") << "SldEqBGain" << 0 << "F0 43 10 4C 08 05 72 40 F7" << " 0db";
    QTest::newRow("gain 12") << "SldEqBGain" << 12 << "F0 43 10 4C 08 05 72 7F F7" << " 12db";
    QTest::newRow("hpf -64") << "SldEqHPF" << -64 << "F0 43 10 4C 0A 05 20 00 F7" << "-64";
    QTest::newRow("hpf 0") << "SldEqHPF" << 0 << "F0 43 10 4C 0A 05 20 40 F7" << "0";
    QTest::newRow("hpf 63") << "SldEqHPF" << 63 << "F0 43 10 4C 0A 05 20 7F F7" << "63";
    QTest::newRow("pan 0") << "SldLvPan" << 0 << "F0 43 10 4C 08 05 0E 00 F7" << "Rand";
    QTest::newRow("pan 64") << "SldLvPan" << 64 << "F0 43 10 4C 08 05 0E 40 F7" << "64";
    QTest::newRow("pan 127") << "SldLvPan" << 127 << "F0 43 10 4C 08 05 0E 7F F7" << "127";
    QTest::newRow("detune -128") << "SldNtDtn" << -128 << "F0 43 10 4C 08 05 09 00 00 F7" << Tenths("-12", "8");
    QTest::newRow("detune 0") << "SldNtDtn" << 0 << "F0 43 10 4C 08 05 09 08 00 F7" << "0";
    QTest::newRow("detune 127") << "SldNtDtn" << 127 << "F0 43 10 4C 08 05 09 0F 0F F7" << Tenths("12", "7");
  }
  void releaseStoresAndSendsEachKind() {
    QFETCH(QString, slider);
    QFETCH(int, position);
    QFETCH(QString, message);
    QFETCH(QString, readout);
    Rig rig;
    rig.Open(5);
    const QByteArray name = slider.toLatin1();
    const MultiParam& def = ParamOf(MultiSliders()[MultiSliderRow(name)].param);
    rig.panel.Slider(name)->setValue(position);
    rig.ClickHandle(name);
    QCOMPARE(rig.Sent(), QStringList{message});
    QCOMPARE(rig.panel.Readout(name)->text(), readout);
    const Bytes data = ParseHex(message.toStdString());
    const std::size_t count = data.size() - 8;  // one or two data bytes
    for (std::size_t i = 0; i < count; ++i) QCOMPARE(rig.Stored(def.byte + int(i), def.block, 5), data[7 + i]);
    // The written byte loads back to the same position, sending nothing.
    rig.panel.Slider(name)->setValue(def.minimum == position ? def.maximum : def.minimum);
    rig.panel.ShowMultEdit();
    QCOMPARE(rig.panel.Slider(name)->value(), position);
    QCOMPARE(rig.panel.Readout(name)->text(), readout);
    QCOMPARE(rig.Sent(), QStringList{});
  }

  void gainByteNoReleaseWritesLoadsAndRewrites() {
    Rig rig;
    rig.Stored(11, 2, 4) = 52;
    rig.Open(4);
    QCOMPARE(rig.panel.Slider("SldEqBGain")->value(), -3);
    QCOMPARE(rig.panel.Readout("SldEqBGain")->text(), QString("-3db"));
    rig.ClickHandle("SldEqBGain");
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 04 72 30 F7"});
    QCOMPARE(rig.Stored(11, 2, 4), Byte{48});
    rig.panel.Slider("SldEqBGain")->setValue(3);
    QCOMPARE(rig.panel.Readout("SldEqBGain")->text(), QString(" 3db"));
  }

  // A step by a key or the wheel stores and sends at once, one message per
  // change; the mouse sends once, on release: after a click on the handle, a
  // drag, or a click on the track.
  void keyAndWheelStepsSendAtOnceTheMouseOnRelease() {
    Rig rig;
    rig.Open(4);
    ReleaseSlider* volume = rig.Show("SldLvVol");
    const auto sentNow = [&] { return QStringList{QString::fromStdString(HexString(XgParmChange(8, 4, 0x0B, Byte(volume->value()))))}; };
    QTest::keyClick(volume, Qt::Key_Right);
    QCOMPARE(rig.panel.Readout("SldLvVol")->text(), QString("1"));
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 04 0B 01 F7"});
    QCOMPARE(rig.Stored(20, 0, 4), Byte{1});
    QTest::keyClick(volume, Qt::Key_PageUp);
    QCOMPARE(volume->value(), 1 + volume->pageStep());
    QCOMPARE(rig.Sent(), sentNow());
    QTest::keyClick(volume, Qt::Key_Home);
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 04 0B 00 F7"});
    QTest::keyClick(volume, Qt::Key_Home);  // no change, nothing to send
    QCOMPARE(rig.Sent(), QStringList{});
    test::WheelStep(volume, 120);
    QVERIFY(volume->value() > 0);
    QCOMPARE(rig.Sent(), sentNow());
    QCOMPARE(rig.Stored(20, 0, 4), Byte(volume->value()));

    rig.ClickHandle("SldLvVol");
    QCOMPARE(rig.Sent(), sentNow());
    const int before = volume->value();
    test::DragHandle(volume, QPoint(volume->width() / 3, 0));
    QVERIFY(volume->value() > before);
    QCOMPARE(rig.Sent(), sentNow());
    // A click on the track right of the handle moves it a page and sends that.
    const int dragged = volume->value();
    const QPoint track(volume->width() - 3, volume->height() / 2);
    QTest::mousePress(volume, Qt::LeftButton, {}, track);
    QTest::mouseRelease(volume, Qt::LeftButton, {}, track);
    QVERIFY(volume->value() > dragged);
    QCOMPARE(rig.Sent(), sentNow());
    QCOMPARE(rig.Stored(20, 0, 4), Byte(volume->value()));
  }

  void everyTableRowWritesItsOwnByteAtItsAddress() {
    Rig rig;
    rig.Open(4);  // M5: the variation send is enabled
    for (int row = 0; row < kMultiParamCount; ++row) {
      const MultiSliderDef& layout = MultiSliders()[row];
      const MultiParam& d = ParamOf(layout.param);
      QLabel* label = rig.panel.Labelx1(row);
      const Address start = MultiBlockAddress(d.block, 4);
      const int width = d.kind == SliderKind::Detune ? 2 : 1;
      QVERIFY2(d.a1 == start.a1 && d.byte == 9 + d.a3 - start.a3, layout.name);
      QVERIFY2(d.byte + width <= BlkLen(d.block) - 2, layout.name);  // before checksum and F7
      QCOMPARE(label->objectName(), QStringLiteral("Labelx1_%1").arg(row));
      QCOMPARE(label->text(), QString::fromLatin1(layout.label));

      const DataModel before = rig.model;
      rig.panel.Slider(layout.name)->setValue(d.maximum);
      rig.ClickHandle(layout.name);
      const Bytes data = ByteFromPosition(d.kind, d.maximum);
      const Bytes sent = rig.backend.Sent().at(0);
      rig.backend.ClearRecords();
      QVERIFY2(sent.size() == std::size_t(8 + width) && sent[4] == d.a1 && sent[5] == 4 && sent[6] == d.a3, layout.name);
      for (int block = 0; block < kMultiBlocks; ++block)
        for (int i = 0; i < BlkLen(block); ++i) {
          const bool mine = block == d.block && i >= d.byte && i < d.byte + width;
          QVERIFY2(rig.Stored(i, block, 4) == (mine ? data[i - d.byte] : before.PartBlk.At(i, block, 4)), layout.name);
        }
    }
    QCOMPARE(rig.panel.Labelx1(15)->text(), QString("Variation Send"));
  }

  void openingSendsOnlyChangedSwitchesInOrder() {
    Rig rig;
    rig.Open(4);  // all switch bytes 0
    rig.StoreSwitches(5, 1, 2, 1, 3);
    rig.session.EditMult(5);
    QCOMPARE(rig.Sent(), (QStringList{"F0 43 10 4C 08 05 67 01 F7", "F0 43 10 4C 08 05 06 02 F7",
                                      "F0 43 10 4C 08 05 05 01 F7", "F0 43 10 4C 08 05 07 03 F7"}));
    rig.StoreSwitches(6, 1, 2, 0, 3);  // only Mono/Poly differs from part 5
    rig.session.EditMult(6);
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 06 05 00 F7"});
    rig.session.EditMult(6);
    QCOMPARE(rig.Sent(), QStringList{});

    // Bytes that name no state show none, send nothing and stay stored.
    rig.StoreSwitches(7, 5, 9, 0, 0);
    rig.session.EditMult(7);
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 07 07 00 F7"});
    QVERIFY(!rig.Find<QCheckBox>("ChckPort")->isChecked());
    for (int i = 0; i < 3; ++i) QVERIFY(!rig.Find<QRadioButton>(QString("Option1_%1").arg(i))->isChecked());
    QCOMPARE(rig.Stored(64, 1, 7), Byte{5});
    QCOMPARE(rig.Stored(15, 0, 7), Byte{9});
    rig.session.EditMult(5);
    QCOMPARE(rig.Sent(), (QStringList{"F0 43 10 4C 08 05 67 01 F7", "F0 43 10 4C 08 05 06 02 F7",
                                      "F0 43 10 4C 08 05 05 01 F7", "F0 43 10 4C 08 05 07 03 F7"}));
  }

  void clickingASwitchStoresForTheEditedPartOnly() {
    Rig rig;
    rig.Open(9);
    rig.panel.setCurrentIndex(2);
    QTest::mouseClick(rig.Find<QRadioButton>("Option3_2"), Qt::LeftButton);
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 09 07 02 F7"});
    QCOMPARE(rig.Stored(16, 0, 9), Byte{2});
    QCOMPARE(rig.Stored(16, 0, 8), Byte{0});
    rig.panel.setCurrentIndex(1);
    QApplication::processEvents();
    QCheckBox* port = rig.Find<QCheckBox>("ChckPort");
    QTest::mouseClick(port, Qt::LeftButton, {}, QPoint(6, port->height() / 2));
    QCOMPARE(rig.Sent(), QStringList{"F0 43 10 4C 08 09 67 01 F7"});
    QCOMPARE(rig.Stored(64, 1, 9), Byte{1});
  }

  void variationSendOnlyForM5AndOutOfRangeBytesClamp() {
    Rig rig;
    QVERIFY(rig.panel.isHidden());
    rig.Stored(29, 0, 6) = 77;
    rig.Stored(11, 3, 6) = 2;                          // bass frequency below its range
    rig.Stored(18, 0, 6) = rig.Stored(19, 0, 6) = 20;  // detune nibbles above 15
    rig.Open(6);
    QVERIFY(!rig.panel.isHidden());
    QCOMPARE(rig.panel.Slider("SldEffVar")->value(), 77);
    for (QWidget* w : {(QWidget*)rig.panel.Slider("SldEffVar"), (QWidget*)rig.panel.Readout("SldEffVar"),
                       (QWidget*)rig.panel.Labelx1(15)})
      QVERIFY(!w->isEnabled());
    QCOMPARE(rig.panel.Readout("SldEqBFreq")->text(), QString("  32 Hz"));
    QCOMPARE(rig.panel.Readout("SldNtDtn")->text(), Tenths("12", "7"));
    QCOMPARE(rig.Stored(11, 3, 6), Byte{2});
    QCOMPARE(rig.Stored(18, 0, 6), Byte{20});
    rig.Open(4);
    QVERIFY(rig.panel.Slider("SldEffVar")->isEnabled() && rig.panel.Labelx1(15)->isEnabled());
    for (int part = 5; part <= 15; ++part) {
      rig.Open(part);
      QVERIFY(!rig.panel.Readout("SldEffVar")->isEnabled());
    }
    QTest::mouseClick(rig.Find<QPushButton>("CmdDone2_1"), Qt::LeftButton);
    QVERIFY(rig.panel.isHidden());
    QCOMPARE(rig.model.EditPart, 15);
  }

  void voiceChange_data() {
    QTest::addColumn<QString>("msb");
    QTest::addColumn<QString>("lsb");
    QTest::addColumn<QString>("prg");
    QTest::addColumn<QString>("sent");
    QTest::newRow("fraction floored") << "12.7" << "0" << " 127 "
        << "F0 43 10 4C 08 04 01 0C F7 F0 43 10 4C 08 04 02 00 F7 F0 43 10 4C 08 04 03 7F F7";
    QTest::newRow("negative fraction") << "-0.5" << "0" << "0" << "";
    QTest::newRow("above 127") << "1" << "128" << "0" << "";
    QTest::newRow("empty") << "1" << "2" << "" << "";
    QTest::newRow("letters") << "1" << "x2" << "3" << "";
  }
  void voiceChange() {
    QFETCH(QString, msb);
    QFETCH(QString, lsb);
    QFETCH(QString, prg);
    QFETCH(QString, sent);
    Rig rig;
    rig.Stored(10, 0, 4) = rig.Stored(11, 0, 4) = rig.Stored(12, 0, 4) = 99;
    rig.Open(4);
    rig.Find<QLineEdit>("TxtMsb")->setText(msb);
    rig.Find<QLineEdit>("TxtLsb")->setText(lsb);
    rig.Find<QLineEdit>("TxtPrg")->setText(prg);
    QTest::mouseClick(rig.Find<QPushButton>("CmdVocChng"), Qt::LeftButton);
    QCOMPARE(rig.Sent(), sent.isEmpty() ? QStringList{} : QStringList{sent});
    const Bytes want = sent.isEmpty() ? Bytes{99, 99, 99} : Bytes{12, 0, 127};
    for (int i = 0; i < 3; ++i) QCOMPARE(rig.Stored(10 + i, 0, 4), want[i]);
    QCOMPARE(rig.Find<QLineEdit>("TxtMsb")->text(), msb);  // the boxes keep what was typed
  }

  void nameRuleWritesTheButtonCaption() {
    Rig rig;
    rig.Type("ignored before opening");
    QCOMPARE(rig.Caption(4), QString("Multi Part M5"));
    rig.Open(4);
    QCOMPARE(rig.Name()->text(), QString("Multi Part"));
    QCOMPARE(rig.Caption(4), QString("Multi Part M5"));
    rig.Type("");
    QCOMPARE(rig.Caption(4), QString("           M5"));
    QTest::keyClicks(rig.Name(), "Bass");
    QCOMPARE(rig.Caption(4), QString("Bass       M5"));
    QCOMPARE(rig.Find<QLabel>("Label34_0")->text(), rig.Caption(4));
    QCOMPARE(rig.Find<QLabel>("Label34_1")->text(), rig.Caption(4));
    rig.panel.ShowMultEdit();  // the name without its padding: typing at its end adds
    QCOMPARE(rig.Name()->text(), QString("Bass"));
    QTest::keyClicks(rig.Name(), "2");
    QCOMPARE(rig.Caption(4), QString("Bass2      M5"));
    rig.Type("ABCDEFGHIJKLMN");
    QCOMPARE(rig.Caption(4), QString("ABCDEFGHIJ M5"));
    QCOMPARE(rig.Name()->text(), QString("ABCDEFGHIJ"));  // the box takes no more than the name keeps
    rig.state.Caption(15) = "odd";  // a caption not yet in the form
    rig.Open(15);
    QCOMPARE(rig.Caption(15), QString("odd        M16"));
    QCOMPARE(rig.Caption(4), QString("ABCDEFGHIJ M5"));
    QCOMPARE(rig.Sent(), QStringList{});
  }

  // A character Latin-1 lacks is "?" in the caption and in the box alike;
  // typing goes on where it was.
  void nameBoxShowsWhatTheCaptionHolds() {
    Rig rig;
    rig.Open(6);
    rig.Type("");
    QLineEdit* box = rig.Name();
    QTest::keyClicks(box, "5");
    box->insert(QString::fromUtf8("\u20ac"));  // as typed: the box's own insertion
    QCOMPARE(box->text(), QString("5?"));
    QTest::keyClicks(box, " B");
    box->insert(QString::fromUtf8("\u00e4"));
    QTest::keyClicks(box, "ss");
    QCOMPARE(rig.Caption(6), QString::fromUtf8("5? B\u00e4ss    M7"));
    QCOMPARE(rig.Name()->text(), QString::fromUtf8("5? B\u00e4ss"));
    QCOMPARE(rig.Find<QLabel>("Label34_0")->text(), rig.Caption(6));
  }
};

QTEST_MAIN(MultiEditPanelTest)
#include "multi_edit_panel_test.moc"
