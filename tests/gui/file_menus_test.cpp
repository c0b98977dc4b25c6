// The file commands of the main window: the Load, Save and Debug menu items,
// their dialogs and filters, the boxes after a refused load or a failed save,
// the hourglass, the load aid, and the steps each command runs. The commands
// run the program's own file steps over the emulated CS2x, on files in a
// folder of the test's own; which step ran shows in what it loaded or wrote.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/file_io.h"
#include "files/record_files.h"
#include "files/text_exports.h"
#include "filewindows/load_aid_window.h"
#include "instrument_data.h"
#include "main_window_harness.h"
#include "mainwindow/file_menus.h"
#include "startup/application.h"
#include "startup/pref_dialog.h"

using namespace qv;
using namespace qv::test;

namespace {

Bytes FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Hourglass() {
  return QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

// A started main window over the emulated CS2x, running its own file steps.
// Every message that leaves is recorded with the pointer it left under.
struct Rig {
  MainWindowHarness h;
  FileMenus& files;
  QTemporaryDir tmp;
  std::vector<bool> sendsUnderHourglass;

  Rig() : files(h.window->menus->Files()) {
    h.StartUp();
    auto instrument = h.backend.onSend;
    h.backend.onSend = [this, instrument](const Bytes& m) {
      sendsUnderHourglass.push_back(Hourglass());
      if (instrument) instrument(m);
    };
  }
  std::string In(const char* name) const { return tmp.filePath(name).toStdString(); }
  void Trigger(const char* action) { Child<QAction>(*h.main, action)->trigger(); }
  std::vector<std::string> Shown() const {  // "open <filter>", "message <text>", ...
    std::vector<std::string> out;
    for (const auto& s : h.prompts.shown) out.push_back(s.kind + " " + s.text);
    return out;
  }
  Session& Editor() { return h.core->Editor(); }
  FileSteps& Steps() { return h.core->Files(); }
  const EditorState& State() const { return h.core->State(); }
  // Whether part `part` is named `name`.
  bool M(int part, const std::string& name) const {
    std::string shown = NameInCaption(State().Caption(part));
    shown.erase(shown.find_last_not_of(' ') + 1);
    return shown == name;
  }
  std::string PoolRowName() const { return State().PoolRows.empty() ? "" : State().PoolRows[0].name; }

  // One file of each own kind, each telling itself apart once loaded: M5's
  // name, the first pool row's name or the performance's name; the single
  // multi holds the name "SINGLE". Then the state is set back.
  void MakeKindFiles() {
    Editor().SetPartCaption(4, PartCaptionFor("WS", 4));
    QVERIFY(Steps().SaveWorkspaceFile(In("kind.qvw")));
    Editor().SetPartCaption(4, PartCaptionFor("SETUP", 4));
    QVERIFY(Steps().SaveSetupFile(In("kind.qvf")));
    Editor().SetPartCaption(4, PartCaptionFor("MULTIS", 4));
    QVERIFY(Steps().SaveMultAllFile(In("kind.qvm")));
    Editor().SetPartCaption(4, PartCaptionFor("SINGLE", 4));
    QVERIFY(Steps().SaveMultFile(4, In("kind.qvs")));
    QVERIFY(Editor().StorePartInPool(4));
    Editor().SetPoolRows({{"POOLROW", State().PoolRows.at(0).slot}});
    QVERIFY(Steps().SaveLayerPoolFile(In("kind.qvp")));
    PerformanceRecord perf = h.core->State().Model.Performance;
    std::memcpy(&perf.Com1[9], "PERFNAME", 8);
    QVERIFY(WriteRecordFile(In("kind.qvx"), perf));
    QVERIFY(WriteFileSafely(In("wrong"), Bytes(18201, 0)));  // too long for every kind
    Reset();
  }
  void Reset() {
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
      Editor().SetPartCaption(part, PartCaptionFor("NONE", part));
    Editor().SetPoolRows({});
    Editor().ShowPerformance("NONE");
    h.ClearRecords();
  }
  bool PerformanceLoaded() const { return State().PerformanceCaption.find("PERFNAME") != std::string::npos; }
  bool PoolLoaded() const { return PoolRowName().rfind("POOLROW", 0) == 0; }
};

QStringList Entries(const QMenu* menu) {  // "objectName caption" of each item
  QStringList out;
  for (QAction* a : menu->actions()) {
    const QObject* named = a->menu() ? static_cast<QObject*>(a->menu()) : a;
    out << named->objectName() + ' ' + a->text();
  }
  return out;
}

const std::string kWrongType = "Sorry, You have chosen a file of the wrong type. Please choose a file with the extension ";
const std::string kAnyFile =
    "All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx|Sys-Ex Files (*.syx)|*.syx|Layer Pools (*.qvp)|*.qvp";
const std::string kTextFiles = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
}  // namespace

class FileMenusTest : public QObject {
  Q_OBJECT

