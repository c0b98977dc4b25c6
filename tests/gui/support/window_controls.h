#pragma once
// The main window's controls for a test, each found by its object name, and
// the handlers of the panels that own them.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <functional>

#include "mainwindow/developer_panel.h"
#include "mainwindow/effects_panel.h"
#include "mainwindow/layer_pool_panel.h"
#include "mainwindow/main_menu.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multi_column.h"
#include "mainwindow/multi_edit_panel.h"
#include "mainwindow/performance_panel.h"
#include "mainwindow/select_row.h"

namespace qv::test {

// The child of `w` named `name`; the test stops when there is none.
template <typename T>
T* Child(const QObject& w, const QString& name) {
  T* child = w.findChild<T*>(name);
  if (!child) qFatal("no control named %s", qPrintable(name));
  return child;
}

template <typename T>
T* Panel(const QObject& w) {
  T* panel = w.findChild<T*>();
  if (!panel) qFatal("no panel of that kind");
  return panel;
}

struct WindowControls {
  WindowControls(MainWindow& w, EditorCore& core);
  operator MainWindow&() const { return window; }

  MainWindow& window;
  EditorCore& core;
  std::function<void()>& onUnload;
  PerformancePanel* performance;
  MultiColumn* multis;
  LayerPoolPanel* pool;
  DeveloperPanel* developer;
  MainMenu* menus;
  MultiEditPanel* SSTab1;
  EffectsPanel* SSTab2;

  QTimer* Timer1;
  QRadioButton *OptPreset, *OptUser, *OptBank1, *OptBank2;
  QComboBox* CmbPrgm;
  QPushButton* CmdPrfm;
  QComboBox *CmbMidNtNo, *CmbMidVel;
  QSlider *SldNt, *SldVel;
  QListWidget* LbxLyrPool;
  QPushButton* CmdClrLyrPool;
  QListWidget* List1;
  std::array<QLineEdit*, 5> TxtParm;
  QPushButton *CmdRtrvParm, *CmdChngParm, *CmdChngCntl;
  QAction *WinOn, *WinOff, *AllNtsOff, *LocalOff, *ArpOff, *ExitMenu, *EditEffcts;

  struct LayerControls {
    QPushButton* CmdLyr;
    QLineEdit* TxtLyr;
  };
  std::array<LayerControls, 4> Layers;
  LayerControls& Layer(int layer) { return Layers.at(static_cast<std::size_t>(layer - 1)); }

  struct PartControls {
    QPushButton* CmdMult;
    QComboBox* CmbMult;
    QAction *RtrvMulti, *InitMlt, *EditMult;
  };
  PartControls Multi(int part) const;  // part index 4..15

  // The window's own and its state.
  template <typename T>
  T findChild(const QString& name = {}) const {
    return window.findChild<T>(name);
  }
  QWidget* centralWidget() const { return window.centralWidget(); }
  QWindow* windowHandle() const { return window.windowHandle(); }
  bool isVisible() const { return window.isVisible(); }
  bool close() const { return window.close(); }
  void Timer1_Timer() const { window.Timer1_Timer(); }
  const DataModel& Model() const { return core.State().Model; }
  // A part's caption as its button shows it, and one set as a file or the
  // edit panel sets it.
  QString PartCaption(int part) const;
  void SetPartCaption(int part, const QString& caption) const;

  // Handlers, through the panels that own them.
  static void SelectRow(QComboBox* combo, int row) { qv::SelectRow(combo, row); }
  void RtrvPerf_Click() const { menus->RtrvPerf_Click(); }
  void RtrvMulti_Click(int part) const { menus->RtrvMulti_Click(part); }
  void InitMltall_Click() const { menus->InitMltall_Click(); }
  void AllNtsOff_Click() const { menus->AllNtsOff_Click(); }
  // Edit > Multi on part index 4..15, as the menu item does it.
  void EditMult(int part) const { Child<QAction>(window, QString("EditMult%1").arg(part + 1))->trigger(); }
  void LbxLyrPool_DragDrop(const QString& source) const { pool->LbxLyrPool_DragDrop(DraggedThing(source)); }
  void LbxLyrPool_DblClick() const { pool->LbxLyrPool_DblClick(); }
  // The row selected in the pool list, as the editor state holds it and the
  // list shows it; -2 when the two differ.
  int SelectedPoolRow() const;
};

}  // namespace qv::test
