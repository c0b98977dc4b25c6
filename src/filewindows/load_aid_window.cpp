#include "filewindows/load_aid_window.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPalette>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>
#include <array>
#include <utility>

#include "filewindows/screen_room.h"

namespace qv {

namespace {

// The kinds of file offered are the load aid's rows of the file kinds, each a
// label padded with blanks, "|" and the file pattern. The blanks line the "|"
// up roughly in a proportional font; a fixed-pitch one would scatter it.
QString KindRow(FileKind kind) { return QString::fromLatin1(FileKindOf(kind)->loadAidRow); }

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

// The first place of a window of `size` beside the main window's frame
// `main` on a screen whose available area is `area` (see ShowBeside).
QRect FirstPlace(const QRect& main, const QRect& keepClear, const QSize& size, const QRect& area) {
  const QPoint offset = main.topLeft() + QPoint(Px(8200), Px(1300));
  const QRect there = MovedWithin(QRect(offset, size), area);
  if (!there.intersects(keepClear)) return there;
  const QRect right = MovedWithin(QRect(QPoint(main.right() + 1, offset.y()), size), area);
  if (right.left() > main.right()) return right;
  const QRect left = MovedWithin(QRect(QPoint(main.left() - size.width(), offset.y()), size), area);
  if (left.right() < main.left()) return left;
  return there;
}

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

  drives_ = new QComboBox(this);
  drives_->setObjectName(QStringLiteral("drvLdAid"));

  folders_ = new QListWidget(this);
  folders_->setObjectName(QStringLiteral("dirLdAid"));

  auto* files = new FileListBox(this);
  files_ = files;
  files_->setObjectName(QStringLiteral("flLdAid"));
  files_->setSelectionMode(QAbstractItemView::SingleSelection);

  kinds_ = new QComboBox(this);
  kinds_->setObjectName(QStringLiteral("cmbLdAid"));
  for (FileKind kind : kLoadAidKinds) kinds_->addItem(KindRow(kind));
  kinds_->setPlaceholderText(KindRow(kLoadAidKinds[0]));
  kinds_->setCurrentIndex(-1);
  kind_ = kLoadAidKinds[0];

  done_ = new QPushButton(QStringLiteral("Done"), this);
  done_->setObjectName(QStringLiteral("cmdLdAid"));
  PlaceControls();
  ShowPlaceholderAsText();

  connect(drives_, &QComboBox::currentIndexChanged, this, &LoadAidWindow::drvLdAid_Change);
  connect(folders_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { dirLdAid_Change(item->data(Qt::UserRole).toString()); });
  connect(kinds_, &QComboBox::activated, this, &LoadAidWindow::cmbLdAid_Click);
  connect(files_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item->isSelected()) flLdAid_Click(files_->row(item));
  });
  files->chosen = [this](int row) { flLdAid_Click(row); };
  connect(done_, &QPushButton::clicked, this, &LoadAidWindow::cmdLdAid_Click);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setObjectName(QStringLiteral("EscLdAid"));
  connect(escape, &QShortcut::activated, this, &LoadAidWindow::cmdLdAid_Click);

  FillDrives();
  if (!MoveTo(QDir::currentPath())) MoveTo(QDir::rootPath());
}

void LoadAidWindow::ShowBeside(const QWidget& main, const QRect& keepClear) {
  // Until the window has been framed once, its frame is taken to be like
  // the main window's.
  QSize frameExtra = FrameExtra(*this);
  if (frameExtra.isNull()) frameExtra = FrameExtra(main);
  const QSize size = this->size() + frameExtra;
  const QRect area = AvailableArea(main);
  // A later showing keeps the window's place, unless that place now covers
  // the Layer Pool list (the main window was moved under it).
  const QRect kept = MovedWithin(QRect(pos(), size), area);
  move(placed_ && !kept.intersects(keepClear) ? kept.topLeft()
                                              : FirstPlace(main.frameGeometry(), keepClear, size, area).topLeft());
  placed_ = true;
  show();
  raise();
  activateWindow();
}

void LoadAidWindow::cmbLdAid_Click(int row) {
  if (row < 0 || row >= kinds_->count()) return;
  kind_ = kLoadAidKinds[static_cast<std::size_t>(row)];
  FillFiles();
}

void LoadAidWindow::drvLdAid_Change(int row) {
  if (row < 0 || row >= drives_->count() || !MoveTo(drives_->itemData(row).toString()))
    SelectCurrentPlace();
}

void LoadAidWindow::dirLdAid_Change(const QString& folder) {
  if (!MoveTo(folder)) SelectCurrentPlace();
}