 private slots:
  void menusHoldTheirItemsInOrder() {
    MainWindowHarness h;
    QStringList bar;
    for (QAction* a : h.main->menuBar()->actions()) bar << a->text();
    QCOMPARE(bar, QStringList({"File", "Load", "Save", "Edit", "Retrieve", "Initialize", "Midi", "Debug", "Help"}));
    const auto* load = Child<QMenu>(*h.main, "load");
    const auto* save = Child<QMenu>(*h.main, "Save");
    QCOMPARE(Entries(load), QStringList({"LdWrkSpace Workspace", "LdFullSetup Setup", "LdLayerPool Layer Pool",
                                         "LdPerform Performance", "LdMultAll All Multis", "LdMult Multi",
                                         "LdAidSub Load Aid"}));
    QCOMPARE(Entries(save), QStringList({"SvWrkSpace Workspace", "SvfullSetup Setup", "SvLayerPool Layer Pool",
                                         "SvPerform Performance", "SvMultAll All Multis", "SvMult Multi",
                                         "SvWrkSpaceText Workspace Desc Text"}));
    QCOMPARE(Entries(Child<QMenu>(*h.main, "SvfullSetup")),
             QStringList({"SvSetupqvf as .qvf", "SvSetupSyx as Sys-Ex", "SvSetupMid as Midi type 0"}));
    for (const char* prefix : {"LdMult", "SvMult"}) {
      const QStringList items = Entries(Child<QMenu>(*h.main, prefix));
      QCOMPARE(items.size(), qsizetype{12});
      QCOMPARE(items.first(), prefix + QString("5 Multi 5"));
      QCOMPARE(items.last(), prefix + QString("16 Multi 16"));
    }
    QVERIFY(Entries(Child<QMenu>(*h.main, "DebugMenu")).contains("LdSysEx Write sysex"));
  }

  // Every command with its dialog cancelled: its filter, and nothing run,
  // retrieved or sent.
  void cancelledDialogsShowTheirFiltersAndDoNothing() {
    Rig r;
    const std::string m5Before = NameInCaption(r.State().Caption(4));
    const std::vector<PoolRow> poolBefore = r.State().PoolRows;
    const std::vector<std::pair<const char*, std::string>> commands = {
        {"LdWrkSpace", "open Quorvane WorkSpace (*.qvw)|*.qvw"},
        {"LdFullSetup", "open Full Setup (*.qvf)|*.qvf"},
        {"LdLayerPool", "open Layer Pool (*.qvp)|*.qvp"},
        {"LdPerform", "open Peformance (*.qvx)|*.qvx"},
        {"LdMultAll", "open All Multis (*.qvm)|*.qvm"},
        {"LdMult5", "open Single Multi (*.qvs)|*.qvs"},
        {"LdMult16", "open Single Multi (*.qvs)|*.qvs"},
        {"SvWrkSpace", "save Quorvane Workspace (*.qvw)|*.qvw"},
        {"SvSetupqvf", "save Quorvane Setup (*.qvf)|*.qvf"},
        {"SvSetupSyx", "save Syx-Ex Setup (*.syx)|*.syx"},
        {"SvSetupMid", "save Mid Type 0 Setup (*.mid)|*.mid"},
        {"SvLayerPool", "save Layer Pool (*.qvp)|*.qvp"},
        {"SvPerform", "save Performance (*.qvx)|*.qvx"},
        {"SvMultAll", "save All Multis (*.qvm)|*.qvm"},
        {"SvMult9", "save Single Multi (*.qvs)|*.qvs|" + kAnyFile},
        {"SvWrkSpaceText", "save Workspace Description Text (*.txt)|*.txt"},
        {"LdSysEx", "open " + kAnyFile},
    };
    for (const auto& [action, shown] : commands) {
      r.h.ClearRecords();
      r.Trigger(action);
      QCOMPARE(r.Shown(), std::vector<std::string>{shown});
    }
    // Nothing was loaded, written, retrieved or sent.
    QCOMPARE(NameInCaption(r.State().Caption(4)), m5Before);
    QVERIFY(r.State().PoolRows == poolBefore);
    QVERIFY(r.sendsUnderHourglass.empty());
    QVERIFY(r.h.Sent().empty());
    QVERIFY(r.files.LoadFileName.empty());
    QVERIFY(QDir(r.tmp.path()).isEmpty());
  }

