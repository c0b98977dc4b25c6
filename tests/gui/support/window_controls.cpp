#include "window_controls.h"

#include "mainwindow/caption.h"
#include "mainwindow/latin1.h"

namespace qv::test {

WindowControls::WindowControls(MainWindow& w, EditorCore& c)
    : window(w),
      core(c),
      onUnload(w.onUnload),
      performance(Panel<PerformancePanel>(w)),
      multis(Panel<MultiColumn>(w)),
      pool(Panel<LayerPoolPanel>(w)),
      developer(Panel<DeveloperPanel>(w)),
      menus(Panel<MainMenu>(w)),
      SSTab1(Child<MultiEditPanel>(w, "SSTab1")),
      SSTab2(Child<EffectsPanel>(w, "SSTab2")),
      Timer1(Child<QTimer>(w, "Timer1")),
      OptPreset(Child<QRadioButton>(w, "OptPreset")),
      OptUser(Child<QRadioButton>(w, "OptUser")),
      OptBank1(Child<QRadioButton>(w, "OptBank1")),
      OptBank2(Child<QRadioButton>(w, "OptBank2")),
      CmbPrgm(Child<QComboBox>(w, "CmbPrgm")),
      CmdPrfm(Child<QPushButton>(w, "CmdPrfm")),
      CmbMidNtNo(Child<QComboBox>(w, "CmbMidNtNo")),
      CmbMidVel(Child<QComboBox>(w, "CmbMidVel")),
      SldNt(Child<QSlider>(w, "SldNt")),
      SldVel(Child<QSlider>(w, "SldVel")),
      LbxLyrPool(Child<QListWidget>(w, "LbxLyrPool")),
      CmdClrLyrPool(Child<QPushButton>(w, "CmdClrLyrPool")),
      List1(Child<QListWidget>(w, "List1")),
      CmdRtrvParm(Child<QPushButton>(w, "CmdRtrvParm")),
      CmdChngParm(Child<QPushButton>(w, "CmdChngParm")),
      CmdChngCntl(Child<QPushButton>(w, "CmdChngCntl")),
      WinOn(Child<QAction>(w, "WinOn")),
      WinOff(Child<QAction>(w, "WinOff")),
      AllNtsOff(Child<QAction>(w, "AllNtsOff")),
      LocalOff(Child<QAction>(w, "LocalOff")),
      ArpOff(Child<QAction>(w, "ArpOff")),
      ExitMenu(Child<QAction>(w, "ExitMenu")),
      EditEffcts(Child<QAction>(w, "EditEffcts")) {
  for (int i = 0; i < 5; ++i) TxtParm[static_cast<std::size_t>(i)] = Child<QLineEdit>(w, QString("TxtParm_%1").arg(i));
  for (int l = 1; l <= 4; ++l)
    Layer(l) = {Child<QPushButton>(w, QString("CmdLyr%1").arg(l)), Child<QLineEdit>(w, QString("TxtLyr%1").arg(l))};
}

WindowControls::PartControls WindowControls::Multi(int part) const {
  const int multi = part + 1;
  return {Child<QPushButton>(window, QString("CmdMult%1").arg(multi)),
          Child<QComboBox>(window, QString("CmbMult%1").arg(multi)),
          Child<QAction>(window, QString("RtrvMulti%1").arg(multi)),
          Child<QAction>(window, QString("InitMlt%1").arg(multi)),
          Child<QAction>(window, QString("EditMult%1").arg(multi))};
}

QString WindowControls::PartCaption(int part) const { return Caption(Multi(part).CmdMult); }

void WindowControls::SetPartCaption(int part, const QString& caption) const {
  core.Editor().SetPartCaption(part, ToLatin1(caption));
}

int WindowControls::SelectedPoolRow() const {
  const QList<QListWidgetItem*> shown = LbxLyrPool->selectedItems();
  const int row = core.State().SelectedPoolRow;
  return (shown.isEmpty() ? -1 : LbxLyrPool->row(shown.first())) == row ? row : -2;
}

}  // namespace qv::test
