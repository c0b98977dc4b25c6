// The start-up road through the real main window against the emulated CS2x.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include "hex.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "instrument_data.h"
#include "main_window_harness.h"
#include "mainwindow/caption.h"

using namespace qv;
using namespace qv::test;

namespace {

Bytes DefaultBlock0(int part) {
  Bytes m(52);
  WriteDefaultBlock(0, static_cast<Byte>(part), static_cast<Byte>(part), m.data());
  return m;
}

std::vector<std::string> Hex(const std::vector<Bytes>& messages) {
  std::vector<std::string> out;
  for (const Bytes& m : messages) out.push_back(HexString(m));
  return out;
}

void Choose(QComboBox* combo, int row) {
  combo->setCurrentIndex(row);
  emit combo->activated(row);
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  // What is sent, in order, is tested on the editor core alone
  // (tests/core/startup_work_test.cpp); here what the window shows.
  void allPartsInitialisedShowTheirRowsAndCaptions() {
    MainWindowHarness h;
    h.prefs.PerfChannel = 2;
    h.StartUp(true);

    for (int part = 4; part <= 15; ++part) {
      QCOMPARE(h.window->Multi(part).CmbMult->currentIndex(), part);
      QCOMPARE(h.window->Multi(part).CmdMult->text(), QString("Multi Part M%1").arg(part + 1));
    }
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.window->CmbPrgm->currentIndex(), 0);
    QCOMPARE(h.window->CmdPrfm->text(), QString("B40P000 "));
    QCOMPARE(h.window->Layer(1).TxtLyr->text(), QString("B40P000 A"));
    QCOMPARE(h.window->CmbMidNtNo->currentIndex(), 67);
    QCOMPARE(h.window->SldNt->value(), 60);
    QCOMPARE(h.window->SldVel->value(), 0);
  }

  void checkedPartsAreRetrievedInstead() {
    MainWindowHarness h;
    h.prefs.RtrvAtStart[6 - 5] = 1;
    h.prefs.RtrvAtStart[16 - 5] = 1;
    h.emulator->SetParam(kModelXg, 0x08, 0x05, 0x04, 0x09);  // M6 receives on channel 10
    h.StartUp(true);
    const auto sent = Hex(h.Sent());
    const std::size_t partsStart = 2 + 2 * 10;
    QCOMPARE(sent[partsStart], HexString(DefaultBlock0(4)));
    std::vector<std::string> m6(sent.begin() + static_cast<long>(partsStart) + 5,
                                sent.begin() + static_cast<long>(partsStart) + 10);
    for (int b = 0; b < 5; ++b) QCOMPARE(m6[static_cast<std::size_t>(b)], HexString(RqstMulti(6, b)));
    QCOMPARE(sent[sent.size() - 6], HexString(RqstMulti(16, 0)));
    QCOMPARE(h.window->Multi(5).CmbMult->currentIndex(), 9);
    QCOMPARE(h.window->Model().PartBlk.At(13, 0, 5), Byte{9});
  }

