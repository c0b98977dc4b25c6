// The workspace named in the preferences, loaded by the start-up work of the
// real main window against the emulated CS2x; and the effects panel after a
// performance load.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "files/file_steps.h"
#include "files/records.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "instrument_data.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

bool IsChannelChange(const Bytes& m) { return m.size() == 9 && m[3] == kModelXg && m[4] == 0x08 && m[6] == 0x04; }
bool IsPartRequest(const Bytes& m) { return m.size() == 8 && m[2] == 0x20 && m[3] == kModelXg; }
int Count(const std::vector<Bytes>& sent, Byte type, Byte model) {
  return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const Bytes& m) {
    return m.size() > 8 && m[2] == type && m[3] == model;
  }));
}

// Parts named "Load M<n>" on channel n - 5, the emulator's performance
// renamed, two pool rows in slots 9 and 3.
Bytes Workspace(Cs2xEmulator& cs) {
  WorkspaceRecord w{};
  for (int e = 0; e < 12; ++e) {
    PartRecord& part = w.Multis.Part[std::size_t(e)];
    for (int b = 0; b < 5; ++b) WriteDefaultBlock(b, Byte(e + 4), Byte(e + 4), part.Blocks.Block(b));
    part.Blocks.Blk0[kReceiveChannelByte] = Byte(e);
    PutName(part.Name, "Load M" + std::to_string(e + 5));
  }
  cs.SetPerformanceName("FromFile");
  const auto take = [&](auto& field, Byte a1, Byte a2, Byte a3) {
    const Bytes m = cs.BulkDump(kModelCs, a1, a2, a3);
    std::copy(m.begin(), m.end(), field.begin());
  };
  take(w.Perf.Com0, 0x50, 0, 0);
  take(w.Perf.Com1, 0x60, 0, 0);
  take(w.Perf.Com2, 0x60, 0, 0x40);
  take(w.Perf.Com3, 0x60, 0, 0x60);
  for (Byte l = 1; l <= 4; ++l) take(w.Perf.Layer(l), 0x60, l, 0);
  cs.SetPerformanceName("Other   ");
  w.Pool.PoolCount = 2;
  w.Pool.PoolSlot[0] = 9;
  w.Pool.PoolSlot[1] = 3;
  PutName(w.Pool.Entry[0].Name, "Pad");
  PutName(w.Pool.Entry[1].Name, "Lead");
  return RecordBytes(w);
}

