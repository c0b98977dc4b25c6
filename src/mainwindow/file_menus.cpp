#include "mainwindow/file_menus.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <array>
#include <optional>

#include "editor/session.h"
#include "files/editor_core.h"
#include "files/file_io.h"
#include "files/file_names.h"
#include "files/text_exports.h"
#include "filewindows/load_aid_window.h"
#include "link/prompts.h"
#include "mainwindow/command.h"
#include "mainwindow/named.h"
#include "files/preferences_record.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

namespace {

// The dialogs' filters beside those of the file kinds: pairs of a
// description and a pattern.
constexpr const char* kSysExSetupFilter = "Syx-Ex Setup (*.syx)|*.syx";
constexpr const char* kMidiSetupFilter = "Mid Type 0 Setup (*.mid)|*.mid";
constexpr const char* kWorkspaceTextFilter = "Workspace Description Text (*.txt)|*.txt";
constexpr const char* kTextDumpFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

// The failed-save box's reason when "Write sysex" is aimed at its own source.
constexpr const char* kListedFileReason = "It is the file being listed; nothing was written.";

const char* OpenFilter(FileKind kind) { return FileKindOf(kind)->openFilter; }
const char* SaveFilter(FileKind kind) { return FileKindOf(kind)->saveFilter; }

// A menu item whose handler runs as one command of the editor.
template <typename Handler>
QAction* Item(QMenu* menu, const QString& name, const QString& caption, QObject* context, Session& session,
              Handler handler) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  QObject::connect(action, &QAction::triggered, context, AsCommand(session, std::move(handler)));
  return action;
}

}  // namespace

FileMenus::FileMenus(FileSteps& steps, Session& session, Prompts& prompts, const EditorCore& core,
                     QMenuBar& bar)
    : QObject(&bar),
      steps_(steps),
      session_(session),
      prompts_(prompts),
      core_(core),
      bar_(bar) {
  setObjectName("FileMenus");
  BuildLoadMenu(bar);
  BuildSaveMenu(bar);
}

FileMenus::~FileMenus() { UnloadLoadAid(); }

void FileMenus::BuildLoadMenu(QMenuBar& bar) {
  QMenu* load = NamedMenu(&bar, "load", "Load");
  Item(load, "LdWrkSpace", "Workspace", this, session_, [this] { LdWrkSpace_Click(); });
  Item(load, "LdFullSetup", "Setup", this, session_, [this] { LdFullSetup_Click(); });
  Item(load, "LdLayerPool", "Layer Pool", this, session_, [this] { LdLayerPool_Click(); });
  Item(load, "LdPerform", "Performance", this, session_, [this] { LdPerform_Click(); });
  Item(load, "LdMultAll", "All Multis", this, session_, [this] { LdMultAll_Click(); });
  QMenu* multi = NamedMenu(load, "LdMult", "Multi");
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int n = part + 1;
    Item(multi, QString("LdMult%1").arg(n), QString("Multi %1").arg(n), this, session_, [this, part] { LdMult_Click(part); });
  }
  Item(load, "LdAidSub", "Load Aid", this, session_, [this] { LdAidSub_Click(); });
}

void FileMenus::BuildSaveMenu(QMenuBar& bar) {
  QMenu* save = NamedMenu(&bar, "Save", "Save");
  Item(save, "SvWrkSpace", "Workspace", this, session_, [this] { SvWrkSpace_Click(); });
  QMenu* setup = NamedMenu(save, "SvfullSetup", "Setup");
  Item(setup, "SvSetupqvf", "as .qvf", this, session_, [this] { SvSetupqvf_Click(); });
  Item(setup, "SvSetupSyx", "as Sys-Ex", this, session_, [this] { SvSetupSyx_Click(); });
  Item(setup, "SvSetupMid", "as Midi type 0", this, session_, [this] { SvSetupMid_Click(); });
  Item(save, "SvLayerPool", "Layer Pool", this, session_, [this] { SvLayerPool_Click(); });
  Item(save, "SvPerform", "Performance", this, session_, [this] { SvPerform_Click(); });
  Item(save, "SvMultAll", "All Multis", this, session_, [this] { SvMultAll_Click(); });
  QMenu* multi = NamedMenu(save, "SvMult", "Multi");
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int n = part + 1;
    Item(multi, QString("SvMult%1").arg(n), QString("Multi %1").arg(n), this, session_, [this, part] { SaveMultDialog(part); });
  }
  Item(save, "SvWrkSpaceText", "Workspace Desc Text", this, session_, [this] { SvWrkSpaceText_Click(); });
}

