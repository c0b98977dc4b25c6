#include "filewindows/load_aid_window.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPalette>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>
#include <array>
#include <utility>

namespace qv {

namespace {

// The kinds of file offered, each a label padded with blanks, "|" and the
// file pattern. The blanks line the "|" up roughly in a proportional font; a
// fixed-pitch one would scatter it (14, 21, 14, 18 and 16 characters before).
const std::array<const char*, 5> kKindRows = {
    "Workspace     |*.qvw",         //
    "Setup                |*.qvf",  //
    "Performance   |*.qvx",         //
    "Layer Pool        |*.qvp",     //
    "All Multis      |*.qvm",       //
};

// Places are given in twips: 15 to a pixel at 96 dots per inch.
int Px(int twips) { return (twips + 7) / 15; }

// The window's size and the controls' places, in twips.
constexpr int kWidth = 2415, kHeight = 6435;
struct Twips {
  int left, top, width, height;
};
constexpr Twips kDrives{0, 0, 2415, 315}, kFolders{0, 360, 2415, 1215}, kFiles{0, 1680, 2415, 4380},
    kKinds{0, 6120, 1815, 315}, kDone{1920, 6120, 495, 255};

// A place grown by `scale`. Each edge is rounded on its own, so controls
// keep their distances and the window's edges.
int Scaled(int twips, qreal scale) { return qRound(twips * scale / 15); }
QRect Place(const Twips& at, qreal scale) {
  return QRect(QPoint(Scaled(at.left, scale), Scaled(at.top, scale)),
               QPoint(Scaled(at.left + at.width, scale) - 1, Scaled(at.top + at.height, scale) - 1));
}

// The factor by which `twips` must grow to hold `pixels`, 1 when it does.
// Rounding the edges may take a pixel off a size: the need counts one more.
qreal Growth(int pixels, int twips) { return pixels * 15 > twips ? (pixels + 1) * 15.0 / twips : 1.0; }

// The file list: a file that the user chooses, with the mouse or by moving
// through the list with the keys, is handed on. Rows changed by code are not.
class FileListBox : public QListWidget {
 public:
  using QListWidget::QListWidget;
  std::function<void(int)> chosen;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int before = currentRow();
    const bool wasSelected = before >= 0 && item(before)->isSelected();
    QListWidget::keyPressEvent(event);
    const int now = currentRow();
    if (now >= 0 && item(now)->isSelected() && (now != before || !wasSelected) && chosen) chosen(now);
  }
};

bool CanList(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

// True when `folder` lies on the volume mounted at `root`.
bool IsOnVolume(const QString& folder, const QString& root) {
  if (root.endsWith(QLatin1Char('/'))) return folder.startsWith(root);
  return folder == root || folder.startsWith(root + QLatin1Char('/'));
}

}  // namespace

QString JoinFolderAndName(const QString& folder, const QString& name) {
  return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

LoadAidWindow::LoadAidWindow(LoadHandler ldAid, QWidget* parent)
    : QWidget(parent, Qt::Window), ldAid_(std::move(ldAid)) {
  setObjectName(QStringLiteral("frmLoadAid"));
  setWindowTitle(QStringLiteral("CS2x Load Aid"));

  drvLdAid = new QComboBox(this);
  drvLdAid->setObjectName(QStringLiteral("drvLdAid"));

  dirLdAid = new QListWidget(this);
  dirLdAid->setObjectName(QStringLiteral("dirLdAid"));

  auto* files = new FileListBox(this);
  flLdAid = files;
  flLdAid->setObjectName(QStringLiteral("flLdAid"));
  flLdAid->setSelectionMode(QAbstractItemView::SingleSelection);

  cmbLdAid = new QComboBox(this);
  cmbLdAid->setObjectName(QStringLiteral("cmbLdAid"));
  for (const char* row : kKindRows) cmbLdAid->addItem(QString::fromLatin1(row));
  cmbLdAid->setPlaceholderText(QString::fromLatin1(kKindRows[0]));
  cmbLdAid->setCurrentIndex(-1);
  pattern_ = QStringLiteral("*.qvw");

  cmdLdAid = new QPushButton(QStringLiteral("Done"), this);
  cmdLdAid->setObjectName(QStringLiteral("cmdLdAid"));
  PlaceControls();
  ShowPlaceholderAsText();

  connect(drvLdAid, &QComboBox::currentIndexChanged, this, &LoadAidWindow::drvLdAid_Change);
  connect(dirLdAid, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { dirLdAid_Change(item->data(Qt::UserRole).toString()); });
  connect(cmbLdAid, &QComboBox::activated, this, &LoadAidWindow::cmbLdAid_Click);
  connect(flLdAid, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item->isSelected()) flLdAid_Click(flLdAid->row(item));
  });
  files->chosen = [this](int row) { flLdAid_Click(row); };
  connect(cmdLdAid, &QPushButton::clicked, this, &LoadAidWindow::cmdLdAid_Click);

