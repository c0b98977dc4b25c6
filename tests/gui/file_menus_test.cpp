// The file commands of the main window: the Load, Save and Debug menu items,
// their dialogs and filters, the boxes after a refused load or a failed save,
// the hourglass, the load aid, and the steps each command runs. The steps are
// recorded here; a save writes a small file through the program's writer, so
// that a path that cannot be written fails as it would.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>

#include "filewindows/load_aid_window.h"
#include "main_window_harness.h"
#include "mainwindow/file_menus.h"
#include "startup/application.h"
#include "startup/pref_dialog.h"

using namespace qv;
using namespace qv::test;

namespace {

struct RecordingSteps : FileCommands {
  struct Call {
    std::string step;
    std::string path;
    int arg = -1;  // the part, or the density
    bool hourglass = false;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  std::deque<LoadResult> loadResults;  // then kLoaded

  LoadResult Load(const char* step, const std::string& path, int arg = -1) {
    calls.push_back({step, path, arg, Hourglass()});
    if (loadResults.empty()) return LoadResult::kLoaded;
    const LoadResult r = loadResults.front();
    loadResults.pop_front();
    return r;
  }
  FileWriteResult Save(const char* step, const std::string& path, int arg = -1) {
    calls.push_back({step, path, arg, Hourglass()});
    return WriteFileSafely(path, Bytes{'Q'});
  }
  static bool Hourglass() {
    return QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
  }

  LoadResult LoadMultFile(int part, const std::string& p) override { return Load("LoadMultFile", p, part); }
  LoadResult LoadMultAllFile(const std::string& p) override { return Load("LoadMultAllFile", p); }
  LoadResult LoadPerformanceFile(const std::string& p) override { return Load("LoadPerformanceFile", p); }
  LoadResult LoadLayerPoolFile(const std::string& p) override { return Load("LoadLayerPoolFile", p); }
  LoadResult LoadSetupFile(const std::string& p) override { return Load("LoadSetupFile", p); }
  LoadResult LoadWorkspaceFile(const std::string& p) override { return Load("LoadWorkspaceFile", p); }
  FileWriteResult SaveMultFile(int part, const std::string& p) override { return Save("SaveMultFile", p, part); }
  FileWriteResult SaveMultAllFile(const std::string& p) override { return Save("SaveMultAllFile", p); }
  FileWriteResult SavePerformanceFile(const std::string& p) override { return Save("SavePerformanceFile", p); }
  FileWriteResult SaveLayerPoolFile(const std::string& p) override { return Save("SaveLayerPoolFile", p); }
  FileWriteResult SaveSetupFile(const std::string& p) override { return Save("SaveSetupFile", p); }
  FileWriteResult SaveWorkspaceFile(const std::string& p) override { return Save("SaveWorkspaceFile", p); }
  FileWriteResult SaveSetupSysExFile(const std::string& p) override { return Save("SaveSetupSysExFile", p); }
  FileWriteResult SaveSetupMidiFile(const std::string& p, int d) override { return Save("SaveSetupMidiFile", p, d); }
  FileWriteResult SaveWorkspaceText(const std::string& p) override { return Save("SaveWorkspaceText", p); }
  FileWriteResult DumpSysExToText(const Bytes& in, const std::string& out) override {
    calls.push_back({"DumpSysExToText", std::string(in.begin(), in.end()), -1, Hourglass()});
    return Save("(dump output)", out);
  }
};

// A started main window whose file commands run the recorded steps.
struct Rig {
  MainWindowHarness h;
  RecordingSteps steps;
  FileMenus& files;
  QTemporaryDir tmp;

  Rig() : files(h.window->menus->Files()) {
    h.StartUp();
    files.UseSteps(steps);
  }
  std::string In(const char* name) const { return tmp.filePath(name).toStdString(); }
  void Trigger(const char* action) { Child<QAction>(*h.main, action)->trigger(); }
  std::vector<std::string> Shown() const {  // "open <filter>", "message <text>", ...
    std::vector<std::string> out;
    for (const auto& s : h.prompts.shown) out.push_back(s.kind + " " + s.text);
    return out;
  }
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
        {"SvMult9", "save " + kAnyFile},
        {"SvWrkSpaceText", "save Workspace Description Text (*.txt)|*.txt"},
        {"LdSysEx", "open " + kAnyFile},
    };
    for (const auto& [action, shown] : commands) {
      r.h.ClearRecords();
      r.Trigger(action);
      QCOMPARE(r.Shown(), std::vector<std::string>{shown});
    }
    QVERIFY(r.steps.calls.empty());
    QVERIFY(r.h.Sent().empty());
    QVERIFY(r.files.LoadFileName.empty());
    QVERIFY(QDir(r.tmp.path()).isEmpty());
  }