void FileMenus::AddDebugItems(QMenu* debug) {
  Item(debug, "LdSysEx", "Write sysex", this, session_, [this] { LdSysEx_Click(); });
}

// ---- Load ------------------------------------------------------------------

void FileMenus::AfterLoad(FileKind kind, LoadResult result, const std::function<void()>& again) {
  switch (result) {
    case LoadResult::kWrongType:
      prompts_.Message(WrongTypeText(kind));
      again();
      break;
    case LoadResult::kDamagedPool:
      prompts_.Message(kDamagedPoolText);
      break;
    case LoadResult::kCannotRead:
    case LoadResult::kNoData:
      if (!result.text.empty()) prompts_.Message(result.text);
      break;
    case LoadResult::kLoaded:
      break;
  }
}

namespace {

// The loads whose path goes through LoadFileName: the kind, the step, and the
// menu command whose dialog comes again after a refusal.
struct NamedLoad {
  FileKind kind;
  LoadResult (FileSteps::*step)(const std::string&);
  void (FileMenus::*command)();
};

constexpr std::array<NamedLoad, 5> kNamedLoads = {{
    {FileKind::kWorkspace, &FileSteps::LoadWorkspaceFile, &FileMenus::LdWrkSpace_Click},
    {FileKind::kSetup, &FileSteps::LoadSetupFile, &FileMenus::LdFullSetup_Click},
    {FileKind::kPerformance, &FileSteps::LoadPerformanceFile, &FileMenus::LdPerform_Click},
    {FileKind::kLayerPool, &FileSteps::LoadLayerPoolFile, &FileMenus::LdLayerPool_Click},
    {FileKind::kAllMultis, &FileSteps::LoadMultAllFile, &FileMenus::LdMultAll_Click},
}};

const NamedLoad* LoadOf(FileKind kind) {
  const auto load =
      std::find_if(kNamedLoads.begin(), kNamedLoads.end(), [kind](const NamedLoad& l) { return l.kind == kind; });
  return load == kNamedLoads.end() ? nullptr : &*load;
}

}  // namespace

void FileMenus::OpenAndLoad(FileKind kind) {
  const auto path = prompts_.OpenFile(OpenFilter(kind));
  if (path) LoadNamed(kind, *path);
}

void FileMenus::LoadNamed(FileKind kind, const std::string& path) {
  const NamedLoad* load = LoadOf(kind);
  if (!load) return;
  LoadFileName = path;
  AfterLoad(kind, (steps_.*load->step)(LoadFileName), [this, load] { (this->*load->command)(); });
}

void FileMenus::LdWrkSpace_Click() { OpenAndLoad(FileKind::kWorkspace); }
void FileMenus::LdFullSetup_Click() { OpenAndLoad(FileKind::kSetup); }
void FileMenus::LdLayerPool_Click() { OpenAndLoad(FileKind::kLayerPool); }
void FileMenus::LdPerform_Click() { OpenAndLoad(FileKind::kPerformance); }
void FileMenus::LdMultAll_Click() { OpenAndLoad(FileKind::kAllMultis); }

// The single multi's path goes straight to its loader, not through LoadFileName.
void FileMenus::LdMult_Click(int part) {
  if (part < kFirstMultiPart || part > kLastMultiPart) return;
  const auto path = prompts_.OpenFile(OpenFilter(FileKind::kSingleMulti));
  if (!path) return;
  AfterLoad(FileKind::kSingleMulti, steps_.LoadMultFile(part, *path), [this, part] { LdMult_Click(part); });
}

void FileMenus::LdAidSub_Click() {
  session_.HideEffectsPanel();
  session_.HideMultiEditPanel();
  QWidget* main = bar_.window();
  if (!loadAid_)
    loadAid_ = new LoadAidWindow(
        AsCommand(session_, [this](FileKind kind, const QString& path) { LdAid(kind, path); }), main);
  // The main window takes its size without the panels first.
  QCoreApplication::sendPostedEvents(main, QEvent::MetaCall);
  const QWidget* pool = main->findChild<QWidget*>(QStringLiteral("LbxLyrPool"));
  loadAid_->ShowBeside(*main, pool ? QRect(pool->mapToGlobal(QPoint(0, 0)), pool->size()) : QRect());
}