  FillDrives();
  if (!MoveTo(QDir::currentPath())) MoveTo(QDir::rootPath());
}

void LoadAidWindow::ShowBeside(const QPoint& mainCorner) {
  if (!placed_) {
    move(mainCorner + QPoint(Px(8200), Px(1300)));
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
}

void LoadAidWindow::cmbLdAid_Click(int row) {
  if (row < 0 || row >= cmbLdAid->count()) return;
  const QString text = cmbLdAid->itemText(row);
  pattern_ = text.mid(text.indexOf(QLatin1Char('|')) + 1);
  FillFiles();
}

void LoadAidWindow::drvLdAid_Change(int row) {
  if (row < 0 || row >= drvLdAid->count() || !MoveTo(drvLdAid->itemData(row).toString()))
    SelectCurrentPlace();
}

void LoadAidWindow::dirLdAid_Change(const QString& folder) {
  if (!MoveTo(folder)) SelectCurrentPlace();
}

void LoadAidWindow::flLdAid_Click(int row) {
  // A load runs to its end before the next one starts, also when its boxes
  // let events through.
  const QListWidgetItem* file = flLdAid->item(row);
  if (!file || !ldAid_ || loading_) return;
  const QScopedValueRollback<bool> loading(loading_, true);
  ldAid_(pattern_, JoinFolderAndName(folder_, file->text()));
}

void LoadAidWindow::cmdLdAid_Click() { hide(); }

void LoadAidWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (!cmdLdAid) return;  // not yet built
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) PlaceControls();
  if (event->type() == QEvent::PaletteChange) ShowPlaceholderAsText();
}

