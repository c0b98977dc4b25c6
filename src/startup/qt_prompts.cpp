#include "startup/qt_prompts.h"

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>

#include "files/file_names.h"

namespace qv {

namespace {

QString Title(const std::string& title) {
  return QString::fromStdString(title.empty() ? std::string(kAppTitle) : title);
}

// Icons and type names for the dialogs' file lists, decided from what an
// entry is (drive, folder or other) and from its name alone. Qt's own
// provider reads a file's first bytes to guess its type, and such a read can
// wait for ever: /proc/kmsg blocks until the kernel logs something, so a
// dialog opened on /proc froze the whole program.
class NameOnlyIconProvider : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override {
    if (info.isRoot()) return icon(Drive);
    if (info.isDir()) return icon(Folder);
    const QIcon themed = QIcon::fromTheme(MimeType(info).iconName());
    return themed.isNull() ? icon(File) : themed;
  }
  QString type(const QFileInfo& info) const override {
    if (info.isRoot()) return QApplication::translate("QAbstractFileIconProvider", "Drive");
    if (info.isDir()) return QApplication::translate("QAbstractFileIconProvider", "Folder");
    const QMimeType mime = MimeType(info);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
  }

 private:
  static QMimeType MimeType(const QFileInfo& info) {
    return QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  }
};

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    if (i + 1 >= parts.size()) {
      if (!description.isEmpty()) entries << description;
      break;
    }
    // "*.*" means every file; here it would hide the names without a dot.
    QStringList patternList = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patternList) {
      pattern = pattern.trimmed();
      if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    }
    const QString patterns = patternList.join(QLatin1Char(' '));
    description.remove(trailingPatterns);
    entries << (description.isEmpty() ? patterns : description) + QStringLiteral(" (") + patterns +
                   QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

QWidget* QtPrompts::Parent() const {
  return parent_ ? parent_.data() : QApplication::activeWindow();
}

void QtPrompts::Message(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, Title(title), QString::fromStdString(text), QMessageBox::Ok, Parent());
  box.exec();
}

Prompts::Answer QtPrompts::Question(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Question, Title(title), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, Parent());
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<std::string> QtPrompts::OpenFile(const std::string& filter) {
  return RunFileDialog(QFileDialog::AcceptOpen, filter, {}, {});
}

std::optional<std::string> QtPrompts::SaveFile(const std::string& filter, const std::string& proposed,
                                               const std::string& source) {
  return RunFileDialog(QFileDialog::AcceptSave, filter, proposed, source);
}

namespace {

// The file dialog. Saving, it adds to the name typed the extension of the
// pair chosen when it is accepted (WithExtension; Qt's default suffix would
// skip a name with any dot in it), and only then asks whether to replace an
// existing file, so that the question names the file as it will be written.
// The save's source is handed back without the question: the caller refuses
// it.
class CommonDialog : public QFileDialog {
 public:
  CommonDialog(QWidget* parent, std::string filter, std::string source)
      : QFileDialog(parent), filter_(std::move(filter)), source_(std::move(source)) {
    setOption(DontConfirmOverwrite);
  }
  // The name accepted when saving.
  const QString& Chosen() const { return chosen_; }

  void accept() override {
    const QStringList typed = selectedFiles();
    // A folder typed or chosen is opened by Qt.
    if (acceptMode() != AcceptSave || typed.size() != 1 || QFileInfo(typed.first()).isDir())
      return QFileDialog::accept();
    const int pair = static_cast<int>(nameFilters().indexOf(selectedNameFilter()));
    const std::string name = WithExtension(typed.first().toStdString(), FilterExtension(filter_, pair));
    const QFileInfo file(QString::fromStdString(name));
    if (file.exists() && !SameFile(name, source_) && !MayReplace(file.fileName())) return;
    chosen_ = file.filePath();
    QFileDialog::accept();
  }

 private:
  // Qt's own question, in its words and look.
  bool MayReplace(const QString& fileName) {
    const QString text =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?").arg(fileName);
    return QMessageBox::warning(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
  }

  std::string filter_;
  std::string source_;
  QString chosen_;
};

// The detail view shows its Size, Type and Date columns whole, and the
// names take the rest of its width.
void ShowColumnsWhole(QFileDialog& dialog) {
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!view) return;
  QHeaderView* header = view->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
}

}  // namespace

std::optional<std::string> QtPrompts::RunFileDialog(QFileDialog::AcceptMode mode, const std::string& filter,
                                                    const std::string& proposed, const std::string& source) {
  // One remembered path for every dialog; a dialog proposes it only when it
  // is of the dialog's own kind. Qt's own dialog, not the platform's, which
  // would ask about replacing the name as typed.
  NameOnlyIconProvider icons;  // outlives the dialog, which does not own it
  CommonDialog dialog(Parent(), filter, source);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&icons);
  dialog.setObjectName(QStringLiteral("CommonDialog1"));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QtFileFilter(filter));
  ShowColumnsWhole(dialog);
  const DialogStart start =
      proposed.empty() ? StartOfDialog(lastPath_, filter) : DialogStart{{}, proposed};
  if (!start.folder.empty()) dialog.setDirectory(QString::fromStdString(start.folder));
  if (!start.file.empty()) dialog.selectFile(QString::fromStdString(start.file));
  // Wide enough to read the columns of its detail view, within the screen.
  if (const QScreen* screen = dialog.screen()) {
    const QRect room = screen->availableGeometry();
    dialog.resize(std::min(room.width(), std::max(dialog.sizeHint().width(), 900)),
                  std::min(room.height(), std::max(dialog.sizeHint().height(), 520)));
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QString name = mode == QFileDialog::AcceptSave ? dialog.Chosen() : dialog.selectedFiles().value(0);
  if (name.isEmpty()) return std::nullopt;
  lastPath_ = name.toStdString();
  return lastPath_;
}

}  // namespace qv