  void eachLoadRunsItsStepOnTheChosenFile() {
    Rig r;
    using Call = RecordingSteps::Call;
    for (const char* action : {"LdWrkSpace", "LdFullSetup", "LdLayerPool", "LdPerform", "LdMultAll"})
      r.h.prompts.openFiles.push_back(r.In(action));
    r.Trigger("LdWrkSpace");
    r.Trigger("LdFullSetup");
    r.Trigger("LdLayerPool");
    r.Trigger("LdPerform");
    r.Trigger("LdMultAll");
    QCOMPARE(r.files.LoadFileName, r.In("LdMultAll"));
    // The single multi's path goes to its loader only, with the part index.
    r.h.prompts.openFiles.push_back(r.In("m.qvs"));
    r.Trigger("LdMult9");
    QCOMPARE(r.files.LoadFileName, r.In("LdMultAll"));
    QCOMPARE(r.steps.calls, (std::vector<Call>{{"LoadWorkspaceFile", r.In("LdWrkSpace")},
                                               {"LoadSetupFile", r.In("LdFullSetup")},
                                               {"LoadLayerPoolFile", r.In("LdLayerPool")},
                                               {"LoadPerformanceFile", r.In("LdPerform")},
                                               {"LoadMultAllFile", r.In("LdMultAll")},
                                               {"LoadMultFile", r.In("m.qvs"), 8}}));
    QVERIFY(r.h.prompts.Messages().empty());
    // A file that cannot be read ends the load with the step's box.
    r.h.ClearRecords();
    r.steps.loadResults = {LoadResult(LoadResult::kCannotRead, "gone")};
    r.h.prompts.openFiles.push_back(r.In("gone.qvw"));
    r.Trigger("LdWrkSpace");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open Quorvane WorkSpace (*.qvw)|*.qvw", "message gone"}));
  }

