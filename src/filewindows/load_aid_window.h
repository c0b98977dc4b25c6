#pragma once
// The load aid: a small file chooser that stays open beside the main window.
// The user picks a kind of file and moves through drives and folders; every
// file of the folder that matches the kind's pattern is listed, and a click on
// one (or moving onto it with the arrow keys) hands it to the main window's
// loader at once.

#include <QComboBox>
#include <QEvent>
#include <QListWidget>
#include <QPoint>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>

#include "files/file_kinds.h"

namespace qv {

// A folder and a file name joined with the platform's separator.
QString JoinFolderAndName(const QString& folder, const QString& name);

class LoadAidWindow : public QWidget {
  Q_OBJECT
 public:
  // The main window's LdAid: the kind of the listed files and the chosen
  // file's full path.
  using LoadHandler = std::function<void(FileKind kind, const QString& path)>;

  // Form_Load: the kinds, the workspace files listed, and the lists on the
  // process's current folder. The window stays hidden until ShowBeside.
  explicit LoadAidWindow(LoadHandler ldAid, QWidget* parent = nullptr);

  // Shows the window without blocking anything and brings it to the front,
  // wholly within the available area of `main`'s screen. The first showing
  // places it 8200 x 1300 twips right of and below the corner of `main`'s
  // frame where it fits there; a place over `keepClear` (the Layer Pool
  // list, on the screen) gives way to one beside `main` when the screen has
  // room there; otherwise it moves just as far as the screen needs. Later
  // showings keep the place the window has, moved back onto the screen in
  // the same way, unless that place lies over `keepClear`: then the window
  // is placed as on its first showing.
  void ShowBeside(const QWidget& main, const QRect& keepClear = {});

  // The folder whose files are listed, and the kind they are.
  QString Folder() const { return folder_; }
  FileKind Kind() const { return kind_; }

  // cmbLdAid_Click: the kind of row `row` is chosen; the file list follows.
  void cmbLdAid_Click(int row);
  // drvLdAid_Change: another drive, that of row `row`, is chosen.
  void drvLdAid_Change(int row);
  // dirLdAid_Change: the folder `folder` is chosen.
  void dirLdAid_Change(const QString& folder);
  // flLdAid_Click: the file of row `row` is chosen and handed to LdAid.
  void flLdAid_Click(int row);
  // cmdLdAid_Click: "Done", or Escape, hides the window.
  void cmdLdAid_Click();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Sizes the window and places the controls for the font in use.
  void PlaceControls();
  void ShowPlaceholderAsText();
  void FillDrives();
  // Moves the folder and file lists to `folder`; false, with the lists left
  // as they were, when it cannot be read.
  bool MoveTo(const QString& folder);
  void FillFolders();
  void FillFiles();
  // Shows the drive and folder rows of the current folder again.
  void SelectCurrentPlace();

  QComboBox* drives_ = nullptr;    // drvLdAid
  QListWidget* folders_ = nullptr; // dirLdAid
  QListWidget* files_ = nullptr;   // flLdAid
  QComboBox* kinds_ = nullptr;     // cmbLdAid
  QPushButton* done_ = nullptr;    // cmdLdAid

  LoadHandler ldAid_;
  QString folder_;
  FileKind kind_ = FileKind::kWorkspace;
  bool placed_ = false;
  bool loading_ = false;
};

}  // namespace qv