  void silentInstrumentEndsEveryWaitAndShowsNoBox() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.prefs.RtrvAtStart[5 - 5] = 1;
    h.StartUp(true);
    QVERIFY(h.prompts.shown.empty());
    // Two performance retrievals and one part: 21 waits of about 2 s.
    QCOMPARE(h.fastClock.virtualMs, 21LL * 2000);
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.window->Model().PartBlk.At(0, 0, 4), Byte{0});  // nothing arrived for M5
    QCOMPARE(h.window->Multi(4).CmbMult->currentIndex(), 0);    // row of the lists' start
  }

  void outputThatCannotBeOpenedShowsOneBoxAndTheWindow() {
    MainWindowHarness h;
    h.backend.Fail("OutOpen", kMidiNoDriver);
    h.StartUp(true);
    QCOMPARE(h.prompts.Messages().size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(h.prompts.Messages()[0]),
             QString("Operation: Open\r\n") + QString::fromStdString(MidiErrorText(kMidiNoDriver)));
    QVERIFY(h.Sent().empty());
    QVERIFY(h.window->isVisible());
    QVERIFY(!h.window->Model().Busy);
    QCOMPARE(h.window->Multi(9).CmdMult->text(), QString("Multi Part M10"));
    // A send afterwards tells the user and sends nothing.
    h.prompts.Clear();
    Choose(h.window->Multi(6).CmbMult, 2);
    QCOMPARE(h.prompts.Messages().size(), std::size_t{1});
    QVERIFY(QString::fromStdString(h.prompts.Messages()[0]).startsWith("Operation: Out Prepare \r\n"));
  }

  void channelChoiceStoresAndSends() {
    MainWindowHarness h;
    h.StartUp();
    Choose(h.window->Multi(6).CmbMult, 2);
    QCOMPARE(h.window->Model().PartBlk.At(13, 0, 6), Byte{2});
    QCOMPARE(Hex(h.Sent()), std::vector<std::string>{"F0 43 10 4C 08 06 04 02 F7"});
    h.ClearRecords();
    InstrumentData::Of(*h.core).Busy = true;
    Choose(h.window->Multi(6).CmbMult, 5);
    QVERIFY(h.Sent().empty());
    QCOMPARE(h.window->Model().PartBlk.At(13, 0, 6), Byte{2});
  }

  void layerSwitchesOtherThanOneCountAsOff() {
    MainWindowHarness h;
    h.StartUp();
    h.emulator->SetLayerSwitch(2, 0);
    h.emulator->SetLayerSwitch(3, 2);
    h.window->RtrvPerf_Click();
    const auto& w = *h.window;
    QVERIFY(w.Layers[0].CmdLyr->isEnabled());
    QVERIFY(!w.Layers[1].CmdLyr->isEnabled());
    QVERIFY(!w.Layers[1].TxtLyr->isEnabled());
    QCOMPARE(w.Layers[1].TxtLyr->text(), QString(9, ' '));
    QVERIFY(!w.Layers[2].TxtLyr->isEnabled());
    QCOMPARE(w.Layers[3].TxtLyr->text(), w.CmdPrfm->text() + "D");
  }

  void namesWithAnAmpersandKeepIt() {
    MainWindowHarness h;
    h.StartUp();
    h.emulator->SetPerformanceName("Pno&Str");
    h.window->RtrvPerf_Click();
    QCOMPARE(Caption(h.window->CmdPrfm), QString("Pno&Str "));
    QCOMPARE(h.window->Layer(1).TxtLyr->text(), QString("Pno&Str A"));
    h.window->SetPartCaption(6, "R&B Bass   M7");
    QCOMPARE(h.window->PartCaption(6), QString("R&B Bass   M7"));
  }

  void silentRetrievalKeepsTheOldNameAndSendsBothChannelMessages() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.StartUp();
    h.window->CmdPrfm->setText("OldName ");
    h.prefs.PerfChannel = 9;
    h.ApplyPreferences();
    h.window->RtrvPerf_Click();
    const auto sent = Hex(h.Sent());
    QCOMPARE(sent.front(), std::string("F0 43 10 63 50 00 00 00 F7"));
    QCOMPARE(sent.back(), std::string("F0 43 10 63 50 00 00 09 F7"));
    // Com1 never arrived: eight zero bytes, kept as they are, shown as blanks.
    QCOMPARE(h.window->CmdPrfm->text(), QString(8, ' '));
    QCOMPARE(h.core->State().PerformanceCaption, std::string(8, '\0'));
  }

  void performanceChoiceMessages() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    w.OptUser->click();
    w.OptBank2->click();
    QCOMPARE(w.CmbPrgm->count(), 128);
    QCOMPARE(w.CmbPrgm->itemText(5), QString(" 6"));
    h.ClearRecords();
    Choose(w.CmbPrgm, 5);
    auto sent = Hex(h.Sent());
    QCOMPARE(sent[0], std::string("F0 43 10 63 50 00 00 00 F7"));
    QCOMPARE(sent[1], std::string("B0 00 3F B0 20 43 C0 05"));
    QCOMPARE(sent.size(), std::size_t{2 + 10});

    w.OptPreset->click();
    QCOMPARE(w.CmbPrgm->currentIndex(), -1);
    h.ClearRecords();
    Choose(w.CmbPrgm, 127);
    QCOMPARE(Hex(h.Sent())[1], std::string("B0 00 3F B0 20 42 C0 7F"));
    QCOMPARE(w.CmbPrgm->currentText(), QString("Session "));

    // Bank 1 while User is chosen leaves the numbers and their selection.
    w.OptUser->click();
    Choose(w.CmbPrgm, 3);
    h.ClearRecords();
    w.OptBank1->click();
    QCOMPARE(w.CmbPrgm->currentIndex(), 3);
    QCOMPARE(w.CmbPrgm->itemText(0), QString(" 1"));
    QVERIFY(h.Sent().empty());
  }

  void initializeAllMultis() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    w.SetPartCaption(7, "Bass       M8");
    Choose(w.Multi(7).CmbMult, 0);
    h.ClearRecords();
    w.InitMltall_Click();
    const auto sent = h.Sent();
    // Five default blocks and then the channel of each part, part by part.
    QCOMPARE(sent.size(), std::size_t{12 * 6});
    for (int part = 4; part <= 15; ++part) {
      const Bytes& channel = sent[static_cast<std::size_t>((part - 4) * 6 + 5)];
      QCOMPARE(HexString(channel), HexString(XgParmChange(0x08, static_cast<Byte>(part), 0x04, static_cast<Byte>(part))));
      QCOMPARE(w.Multi(part).CmbMult->currentText(), QString(" %1").arg(part + 1));
      QCOMPARE(w.Multi(part).CmdMult->text(), QString("Multi Part M%1").arg(part + 1));
    }
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
