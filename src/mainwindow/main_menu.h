#pragma once
// The menus of the main window with their items and handlers: File
// (preferences, exit), Load and Save (file_menus.h), Edit (asks the editor to
// open an edit panel), Retrieve, Initialize, Midi (notes off and the check
// marks), Debug and Help.

#include <QMenuBar>
#include <QPointer>

#include <functional>

#include "files/editor_core.h"
#include "link/prompts.h"

class QAction;
class QDialog;
class QMenu;

namespace qv {

class FileMenus;

class MainMenu : public QMenuBar {
  Q_OBJECT
 public:
  // showPreferences runs for File > "Startup Preferences".
  MainMenu(EditorCore& core, Prompts& prompts, std::function<void()> showPreferences, QWidget* parent = nullptr);

  QMenu* DebugMenu() const { return debug_; }
  // Load, Save, Debug > "Write sysex" and the load aid.
  FileMenus& Files() const { return *files_; }

  void StrtupPref_Click();
  void ExitMenu_Click();  // asks the window to close
  void EditEffcts_Click();
  void RtrvPerf_Click();
  void RtrvAllMulti_Click();
  void RtrvMulti_Click(int part);   // RtrvMulti5_Click .. RtrvMulti16_Click: part index 4..15
  void InitMltall_Click();
  void InitMlt_Click(int part);     // InitMlt5_Click .. InitMlt16_Click: part index 4..15
  void AllNtsOff_Click();
  // Each toggles its check mark in the editor state, which sends the new
  // value; the item then shows the state's mark.
  void LocalOff_Click();
  void ArpOff_Click();
  void About_Click();  // shows the about box

 private:
  void BuildFileMenu();
  void BuildEditMenu();
  void BuildRetrieveAndInitMenus();
  void BuildMidiMenu();
  void DrawMidiChecks();

  Session& session_;
  Prompts& prompts_;
  std::function<void()> showPreferences_;
  QAction* localOff_ = nullptr;       // LocalOff, checkable
  QAction* arpOff_ = nullptr;         // ArpOff, checkable
  QAction* transmitChannel_ = nullptr;  // TrnsChnlAssgn, checkable; read by the audition
  QMenu* debug_ = nullptr;
  FileMenus* files_ = nullptr;
  QPointer<QDialog> aboutBox_;
};

}  // namespace qv