void LoadAidWindow::flLdAid_Click(int row) {
  // A load runs to its end before the next one starts, also when its boxes
  // let events through.
  const QListWidgetItem* file = files_->item(row);
  if (!file || !ldAid_ || loading_) return;
  const QScopedValueRollback<bool> loading(loading_, true);
  ldAid_(kind_, JoinFolderAndName(folder_, file->text()));
}

void LoadAidWindow::cmdLdAid_Click() { hide(); }

void LoadAidWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (!done_) return;  // not yet built
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) PlaceControls();
  if (event->type() == QEvent::PaletteChange) ShowPlaceholderAsText();
}

void LoadAidWindow::PlaceControls() {
  // The places were drawn for a small 8-point system font. With a larger
  // font the kind combo would cut its rows and "Done" its caption, so the
  // window and every control grow by one factor, never below 1, until the
  // widest kind and "Done" fit: the layout keeps its proportions.
  const QSize kinds = kinds_->sizeHint();  // the widest row whole, with the arrow
  const int doneWidth =
      done_->fontMetrics().horizontalAdvance(done_->text()) +
      2 * (style()->pixelMetric(QStyle::PM_ButtonMargin) + style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
  const qreal scale = std::max({1.0, Growth(kinds.width(), kKinds.width), Growth(kinds.height(), kKinds.height),
                                Growth(doneWidth, kDone.width), Growth(done_->sizeHint().height(), kDone.height)});
  setFixedSize(Scaled(kWidth, scale), Scaled(kHeight, scale));
  drives_->setGeometry(Place(kDrives, scale));
  folders_->setGeometry(Place(kFolders, scale));
  files_->setGeometry(Place(kFiles, scale));
  kinds_->setGeometry(Place(kKinds, scale));
  done_->setGeometry(Place(kDone, scale));

  // The open list of kinds shows every row whole too.
  int widest = 0;
  for (int row = 0; row < kinds_->count(); ++row)
    widest = std::max(widest, kinds_->fontMetrics().horizontalAdvance(kinds_->itemText(row)));
  kinds_->view()->setMinimumWidth(widest + 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void LoadAidWindow::ShowPlaceholderAsText() {
  // Until a kind is chosen the combo shows the first row as its placeholder.
  // That is the kind in force, so it takes the normal text colour, not the
  // pale one of a hint, which looks disabled.
  QPalette colours = kinds_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    colours.setColor(group, QPalette::PlaceholderText, colours.color(group, QPalette::ButtonText));
  kinds_->setPalette(colours);
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

  const QSignalBlocker block(drives_);
  drives_->clear();
  for (const QString& root : roots) {
    const QString name = QStorageInfo(root).name();
    QString text = QDir::toNativeSeparators(root);
    if (!name.isEmpty()) text += QStringLiteral(" [") + name + QLatin1Char(']');
    drives_->addItem(text, root);
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

  const QSignalBlocker block(folders_);
  folders_->clear();
  const auto add = [this](const QString& path, const QString& name, qsizetype depth, QStyle::StandardPixmap icon) {
    auto* item = new QListWidgetItem(style()->standardIcon(icon), QString(depth * 2, QLatin1Char(' ')) + name);
    item->setData(Qt::UserRole, path);
    folders_->addItem(item);
  };
  for (qsizetype i = 0; i < chain.size(); ++i) {
    const QDir dir(chain[i]);
    add(chain[i], dir.isRoot() ? QDir::toNativeSeparators(chain[i]) : dir.dirName(), i, QStyle::SP_DirOpenIcon);
  }
  for (const QString& name : subfolders)
    add(QDir(folder_).filePath(name), name, chain.size(), QStyle::SP_DirClosedIcon);
}

void LoadAidWindow::FillFiles() {
  const QStringList names = QDir(folder_).entryList({QString::fromStdString(FilePattern(kind_))}, QDir::Files,
                                                    QDir::Name | QDir::IgnoreCase);
  const QSignalBlocker block(files_);
  files_->clear();
  files_->addItems(names);
}

void LoadAidWindow::SelectCurrentPlace() {
  int drive = 0;
  qsizetype longest = -1;
  for (int row = 0; row < drives_->count(); ++row) {
    const QString root = drives_->itemData(row).toString();
    if (IsOnVolume(folder_, root) && root.size() > longest) {
      drive = row;
      longest = root.size();
    }
  }
  const QSignalBlocker blockDrives(drives_);
  drives_->setCurrentIndex(drives_->count() ? drive : -1);

  const QSignalBlocker blockFolders(folders_);
  for (int row = 0; row < folders_->count(); ++row)
    if (folders_->item(row)->data(Qt::UserRole).toString() == folder_) folders_->setCurrentRow(row);
}

}  // namespace qv