  void eachLoadRunsItsStepOnTheChosenFile() {
    Rig r;
    r.MakeKindFiles();
    for (const char* file : {"kind.qvw", "kind.qvf", "kind.qvp", "kind.qvx", "kind.qvm"})
      r.h.prompts.openFiles.push_back(r.In(file));
    r.Trigger("LdWrkSpace");
    QVERIFY(r.M(4, "WS"));
    r.Trigger("LdFullSetup");
    QVERIFY(r.M(4, "SETUP"));
    QVERIFY(!r.PoolLoaded());
    r.Trigger("LdLayerPool");
    QVERIFY(r.PoolLoaded());
    QVERIFY(!r.PerformanceLoaded());
    r.Trigger("LdPerform");
    QVERIFY(r.PerformanceLoaded());
    r.Trigger("LdMultAll");
    QVERIFY(r.M(4, "MULTIS"));
    QCOMPARE(r.files.LoadFileName, r.In("kind.qvm"));
    // The single multi's path goes to its loader only, with the part index.
    r.h.prompts.openFiles.push_back(r.In("kind.qvs"));
    r.Trigger("LdMult9");
    QCOMPARE(r.files.LoadFileName, r.In("kind.qvm"));
    QVERIFY(r.M(8, "SINGLE"));
    QVERIFY(r.M(4, "MULTIS") && !r.M(7, "SINGLE") && !r.M(9, "SINGLE"));
    QVERIFY(r.h.prompts.Messages().empty());
    // A file that cannot be read ends the load with the step's box.
    r.h.ClearRecords();
    r.h.prompts.openFiles.push_back(r.In("gone.qvw"));
    r.Trigger("LdWrkSpace");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open Quorvane WorkSpace (*.qvw)|*.qvw",
                                                  "message " + FailedLoadText(r.In("gone.qvw"), std::strerror(ENOENT))}));
  }

  // A refused file: its kind's box (OK only, no title of its own), then the
  // same command's dialog again, whose choice is loaded afresh.
  void aRefusedFileGivesTheBoxThenTheDialogAgain() {
    Rig r;
    r.MakeKindFiles();
    const std::vector<std::tuple<const char*, std::string, std::string, std::function<bool()>>> kinds = {
        {"LdMult7", ".qvs", "Single Multi (*.qvs)|*.qvs", [&] { return r.M(6, "SINGLE"); }},  // the same part
        {"LdMultAll", ".qvm", "All Multis (*.qvm)|*.qvm", [&] { return r.M(4, "MULTIS"); }},
        {"LdPerform", ".qvx", "Peformance (*.qvx)|*.qvx", [&] { return r.PerformanceLoaded(); }},
        {"LdFullSetup", ".qvf", "Full Setup (*.qvf)|*.qvf", [&] { return r.M(4, "SETUP"); }},
        {"LdLayerPool", ".qvp", "Layer Pool (*.qvp)|*.qvp", [&] { return r.PoolLoaded(); }},
        {"LdWrkSpace", ".qvw", "Quorvane WorkSpace (*.qvw)|*.qvw", [&] { return r.M(4, "WS"); }}};
    for (const auto& [action, extension, filter, loaded] : kinds) {
      r.Reset();
      r.h.prompts.openFiles = {r.In("wrong"), r.In(("kind" + extension).c_str())};
      r.Trigger(action);
      QCOMPARE(r.Shown(), (std::vector<std::string>{"open " + filter, "message " + kWrongType + extension,
                                                    "open " + filter}));
      QCOMPARE(r.h.prompts.shown[1].title, std::string());
      QVERIFY(loaded());
    }
    // Cancelled after a refusal: nothing more is loaded.
    r.Reset();
    r.h.prompts.openFiles = {r.In("wrong")};
    r.Trigger("LdFullSetup");
    QVERIFY(r.M(4, "NONE"));
    QVERIFY(r.h.Sent().empty());
    QCOMPARE(r.h.prompts.openFiles.size(), std::size_t{0});
    // A damaged pool: one box, no dialog again.
    r.h.ClearRecords();
    auto damaged = std::make_unique<LayerPoolRecord>();
    damaged->PoolCount = 200;
    QVERIFY(WriteRecordFile(r.In("damaged.qvp"), *damaged));
    r.h.prompts.openFiles = {r.In("damaged.qvp"), r.In("kind.qvp")};
    r.Trigger("LdLayerPool");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open Layer Pool (*.qvp)|*.qvp",
                                                  std::string("message ") + kDamagedPoolText}));
    QVERIFY(!r.PoolLoaded());
    // Nothing from the instrument: one box, no dialog again.
    r.h.ClearRecords();
    QVERIFY(WriteFileSafely(r.In("blank.qvm"), Bytes(2496, 0)));
    r.h.prompts.openFiles = {r.In("blank.qvm"), r.In("kind.qvm")};
    r.Trigger("LdMultAll");
    const std::string noData =
        "The file \"" + r.In("blank.qvm") + "\" holds no data from the instrument. Nothing has been loaded.";
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open All Multis (*.qvm)|*.qvm", "message " + noData}));
    QVERIFY(r.M(4, "NONE"));
    QVERIFY(r.h.Sent().empty());
  }

  // Saves take the path as chosen and write what their step writes; those
  // that retrieve the performance first run under the hourglass; the
  // slider's density reaches the MIDI export.
  void savesRunOnThePathAsChosenUnderTheirPointer() {
    Rig r;
    r.h.prefs.Density = 5;
    r.h.ApplyPreferences();
    FileSteps& steps = r.Steps();
    using Step = std::function<FileWriteResult(const std::string&)>;
    const std::vector<std::tuple<const char*, Step, bool>> saves = {
        {"SvWrkSpace", [&](const std::string& p) { return steps.SaveWorkspaceFile(p); }, true},
        {"SvSetupqvf", [&](const std::string& p) { return steps.SaveSetupFile(p); }, true},
        {"SvSetupSyx", [&](const std::string& p) { return steps.SaveSetupSysExFile(p); }, true},
        {"SvSetupMid", [&](const std::string& p) { return steps.SaveSetupMidiFile(p, 5); }, true},
        {"SvPerform", [&](const std::string& p) { return steps.SavePerformanceFile(p); }, true},
        {"SvWrkSpaceText", [&](const std::string& p) { return steps.SaveWorkspaceText(p); }, true},
        {"SvLayerPool", [&](const std::string& p) { return steps.SaveLayerPoolFile(p); }, false},
        {"SvMultAll", [&](const std::string& p) { return steps.SaveMultAllFile(p); }, false},
        {"SvMult16", [&](const std::string& p) { return steps.SaveMultFile(15, p); }, false}};
    for (const auto& [action, step, hourglass] : saves) {
      r.sendsUnderHourglass.clear();
      const std::string path = r.In(action);  // typed without an extension
      r.h.prompts.saveFiles.push_back(path);
      r.Trigger(action);
      QVERIFY(QFile::exists(QString::fromStdString(path)));
      QVERIFY(!QGuiApplication::overrideCursor());
      // The retrieval ran under the hourglass; the other saves retrieve nothing.
      QCOMPARE(!r.sendsUnderHourglass.empty(), hourglass);
      QVERIFY(std::all_of(r.sendsUnderHourglass.begin(), r.sendsUnderHourglass.end(), [](bool b) { return b; }));
      // The file is the one the step writes.
      const Bytes written = FileBytes(path);
      QVERIFY(step(path));
      QCOMPARE(written, FileBytes(path));
    }
    // The single multi of M16, not of another part.
    QVERIFY(steps.SaveMultFile(14, r.In("M15")));
    QVERIFY(FileBytes(r.In("M15")) != FileBytes(r.In("SvMult16")));
    QCOMPARE(FileBytes(r.In("SvSetupMid")).size(), std::size_t{2759});  // a density of 4..7
    QVERIFY(r.h.prompts.Messages().empty());
  }

  // A save that cannot be written: one box naming the file and the reason,
  // shown after the pointer is back.
  void aFailedSaveShowsOneBoxNamingTheFile() {
    Rig r;
    const std::string path = r.In("missing/folder/ws.qvw");
    r.h.prompts.saveFiles.push_back(path);
    r.Trigger("SvWrkSpace");
    // The step ran, retrieving under the hourglass.
    QVERIFY(!r.sendsUnderHourglass.empty());
    QVERIFY(std::all_of(r.sendsUnderHourglass.begin(), r.sendsUnderHourglass.end(), [](bool b) { return b; }));
    QVERIFY(!QGuiApplication::overrideCursor());
    const auto messages = r.h.prompts.Messages();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].find("\"" + path + "\"") != std::string::npos);
    QVERIFY(messages[0].size() > path.size() + 30);  // the reason follows
  }

  // A save that wrote a part the instrument never sent: the file, then one
  // box naming the part.
  void aSaveOfAPartNeverFilledShowsOneBoxNamingIt() {
    Rig r;
    for (int b = 0; b < kMultiBlocks; ++b) std::fill_n(InstrumentData::Of(*r.h.core).PartBlk.Block(b, 15), 129, Byte{0});
    r.h.prompts.saveFiles.push_back(r.In("m.qvm"));
    r.Trigger("SvMultAll");
    QCOMPARE(FileBytes(r.In("m.qvm")).size(), std::size_t{2496});
    QCOMPARE(r.h.prompts.Messages(),
             std::vector<std::string>{"The file \"" + r.In("m.qvm") +
                                      "\" has been saved, but it holds no data from the instrument for M16."});
  }

  // Debug > "Write sysex": the source, then the output, proposed as the
  // source's name with ".txt" added; a source that cannot be read ends the
  // command before the save dialog, with a box naming it. The output never replaces the source,
  // not even through a link: a box says so, and nothing is written.
  void writeSysexAsksForTheSourceThenTheOutput() {
    Rig r;
    const Bytes bytes = {0xF0, 0x43, 0xF7};
    QVERIFY(WriteFileSafely(r.In("in.syx"), bytes));
    r.h.prompts.openFiles = {r.In("in.syx")};
    r.h.prompts.saveFiles = {r.In("out")};
    r.Trigger("LdSysEx");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open " + kAnyFile, "save " + kTextFiles}));
    QCOMPARE(r.h.prompts.shown[1].proposed, r.In("in.syx") + ".txt");
    QCOMPARE(r.h.prompts.shown[1].source, r.In("in.syx"));  // not to be asked about replacing
    // The source's bytes as read before the save dialog.
    QCOMPARE(FileBytes(r.In("out")), BuildSysExTextDump(bytes));
    QVERIFY(r.h.prompts.Messages().empty());

    std::filesystem::create_symlink(r.In("in.syx"), r.In("link.txt"));
    for (const char* output : {"in.syx", "link.txt"}) {
      r.h.ClearRecords();
      r.h.prompts.openFiles = {r.In("in.syx")};
      r.h.prompts.saveFiles = {r.In(output)};
      r.Trigger("LdSysEx");
      const auto messages = r.h.prompts.Messages();
      QCOMPARE(messages.size(), std::size_t{1});
      QVERIFY(messages[0].rfind(FailedSaveText(r.In(output), ""), 0) == 0);
      QVERIFY(messages[0].find("nothing was written") != std::string::npos);
      QCOMPARE(FileBytes(r.In("in.syx")), bytes);
      QVERIFY(std::filesystem::is_symlink(r.In("link.txt")));
    }

    r.h.ClearRecords();
    const auto filesBefore = QDir(r.tmp.path()).entryList(QDir::Files | QDir::System);
    r.h.prompts.openFiles = {r.In("none.syx")};
    r.Trigger("LdSysEx");
    r.h.prompts.openFiles = {r.tmp.path().toStdString()};  // a folder
    r.Trigger("LdSysEx");
    const auto shown = r.Shown();  // each source, then its box; no save dialog
    QCOMPARE(shown.size(), std::size_t{4});
    QCOMPARE(shown[0], "open " + kAnyFile);
    QVERIFY(shown[1].rfind("message " + FailedLoadText(r.In("none.syx"), ""), 0) == 0);
    QCOMPARE(shown[2], "open " + kAnyFile);
    QVERIFY(shown[3].rfind("message " + FailedLoadText(r.tmp.path().toStdString(), ""), 0) == 0);
    QCOMPARE(QDir(r.tmp.path()).entryList(QDir::Files | QDir::System), filesBefore);
  }

  // LdAid picks the loader by the kind; a refused file brings up the Load
  // menu's dialog of its kind.
  void loadAidPicksTheLoaderByItsKind() {
    Rig r;
    r.MakeKindFiles();
    const std::vector<std::tuple<FileKind, const char*, std::function<bool()>>> loaders = {
        {FileKind::kWorkspace, "kind.qvw", [&] { return r.M(4, "WS"); }},
        {FileKind::kSetup, "kind.qvf", [&] { return r.M(4, "SETUP"); }},
        {FileKind::kPerformance, "kind.qvx", [&] { return r.PerformanceLoaded(); }},
        {FileKind::kLayerPool, "kind.qvp", [&] { return r.PoolLoaded(); }},
        {FileKind::kAllMultis, "kind.qvm", [&] { return r.M(4, "MULTIS"); }}};
    for (const auto& [kind, file, loaded] : loaders) {
      r.Reset();
      r.files.LdAid(kind, QString::fromStdString(r.In(file)));
      QVERIFY(loaded());
      QCOMPARE(r.files.LoadFileName, r.In(file));
    }
    r.Reset();
    // The single multi is no kind of the load aid; nor is a value outside the kinds.
    for (FileKind other : {FileKind::kSingleMulti, static_cast<FileKind>(-1), static_cast<FileKind>(6)})
      r.files.LdAid(other, QString::fromStdString(r.In("kind.qvs")));
    QCOMPARE(r.files.LoadFileName, r.In("kind.qvm"));
    QVERIFY(r.M(4, "NONE") && r.M(15, "NONE"));
    QVERIFY(r.h.Sent().empty());

    r.files.LdAid(FileKind::kPerformance, QString::fromStdString(r.In("wrong")));
    QCOMPARE(r.Shown(), (std::vector<std::string>{"message " + kWrongType + ".qvx", "open Peformance (*.qvx)|*.qvx"}));
  }

  // Load > "Load Aid": the effects panel closes, then the multi edit panel;
  // the window shows beside the main window, once made, and goes at exit
  // after the other windows.
  void loadAidCommandShowsTheWindowBesideTheMainWindow() {
    Rig r;
    r.Editor().SetPartCaption(4, PartCaptionFor("WS", 4));
    QVERIFY(r.Steps().SaveWorkspaceFile(r.In("a.qvw")));
    r.Reset();
    QDir::setCurrent(r.tmp.path());
    WindowControls& w = *r.h.window;
    w.EditEffcts->trigger();
    w.Multi(5).EditMult->trigger();
    QStringList hidden;
    struct HideWatch : QObject {
      QStringList& out;
      explicit HideWatch(QStringList& o) : out(o) {}
      bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Hide) out << o->objectName();
        return false;
      }
    } watch(hidden);
    w.SSTab1->installEventFilter(&watch);
    w.SSTab2->installEventFilter(&watch);
    r.h.ClearRecords();
    r.Trigger("LdAidSub");
    QCOMPARE(hidden, QStringList({"SSTab2", "SSTab1"}));
    QVERIFY(r.h.Sent().empty());
    LoadAidWindow* aid = r.files.frmLoadAid();
    QVERIFY(aid && aid->isVisible() && !aid->isModal());
    QCOMPARE(aid->pos(), r.h.main->pos() + QPoint(547, 87));
    aid->flLdAid_Click(0);
    QCOMPARE(r.files.LoadFileName, JoinFolderAndName(r.tmp.path(), "a.qvw").toStdString());
    QVERIFY(r.M(4, "WS"));
    aid->cmdLdAid_Click();
    r.Trigger("LdAidSub");
    QCOMPARE(r.files.frmLoadAid(), aid);
    QVERIFY(aid->isVisible());

    bool aidDuringUnload = false;
    w.onUnload = [&] { aidDuringUnload = r.files.frmLoadAid() != nullptr; };
    r.h.prompts.answers.push_back(Prompts::Answer::Ok);
    QVERIFY(r.h.main->close());
    QVERIFY(aidDuringUnload);
    QVERIFY(!r.files.frmLoadAid());
    QDir::setCurrent(QDir::tempPath());
  }

  // The density slider of the preferences dialog reaches the MIDI export.
  void theDensitySliderReachesTheMidiExport() {
    QTemporaryDir folder;
    FakeMidiBackend backend;
    ScriptedPrompts prompts;
    FastClock clock;
    Application app(backend, prompts, clock, folder.path());
    app.Main();
    Child<QSlider>(*app.frmPref(), "Slider1")->setValue(6);
    Child<QPushButton>(*app.frmPref(), "OKButton")->click();
    const std::string path = folder.filePath("setup.mid").toStdString();
    prompts.saveFiles.push_back(path);
    Child<QAction>(*app.frmMain(), "SvSetupMid")->trigger();
    const Bytes written = FileBytes(path);
    QVERIFY(app.Core()->Files().SaveSetupMidiFile(path, 6));
    QCOMPARE(written, FileBytes(path));
  }
};

QTEST_MAIN(FileMenusTest)
#include "file_menus_test.moc"