void Put(const QString& path, const Bytes& bytes) {
  std::ofstream f(path.toStdString(), std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

class StartupWorkspaceTest : public QObject {
  Q_OBJECT

 private slots:
  void workspaceReplacesPartsPerformanceAndPoolWithoutChannelMessages() {
    QTemporaryDir dir;
    MainWindowHarness h;
    const QString path = dir.filePath("start.qvw");
    Put(path, Workspace(*h.emulator));
    h.prefs.LoadWsAtStart = 1;
    h.prefs.WsPath = (path + "   ").toStdString();
    h.prefs.RtrvAtStart.fill(1);
    h.StartUp(true);

    QVERIFY(h.prompts.shown.empty());
    const EditorState& state = h.main->State();
    for (int part = 4; part <= 15; ++part) {
      QCOMPARE(state.Caption(part), PartCaptionFor("Load M" + std::to_string(part + 1), part));
      QCOMPARE(state.PartChannel(part), part - 4);
    }
    QCOMPARE(state.PerformanceCaption, std::string("FromFile"));
    QCOMPARE(state.PoolRows, (std::vector<PoolRow>{{"Pad       ", 9}, {"Lead      ", 3}}));
    const auto sent = h.Sent();
    QCOMPARE(Count(sent, 0x00, kModelXg), 60);
    QCOMPARE(Count(sent, 0x00, kModelCs), 8);
    QVERIFY(std::none_of(sent.begin(), sent.end(), IsChannelChange));
    QVERIFY(std::none_of(sent.begin(), sent.end(), IsPartRequest));
    QCOMPARE(h.emulator->PerformanceName(), std::string("FromFile"));
  }

  void unusableWorkspaceLeavesThePartsToTheirBoxes() {
    QTemporaryDir dir;
    struct Case {
      const char* file;
      int length;      // -1: not written
      bool damaged;
      bool blank;      // all zero: nothing from the instrument
      std::vector<std::string> boxes;
    };
    const std::string wrong =
        "Sorry, You have chosen a file of the wrong type to be loaded at startup. The Workspace will be initialized.";
    const std::vector<Case> cases = {
        {"short.qvw", 27849, false, false, {wrong}},
        {"missing.qvw", -1, false, false, {}},
        {"damaged.qvw", 27850, true, false, {kDamagedPoolText}},
        {"blank.qvw", 27850, false, true,
         {"The file \"" + dir.filePath("blank.qvw").toStdString() +
          "\" holds no data from the instrument. Nothing has been loaded."}},
    };
    for (const Case& c : cases) {
      MainWindowHarness h;
      const QString path = dir.filePath(c.file);
      if (c.length >= 0) {
        Bytes w = Workspace(*h.emulator);
        if (c.damaged) w[2952 + 24768 + 1] = 9;  // slot 9 in two rows
        if (c.blank) std::fill(w.begin(), w.end(), Byte{0});
        w.resize(std::size_t(c.length));
        Put(path, w);
      }
      h.prefs.LoadWsAtStart = 1;
      h.prefs.WsPath = path.toStdString();
      h.StartUp(true);
      QCOMPARE(h.prompts.Messages(), c.boxes);
      for (int part = 4; part <= 15; ++part) QCOMPARE(h.main->State().Caption(part), DefaultPartCaption(part));
      QVERIFY(h.main->State().PoolRows.empty());
      QVERIFY(h.main->State().PerformanceCaption != "FromFile");
    }
  }

  // The parts a workspace holds no data for follow their retrieve boxes.
  void partsTheWorkspaceDidNotBringAreInitialised() {
    QTemporaryDir dir;
    MainWindowHarness h;
    const QString path = dir.filePath("half.qvw");
    Bytes w = Workspace(*h.emulator);
    std::fill(w.begin() + 4 * 192, w.begin() + 12 * 192, Byte{0});  // M9..M16 never filled
    Put(path, w);
    h.prefs.LoadWsAtStart = 1;
    h.prefs.WsPath = path.toStdString();
    h.StartUp(true);

    const EditorState& state = h.main->State();
    QCOMPARE(state.Caption(8), DefaultPartCaption(8));
    for (int part = 4; part <= 15; ++part) QCOMPARE(state.PartChannel(part), part < 8 ? part - 4 : part);
    QCOMPARE(Count(h.Sent(), 0x00, kModelXg), 60);  // 20 from the file, 40 initialised
  }

  void performanceLoadEndsABypassWithoutSendingForIt() {
    QTemporaryDir dir;
    MainWindowHarness h;
    h.StartUp();
    EffectsPanel& effects = *h.window->SSTab2;
    auto* bypass = Child<QCheckBox>(effects, "ChkEffByPass");
    auto* reverb = Child<QComboBox>(effects, "CmbRvrb");
    Child<QAction>(h.window->window, "EditEffcts")->trigger();
    bypass->click();
    QVERIFY(!reverb->isEnabled());
    const QString path = dir.filePath("p.qvx");
    Put(path, RecordBytes(h.core->State().Model.Performance));
    h.ClearRecords();

    FileSteps steps(h.core->Editor());
    QCOMPARE(steps.LoadPerformanceFile(path.toStdString()), LoadResult::kLoaded);
    QVERIFY(effects.isHidden());
    QVERIFY(!bypass->isChecked());
    QVERIFY(reverb->isEnabled());
    QCOMPARE(h.Sent().size(), std::size_t{8});
    Child<QAction>(h.window->window, "EditEffcts")->trigger();
    QVERIFY(!bypass->isChecked());

    // A copy that holds no message (a file's spare copy of zeros) never
    // replaces the effect block.
    auto& perf = InstrumentData::Of(*h.core).Performance;
    const auto com2 = perf.Com2;
    perf.EffOrig.fill(0);
    h.ClearRecords();
    Child<QPushButton>(effects, "CmdEffReset")->click();
    QCOMPARE(perf.Com2, com2);
    QVERIFY(h.Sent().empty());
  }
};

QTEST_MAIN(StartupWorkspaceTest)
#include "startup_workspace_test.moc"
