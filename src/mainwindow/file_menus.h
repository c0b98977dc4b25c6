#pragma once
// The Load and Save menus, Debug > "Write sysex" and the load aid: the
// dialogs, the boxes and the pointer around the load and save steps.
//  - A cancelled dialog ends the command: nothing is read, written, retrieved
//    or sent.
//  - A file of the wrong length or kind gives its kind's box, then the
//    command's own open dialog again (a nested run of the same command).
//  - A Layer Pool that fails its check gives one box; so does a file that
//    cannot be read, naming the file and the reason.
//  - A save that fails gives one box naming the file and the reason.
//  - The saves that retrieve the performance first show the hourglass until
//    the file is written, also when it fails.
//  - "Write sysex" never writes over the file it lists.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "files/file_steps.h"

class QMenu;
class QMenuBar;

namespace qv {

class LoadAidWindow;
class Prompts;
class Session;
class EditorCore;

class FileMenus : public QObject {
  Q_OBJECT
 public:
  // Adds the menus "Load" and "Save" to `bar`.
  // Each item runs as one command of the editor.
  FileMenus(FileSteps& steps, Session& session, Prompts& prompts, const EditorCore& core, QMenuBar& bar);
  ~FileMenus() override;

  // Debug > "Write sysex".
  void AddDebugItems(QMenu* debug);

  // The file that the last load command chose (but the single multi's).
  std::string LoadFileName;

  // ---- Load ---------------------------------------------------------------
  void LdWrkSpace_Click();
  void LdFullSetup_Click();
  void LdLayerPool_Click();
  void LdPerform_Click();
  void LdMultAll_Click();
  void LdMult_Click(int part);  // LdMult5_Click .. LdMult16_Click: part index 4..15
  // Hides the effects panel, then the multi edit panel, then shows the load
  // aid beside the main window.
  void LdAidSub_Click();
  // Runs the loader of `kind` (workspace, setup, performance, layer pool or
  // all multis) on `path`; any other kind does nothing.
  void LdAid(FileKind kind, const QString& path);

  // ---- Save ---------------------------------------------------------------
  void SvWrkSpace_Click();
  void SvSetupqvf_Click();
  void SvSetupSyx_Click();
  void SvSetupMid_Click();
  void SvLayerPool_Click();
  void SvPerform_Click();
  void SvMultAll_Click();
  void SaveMultDialog(int part);  // SvMult5_Click .. SvMult16_Click: part index 4..15
  void SvWrkSpaceText_Click();

  // ---- Debug --------------------------------------------------------------
  void LdSysEx_Click();

  // The load aid window, made on the first Load > "Load Aid".
  LoadAidWindow* frmLoadAid() const;
  // At exit, after the preferences dialog.
  void UnloadLoadAid();

 private:
  void BuildLoadMenu(QMenuBar& bar);
  void BuildSaveMenu(QMenuBar& bar);
  // The boxes after a load; `again` is the command's own dialog.
  void AfterLoad(FileKind kind, LoadResult result, const std::function<void()>& again);
  // The save dialog with `filter` (proposing `proposed` and told of the
  // save's `source` when given), then `step` on the chosen path, under the
  // hourglass when `retrieves`.
  void Save(const char* filter, bool retrieves, const std::function<SaveResult(const std::string&)>& step,
            const std::string& proposed = {}, const std::string& source = {});
  void ReportFailedSave(const std::string& path, const std::string& reason);
  // The open dialog of a load whose path goes through LoadFileName, then
  // that load.
  void OpenAndLoad(FileKind kind);
  void LoadNamed(FileKind kind, const std::string& path);

  FileSteps& steps_;
  Session& session_;
  Prompts& prompts_;
  const EditorCore& core_;  // the preferences in force: the density of the MIDI file export
  QMenuBar& bar_;
  QPointer<LoadAidWindow> loadAid_;
};

}  // namespace qv