void LoadAidWindow::PlaceControls() {
  // The places were drawn for a small 8-point system font. With a larger
  // font the kind combo would cut its rows and "Done" its caption, so the
  // window and every control grow by one factor, never below 1, until the
  // widest kind and "Done" fit: the layout keeps its proportions.
  const QSize kinds = cmbLdAid->sizeHint();  // the widest row whole, with the arrow
  const int doneWidth =
      cmdLdAid->fontMetrics().horizontalAdvance(cmdLdAid->text()) +
      2 * (style()->pixelMetric(QStyle::PM_ButtonMargin) + style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
  const qreal scale = std::max({1.0, Growth(kinds.width(), kKinds.width), Growth(kinds.height(), kKinds.height),
                                Growth(doneWidth, kDone.width), Growth(cmdLdAid->sizeHint().height(), kDone.height)});
  setFixedSize(Scaled(kWidth, scale), Scaled(kHeight, scale));
  drvLdAid->setGeometry(Place(kDrives, scale));
  dirLdAid->setGeometry(Place(kFolders, scale));
  flLdAid->setGeometry(Place(kFiles, scale));
  cmbLdAid->setGeometry(Place(kKinds, scale));
  cmdLdAid->setGeometry(Place(kDone, scale));

  // The open list of kinds shows every row whole too.
  int widest = 0;
  for (int row = 0; row < cmbLdAid->count(); ++row)
    widest = std::max(widest, cmbLdAid->fontMetrics().horizontalAdvance(cmbLdAid->itemText(row)));
  cmbLdAid->view()->setMinimumWidth(widest + 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void LoadAidWindow::ShowPlaceholderAsText() {
  // Until a kind is chosen the combo shows the first row as its placeholder.
  // That is the kind in force, so it takes the normal text colour, not the
  // pale one of a hint, which looks disabled.
  QPalette colours = cmbLdAid->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    colours.setColor(group, QPalette::PlaceholderText, colours.color(group, QPalette::ButtonText));
  cmbLdAid->setPalette(colours);
}

void LoadAidWindow::FillDrives() {
  // The file system's root first, then every other mounted volume.
  QStringList roots{QDir::rootPath()};
  QStringList others;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const QString root = QDir::fromNativeSeparators(volume.rootPath());
    if (volume.isValid() && !roots.contains(root) && !others.contains(root)) others << root;
  }
  others.sort(Qt::CaseInsensitive);
  roots << others;

  const QSignalBlocker block(drvLdAid);
  drvLdAid->clear();
  for (const QString& root : roots) {
    const QString name = QStorageInfo(root).name();
    QString text = QDir::toNativeSeparators(root);
    if (!name.isEmpty()) text += QStringLiteral(" [") + name + QLatin1Char(']');
    drvLdAid->addItem(text, root);
  }
}

bool LoadAidWindow::MoveTo(const QString& folder) {
  if (folder.isEmpty()) return false;
  const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  if (!CanList(path)) return false;
  folder_ = path;
  FillFolders();
  FillFiles();
  SelectCurrentPlace();
  return true;
}

void LoadAidWindow::FillFolders() {
  // The folders from the root down to the current one, then its subfolders,
  // each indented one step deeper than its parent.
  QStringList chain{folder_};
  for (QDir dir(folder_); !dir.isRoot() && dir.cdUp();) chain.prepend(dir.absolutePath());
  const QStringList subfolders =
      QDir(folder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

  const QSignalBlocker block(dirLdAid);
  dirLdAid->clear();
  const auto add = [this](const QString& path, const QString& name, qsizetype depth, QStyle::StandardPixmap icon) {
    auto* item = new QListWidgetItem(style()->standardIcon(icon), QString(depth * 2, QLatin1Char(' ')) + name);
    item->setData(Qt::UserRole, path);
    dirLdAid->addItem(item);
  };
  for (qsizetype i = 0; i < chain.size(); ++i) {
    const QDir dir(chain[i]);
    add(chain[i], dir.isRoot() ? QDir::toNativeSeparators(chain[i]) : dir.dirName(), i, QStyle::SP_DirOpenIcon);
  }
  for (const QString& name : subfolders)
    add(QDir(folder_).filePath(name), name, chain.size(), QStyle::SP_DirClosedIcon);
}

void LoadAidWindow::FillFiles() {
  const QStringList names = QDir(folder_).entryList(pattern_.split(QLatin1Char(';'), Qt::SkipEmptyParts),
                                                    QDir::Files, QDir::Name | QDir::IgnoreCase);
  const QSignalBlocker block(flLdAid);
  flLdAid->clear();
  flLdAid->addItems(names);
}

void LoadAidWindow::SelectCurrentPlace() {
  int drive = 0;
  qsizetype longest = -1;
  for (int row = 0; row < drvLdAid->count(); ++row) {
    const QString root = drvLdAid->itemData(row).toString();
    if (IsOnVolume(folder_, root) && root.size() > longest) {
      drive = row;
      longest = root.size();
    }
  }
  const QSignalBlocker blockDrives(drvLdAid);
  drvLdAid->setCurrentIndex(drvLdAid->count() ? drive : -1);

  const QSignalBlocker blockFolders(dirLdAid);
  for (int row = 0; row < dirLdAid->count(); ++row)
    if (dirLdAid->item(row)->data(Qt::UserRole).toString() == folder_) dirLdAid->setCurrentRow(row);
}

}  // namespace qv
