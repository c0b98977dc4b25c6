#pragma once
// The main window: the performance panel, the audition controls, the column
// of multi parts with their channels, the Layer Pool, the edit panels and
// the menus. It owns the data model, the MIDI link and the session.

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "instrument/data_model.h"
#include "instrument/session.h"
#include "link/midi_link.h"
#include "mainwindow/effects_panel.h"
#include "mainwindow/multi_edit_panel.h"
#include "mainwindow/startup_preferences.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace qv {

class MainWindow : public QMainWindow, public SessionView, public MultiEditHost, public EffectsHost {
  Q_OBJECT

 public:
  MainWindow(MidiBackend& backend, Prompts& prompts, Clock& clock, StartupPreferences& prefs,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  DataModel& Model() { return model_; }
  MidiLink& Link() { return *link_; }
  Session& Sess() { return *session_; }
  Prompts& UserPrompts() { return prompts_; }
  StartupPreferences& Prefs() { return prefs_; }

  // ---- Start-up ---------------------------------------------------------
  QTimer* Timer1 = nullptr;  // one shot, 1000 ms after the window is made
  void Timer1_Timer();
  void Form_Loadx();
  // Run when the start-up work has ended (the splash closes).
  std::function<void()> onStartupWorkDone;

  // ---- Performance choice -----------------------------------------------
  QGroupBox* Frame1 = nullptr;
  QRadioButton* OptPreset = nullptr;
  QRadioButton* OptUser = nullptr;
  QGroupBox* Frame2 = nullptr;
  QRadioButton* OptBank1 = nullptr;
  QRadioButton* OptBank2 = nullptr;
  QComboBox* CmbPrgm = nullptr;
  void OptPreset_Click();
  void OptUser_Click();
  void OptBank1_Click();
  void OptBank2_Click();
  void CmbPrgm_Click();
  void LoadPresetNames();  // the preset list of LoadEffectAndPresetTables

  // ---- Performance and layers -------------------------------------------
  QPushButton* CmdPrfm = nullptr;
  struct LayerControls {
    int layer = 0;  // 1..4
    QPushButton* CmdLyr = nullptr;
    QLineEdit* TxtLyr = nullptr;
  };
  std::array<LayerControls, 4> Layers;
  LayerControls& Layer(int layer) { return Layers.at(static_cast<std::size_t>(layer - 1)); }

  // ---- Audition note and velocity ---------------------------------------
  QComboBox* CmbMidNtNo = nullptr;
  QSlider* SldNt = nullptr;
  QComboBox* CmbMidVel = nullptr;
  QSlider* SldVel = nullptr;
  void CmbMidNtNo_Click();
  void CmbMidVel_Click();
  void SldNt_Update();
  void SldVel_Update();
  int NoteRow() const;
  int VelocityRow() const;
  // All Notes Off on every channel, then the audition note's Note Off on every channel.
  void StopAudition() override;

  // ---- Multi parts --------------------------------------------------------
  struct MultiPartControls {
    int part = 0;  // part index 4..15 (multi number part + 1)
    QPushButton* CmdMult = nullptr;
    QComboBox* CmbMult = nullptr;
    QAction* RtrvMulti = nullptr;
    QAction* InitMlt = nullptr;
    QAction* EditMult = nullptr;
  };
  std::array<MultiPartControls, 12> Multis;
  MultiPartControls& Multi(int part) { return Multis.at(static_cast<std::size_t>(part - kFirstMultiPart)); }
  static QString DefaultMultiCaption(int part);  // "Multi Part M5" .. "Multi Part M16"
  void CmbMult_Click(int part);
  void InitMlt_Click(int part);
  void InitMltall_Click();
  void RtrvMulti_Click(int multi);
  void RtrvAllMulti_Click();
  void RtrvPerf_Click();

  // ---- Layer Pool ---------------------------------------------------------
  QListWidget* LbxLyrPool = nullptr;
  QPushButton* CmdClrLyrPool = nullptr;

  // ---- Edit panels --------------------------------------------------------
  QMenu* EditMenu = nullptr;
  QAction* EditEffcts = nullptr;
  MultiEditPanel* SSTab1 = nullptr;
  EffectsPanel* SSTab2 = nullptr;
  void EditEffcts_Click();
  QString PartCaption(int part) override;
  void SetPartCaption(int part, const QString& caption) override;
  bool MultiEditShown() const;
  void EditMult(int part);  // EditMult5_Click .. EditMult16_Click: the panel on part index 4..15
  void ShowMultEdit();
  void SetMultEditName(const QString& text);  // sets the text of TxtName1
  void ShowEditedName();

  // ---- Help ---------------------------------------------------------------
  QMenu* HelpMenu = nullptr;
  QAction* About = nullptr;
  void About_Click();  // shows the about box

  // ---- Developer controls -------------------------------------------------
  QListWidget* List1 = nullptr;  // trace of the last dump transaction
  // The parameter window: hidden until Debug > "Window On".
  QMenu* Debug = nullptr;
  QAction* WinOn = nullptr;
  QAction* WinOff = nullptr;
  std::array<QLineEdit*, 5> TxtParm{};  // model, three address bytes, data
  QPushButton* CmdRtrvParm = nullptr;
  QPushButton* CmdChngParm = nullptr;
  QPushButton* CmdChngCntl = nullptr;
  void WinOn_Click();
  void WinOff_Click();
  void CmdChngCntl_Click();
  void CmdChngParm_Click();
  void CmdRtrvParm_Click();
  // The parameter change typed into TxtParm 0..4; nothing when a box is not valid.
  void SendParmChange();
  // The parameter request typed into TxtParm 1..3; nothing when a box is not valid.
  std::optional<Bytes> RqstParm() const;

  // ---- Midi menu and exit -------------------------------------------------
  QMenu* MidiMenu = nullptr;
  QAction* AllNtsOff = nullptr;
  QAction* LocalOff = nullptr;       // checkable
  QAction* ArpOff = nullptr;         // checkable
  QAction* TrnsChnlAssgn = nullptr;  // checkable; read by the audition
  QAction* ExitMenu = nullptr;       // File > "Exit"
  void AllNtsOff_Click();
  void LocalOff_Click();
  void ArpOff_Click();
  void TrnsChnlAssgn_Click();
  void ExitMenu_Click();  // asks the window to close, which runs Form_Unload
  // Asks the user; on OK closes the MIDI devices that are open and runs
  // onUnload. Sets cancel when the window is to stay open.
  void Form_Unload(bool& cancel);
  // Run at exit after the devices are closed: unloads the other windows.
  std::function<void()> onUnload;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetUpMidiMenuExitAndDebug();
  void BuildMidiMenu();
  void BuildExitItem();
  void BuildDeveloperControls();
  void SendLocalOff();  // the value of the check mark as it stands
  void SendArpOff();
  std::vector<QWidget*> DeveloperControls() const;
  std::string ParmText(int index) const;

 public:

  // ---- Menus --------------------------------------------------------------
  QMenu* FileMenu = nullptr;
  QAction* StrtupPref = nullptr;
  QMenu* Retrv = nullptr;
  QAction* RtrvPerf = nullptr;
  QAction* RtrvAllMulti = nullptr;
  QMenu* Init = nullptr;
  QAction* InitMltall = nullptr;
  void StrtupPref_Click();

  // Selects `row` in `combo` from code and runs the combo's handler, as a
  // choice by the user does.
  void SelectRow(QComboBox* combo, int row);

  // ---- Audition and Layer Pool: mouse, drag and drop ------------------------
  // Wires the audition buttons, the drag sources and the drop targets; run
  // once by the constructor.
  void SetUpAuditionAndDragDrop();
  // The check mark of Midi > "Trans Chnl Assigned by Audition".
  bool TransmitChannelAssigned() const;
  // Press and release of the audition buttons (mouse only).
  void CmdPrfm_MouseDown();
  void CmdPrfm_MouseUp();
  void CmdLyr_MouseDown(int layer);  // layer 1..4
  void CmdLyr_MouseUp(int layer);
  void CmdMult_MouseDown(int part);  // part index 4..15
  void CmdMult_MouseUp(int part);
  // A drop of the control named `source` on `target`: the drop work of the
  // nearest control at or above `target` that has any, else the window's.
  void DropOn(QWidget* target, const QString& source);
  int DropsTaken() const { return dropsTaken_; }
  void Form_DragDrop(const QString& source);
  void LbxLyrPool_DragDrop(const QString& source);
  void CmdMult_DragDrop(int part, const QString& source);
  void LbxLyrPool_DblClick();
  void CmdClrLyrPool_Click();
  int SelectedPoolRow() const;  // -1 when no row of the pool list is selected

  // ---- SessionView --------------------------------------------------------
  int PerformanceChannel() override;
  void ShowPerformance(const std::string& name) override;
  void SetPartChannelRow(int part, int row) override;
  int PartChannelRow(int part) override;
  void ShowPartIfEditing(int part) override;
  void ClearTrace() override;
  void AddTraceLine(const std::string& line) override;

 private:
  QWidget* BuildPerformancePanel();
  QWidget* BuildAuditionPanel();
  QWidget* BuildMultiColumn();
  QWidget* BuildLayerPoolPanel();
  QWidget* BuildEditPanels();
  void BuildHelpMenu();
  void BuildMenus();
  void StartupWork();
  // Loads the start-up workspace; false when it was not loaded.
  bool LoadStartupWorkspace(const QString& path);
  void LoadEffectAndPresetTables();
  void HideEditPanels();
  void RefillEffectsPanelIfShown();

  MidiBackend& backend_;
  Prompts& prompts_;
  Clock& clock_;
  StartupPreferences& prefs_;
  DataModel model_;
  std::unique_ptr<MidiLink> link_;
  std::unique_ptr<Session> session_;
  int dropsTaken_ = 0;  // drops this window has handled
  QPointer<QDialog> aboutBox_;
};

}  // namespace qv