  // A refused file: its kind's box (OK only, no title of its own), then the
  // same command's dialog again, whose choice is loaded afresh.
  void aRefusedFileGivesTheBoxThenTheDialogAgain() {
    Rig r;
    const std::vector<std::tuple<const char*, std::string, std::string>> kinds = {
        {"LdMult7", ".qvs", "Single Multi (*.qvs)|*.qvs"},      {"LdMultAll", ".qvm", "All Multis (*.qvm)|*.qvm"},
        {"LdPerform", ".qvx", "Peformance (*.qvx)|*.qvx"},      {"LdFullSetup", ".qvf", "Full Setup (*.qvf)|*.qvf"},
        {"LdLayerPool", ".qvp", "Layer Pool (*.qvp)|*.qvp"},    {"LdWrkSpace", ".qvw", "Quorvane WorkSpace (*.qvw)|*.qvw"}};
    for (const auto& [action, extension, filter] : kinds) {
      r.h.ClearRecords();
      r.steps.calls.clear();
      r.steps.loadResults = {LoadResult::kWrongType};
      r.h.prompts.openFiles = {r.In("wrong"), r.In("right")};
      r.Trigger(action);
      QCOMPARE(r.Shown(), (std::vector<std::string>{"open " + filter, "message " + kWrongType + extension,
                                                    "open " + filter}));
      QCOMPARE(r.h.prompts.shown[1].title, std::string());
      QCOMPARE(r.steps.calls.size(), std::size_t{2});
      QCOMPARE(r.steps.calls[1].path, r.In("right"));
      QCOMPARE(r.steps.calls[1].arg, r.steps.calls[0].arg);  // the same part
    }
    // Cancelled after a refusal: nothing more is loaded.
    r.steps.calls.clear();
    r.steps.loadResults = {LoadResult::kWrongType};
    r.h.prompts.openFiles = {r.In("wrong")};
    r.Trigger("LdFullSetup");
    QCOMPARE(r.steps.calls.size(), std::size_t{1});
    QCOMPARE(r.h.prompts.openFiles.size(), std::size_t{0});
    // A damaged pool: one box, no dialog again.
    r.h.ClearRecords();
    r.steps.loadResults = {LoadResult::kDamagedPool};
    r.h.prompts.openFiles = {r.In("damaged.qvp"), r.In("other.qvp")};
    r.Trigger("LdLayerPool");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open Layer Pool (*.qvp)|*.qvp",
                                                  std::string("message ") + kDamagedPoolText}));
  }

  // Saves take the path as chosen; those that retrieve the performance first
  // run under the hourglass; the slider's density reaches the MIDI export.
  void savesRunOnThePathAsChosenUnderTheirPointer() {
    Rig r;
    r.h.prefs.Density = 5;
    r.h.ApplyPreferences();
    const std::vector<std::tuple<const char*, const char*, int, bool>> saves = {
        {"SvWrkSpace", "SaveWorkspaceFile", -1, true},    {"SvSetupqvf", "SaveSetupFile", -1, true},
        {"SvSetupSyx", "SaveSetupSysExFile", -1, true},   {"SvSetupMid", "SaveSetupMidiFile", 5, true},
        {"SvPerform", "SavePerformanceFile", -1, true},   {"SvWrkSpaceText", "SaveWorkspaceText", -1, true},
        {"SvLayerPool", "SaveLayerPoolFile", -1, false},  {"SvMultAll", "SaveMultAllFile", -1, false},
        {"SvMult16", "SaveMultFile", 15, false}};
    for (const auto& [action, step, arg, hourglass] : saves) {
      r.steps.calls.clear();
      r.h.prompts.saveFiles.push_back(r.In(action));  // typed without an extension
      r.Trigger(action);
      QCOMPARE(r.steps.calls, (std::vector<RecordingSteps::Call>{{step, r.In(action), arg, hourglass}}));
      QVERIFY(QFile::exists(QString::fromStdString(r.In(action))));
      QVERIFY(!QGuiApplication::overrideCursor());
    }
    QVERIFY(r.h.prompts.Messages().empty());
  }

  // A save that cannot be written: one box naming the file and the reason,
  // shown after the pointer is back.
  void aFailedSaveShowsOneBoxNamingTheFile() {
    Rig r;
    const std::string path = r.In("missing/folder/ws.qvw");
    r.h.prompts.saveFiles.push_back(path);
    r.Trigger("SvWrkSpace");
    QCOMPARE(r.steps.calls.size(), std::size_t{1});
    QVERIFY(r.steps.calls[0].hourglass);
    QVERIFY(!QGuiApplication::overrideCursor());
    const auto messages = r.h.prompts.Messages();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].find("\"" + path + "\"") != std::string::npos);
    QVERIFY(messages[0].size() > path.size() + 30);  // the reason follows
  }

  // Debug > "Write sysex": the source, then the output; a source that
  // cannot be read ends the command before the save dialog.
  void writeSysexAsksForTheSourceThenTheOutput() {
    Rig r;
    QFile source(r.tmp.filePath("in.syx"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("\xF0\x43\xF7");
    source.close();
    r.h.prompts.openFiles = {r.In("in.syx")};
    r.h.prompts.saveFiles = {r.In("out")};
    r.Trigger("LdSysEx");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open " + kAnyFile, "save All Multis (*.qvm)|*.qvm"}));
    // The source's bytes as read before the save dialog.
    QCOMPARE(r.steps.calls.front(), (RecordingSteps::Call{"DumpSysExToText", "\xF0\x43\xF7"}));
    QCOMPARE(r.steps.calls.back().path, r.In("out"));

    r.h.ClearRecords();
    r.steps.calls.clear();
    r.h.prompts.openFiles = {r.In("none.syx")};
    r.Trigger("LdSysEx");
    r.h.prompts.openFiles = {r.tmp.path().toStdString()};  // a folder
    r.Trigger("LdSysEx");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"open " + kAnyFile, "open " + kAnyFile}));
    QVERIFY(r.steps.calls.empty());
  }

  // LdAid picks the loader by the kind; a refused file brings up the Load
  // menu's dialog of its kind.
  void loadAidPicksTheLoaderByItsKind() {
    Rig r;
    const std::vector<std::tuple<FileKind, const char*, const char*>> loaders = {
        {FileKind::kWorkspace, "*.qvw", "LoadWorkspaceFile"},
        {FileKind::kSetup, "*.qvf", "LoadSetupFile"},
        {FileKind::kPerformance, "*.qvx", "LoadPerformanceFile"},
        {FileKind::kLayerPool, "*.qvp", "LoadLayerPoolFile"},
        {FileKind::kAllMultis, "*.qvm", "LoadMultAllFile"}};
    for (const auto& [kind, pattern, step] : loaders) {
      r.steps.calls.clear();
      r.files.LdAid(kind, QString::fromStdString(r.In(pattern)));
      QCOMPARE(r.steps.calls, (std::vector<RecordingSteps::Call>{{step, r.In(pattern)}}));
      QCOMPARE(r.files.LoadFileName, r.In(pattern));
    }
    r.steps.calls.clear();
    // The single multi is no kind of the load aid; nor is a value outside the kinds.
    for (FileKind other : {FileKind::kSingleMulti, static_cast<FileKind>(-1), static_cast<FileKind>(6)})
      r.files.LdAid(other, "/x.qvw");
    QVERIFY(r.steps.calls.empty());

    r.steps.loadResults = {LoadResult::kWrongType};
    r.files.LdAid(FileKind::kPerformance, "/short.qvx");
    QCOMPARE(r.Shown(), (std::vector<std::string>{"message " + kWrongType + ".qvx", "open Peformance (*.qvx)|*.qvx"}));
  }

  // Load > "Load Aid": the effects panel closes, then the multi edit panel;
  // the window shows beside the main window, once made, and goes at exit
  // after the other windows.
  void loadAidCommandShowsTheWindowBesideTheMainWindow() {
    Rig r;
    QFile(r.tmp.filePath("a.qvw")).open(QIODevice::WriteOnly);
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
    QCOMPARE(r.steps.calls, (std::vector<RecordingSteps::Call>{
                                {"LoadWorkspaceFile", JoinFolderAndName(r.tmp.path(), "a.qvw").toStdString()}}));
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
    RecordingSteps steps;
    app.frmMain()->findChild<FileMenus*>()->UseSteps(steps);
    prompts.saveFiles.push_back(folder.filePath("setup.mid").toStdString());
    Child<QAction>(*app.frmMain(), "SvSetupMid")->trigger();
    QCOMPARE(steps.calls.size(), std::size_t{1});
    QCOMPARE(steps.calls[0].arg, 6);
  }
};

QTEST_MAIN(FileMenusTest)
#include "file_menus_test.moc"