// A refused file brings up the Load menu's dialog of its kind, as it would
// after that menu.
void FileMenus::LdAid(FileKind kind, const QString& path) { LoadNamed(kind, path.toStdString()); }

LoadAidWindow* FileMenus::frmLoadAid() const { return loadAid_.data(); }

void FileMenus::UnloadLoadAid() { delete loadAid_.data(); }

// ---- Save ------------------------------------------------------------------

void FileMenus::Save(const char* filter, bool retrieves,
                     const std::function<SaveResult(const std::string&)>& step, const std::string& proposed,
                     const std::string& source) {
  const auto path = prompts_.SaveFile(filter, proposed, source);
  if (!path) return;
  SaveResult result;
  {
    std::optional<WaitCursor> hourglass;
    if (retrieves) hourglass.emplace();
    result = step(*path);
  }
  if (!result)
    ReportFailedSave(*path, result.reason);
  else if (!result.notice.empty())
    prompts_.Message(result.notice);
}

void FileMenus::ReportFailedSave(const std::string& path, const std::string& reason) {
  prompts_.Message(FailedSaveText(path, reason));
}

void FileMenus::SvWrkSpace_Click() {
  Save(SaveFilter(FileKind::kWorkspace), true, [this](const std::string& path) { return steps_.SaveWorkspaceFile(path); });
}

void FileMenus::SvSetupqvf_Click() {
  Save(SaveFilter(FileKind::kSetup), true, [this](const std::string& path) { return steps_.SaveSetupFile(path); });
}

void FileMenus::SvSetupSyx_Click() {
  Save(kSysExSetupFilter, true, [this](const std::string& path) { return steps_.SaveSetupSysExFile(path); });
}

void FileMenus::SvSetupMid_Click() {
  Save(kMidiSetupFilter, true, [this](const std::string& path) {
    return steps_.SaveSetupMidiFile(path, core_.Preferences().Density);
  });
}

void FileMenus::SvLayerPool_Click() {
  Save(SaveFilter(FileKind::kLayerPool), false, [this](const std::string& path) { return steps_.SaveLayerPoolFile(path); });
}

void FileMenus::SvPerform_Click() {
  Save(SaveFilter(FileKind::kPerformance), true, [this](const std::string& path) { return steps_.SavePerformanceFile(path); });
}

void FileMenus::SvMultAll_Click() {
  Save(SaveFilter(FileKind::kAllMultis), false, [this](const std::string& path) { return steps_.SaveMultAllFile(path); });
}

void FileMenus::SaveMultDialog(int part) {
  if (part < kFirstMultiPart || part > kLastMultiPart) return;
  Save(SaveFilter(FileKind::kSingleMulti), false, [this, part](const std::string& path) { return steps_.SaveMultFile(part, path); });
}

void FileMenus::SvWrkSpaceText_Click() {
  Save(kWorkspaceTextFilter, true,
       [this](const std::string& path) { return steps_.SaveWorkspaceText(path); });
}

// ---- Debug -----------------------------------------------------------------

// A source that cannot be read ends the command with a box, before the save
// dialog; a cancelled save dialog writes nothing. The output never replaces
// the source, not even through a link: the dialog hands the source's name
// back without asking to replace it, and the failed-save box refuses it.
void FileMenus::LdSysEx_Click() {
  const auto in = prompts_.OpenFile(kAnyFileFilter);
  if (!in) return;
  const FileReadResult source = ReadRegularFile(*in, kSysExDumpLimit);
  if (!source) {
    prompts_.Message(FailedLoadText(*in, source.reason));
    return;
  }
  const std::string& input = *in;
  Save(
      kTextDumpFilter, false,
      [this, &source, &input](const std::string& path) {
        if (SameFile(input, path)) return SaveResult{{false, kListedFileReason}, {}};
        return steps_.DumpSysExToText(source.bytes, path);
      },
      input + ".txt", input);
}

}  // namespace qv
