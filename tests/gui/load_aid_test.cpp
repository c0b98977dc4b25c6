// The load aid window: kinds and their patterns, moving through folders,
// files handed to the loader only when the user chooses them, and the window
// kept as it was between showings.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <utility>
#include <vector>

#include "filewindows/load_aid_window.h"

using namespace qv;

namespace {

// The five kinds as the window lists them: label, blanks, "|", pattern.
QString KindRow(const char* label, int blanks, const char* pattern) {
  return QString::fromLatin1(label) + QString(blanks, QLatin1Char(' ')) + QLatin1Char('|') +
         QString::fromLatin1(pattern);
}
const QStringList kKinds = {KindRow("Workspace", 5, "*.qvw"), KindRow("Setup", 16, "*.qvf"),
                            KindRow("Performance", 3, "*.qvx"), KindRow("Layer Pool", 8, "*.qvp"),
                            KindRow("All Multis", 6, "*.qvm")};

QRect Twips(int left, int top, int width, int height) {
  return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

using Handed = std::pair<QString, QString>;  // pattern, path

// A window started in a temporary folder of files and subfolders, shown
// beside a main window whose corner is at (100, 50).
struct Aid {
  QTemporaryDir tmp;
  QString base;  // the folder as the process sees it
  std::vector<Handed> handed;
  std::unique_ptr<LoadAidWindow> w;

  explicit Aid(const QStringList& files, const QStringList& folders = {}) {
    for (const QString& folder : folders) QDir(tmp.path()).mkpath(folder);
    for (const QString& name : files) {
      QFile file(tmp.filePath(name));
      file.open(QIODevice::WriteOnly);
    }
    QDir::setCurrent(tmp.path());
    base = QDir::currentPath();
    w = std::make_unique<LoadAidWindow>(
        [this](const QString& pattern, const QString& path) { handed.emplace_back(pattern, path); });
    w->ShowBeside(QPoint(100, 50));
  }
  ~Aid() { QDir::setCurrent(QDir::tempPath()); }

  QString In(const QString& name) const { return base + QLatin1Char('/') + name; }
  QStringList Files() const {
    QStringList names;
    for (int row = 0; row < w->flLdAid->count(); ++row) names << w->flLdAid->item(row)->text();
    return names;
  }
  // A kind chosen with the arrow keys, as a user may.
  void ChooseKind(int row) {
    while (w->cmbLdAid->currentIndex() < row) QTest::keyClick(w->cmbLdAid, Qt::Key_Down);
    while (w->cmbLdAid->currentIndex() > row) QTest::keyClick(w->cmbLdAid, Qt::Key_Up);
  }
  void ClickFile(const QString& name) {
    const auto items = w->flLdAid->findItems(name, Qt::MatchExactly);
    QVERIFY(items.size() == 1);
    QTest::mouseClick(w->flLdAid->viewport(), Qt::LeftButton, {},
                      w->flLdAid->visualItemRect(items.first()).center());
  }
  // A double click on the folder row of `path`.
  void OpenFolder(const QString& path) {
    for (int row = 0; row < w->dirLdAid->count(); ++row) {
      QListWidgetItem* item = w->dirLdAid->item(row);
      if (item->data(Qt::UserRole).toString() != path) continue;
      w->dirLdAid->scrollToItem(item);
      const QPoint at = w->dirLdAid->visualItemRect(item).center();
      QTest::mouseClick(w->dirLdAid->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(w->dirLdAid->viewport(), Qt::LeftButton, {}, at);
      return;
    }
    QFAIL(qPrintable("no folder row " + path));
  }
  QString CurrentFolderRow() const {
    const QListWidgetItem* item = w->dirLdAid->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
  }
};

}  // namespace

class LoadAidTest : public QObject {
  Q_OBJECT

 private slots:
  void firstShowingListsWorkspacesAndAClickHandsOne() {
    Aid aid({"a.qvw", "B.QVW", "c.qvs", "d.qvm", "e.txt", "qvw"}, {"f.qvw"});
    LoadAidWindow& w = *aid.w;
    QCOMPARE(w.objectName(), QString("frmLoadAid"));
    QCOMPARE(w.windowTitle(), QString("CS2x Load Aid"));
    QVERIFY(w.isVisible());
    QVERIFY(!w.isModal());
    QCOMPARE(w.pos(), QPoint(100, 50) + QPoint(qRound(8200 / 15.0), qRound(1300 / 15.0)));

    QCOMPARE(w.drvLdAid->geometry(), Twips(0, 0, 2415, 315));
    QCOMPARE(w.dirLdAid->geometry(), Twips(0, 360, 2415, 1215));
    QCOMPARE(w.flLdAid->geometry(), Twips(0, 1680, 2415, 4380));
    QCOMPARE(w.cmbLdAid->geometry(), Twips(0, 6120, 1815, 315));
    QCOMPARE(w.cmdLdAid->geometry(), Twips(1920, 6120, 495, 255));
    QCOMPARE(w.cmdLdAid->text(), QString("Done"));
    for (const char* name : {"drvLdAid", "dirLdAid", "flLdAid", "cmbLdAid", "cmdLdAid"})
      QVERIFY2(w.findChild<QWidget*>(name), name);

    QCOMPARE(w.cmbLdAid->count(), 5);
    for (int row = 0; row < 5; ++row) QCOMPARE(w.cmbLdAid->itemText(row), kKinds[row]);
    QCOMPARE(w.cmbLdAid->currentIndex(), -1);
    QCOMPARE(w.cmbLdAid->placeholderText(), kKinds[0]);

    // The process's folder, with the file system's root first in both lists.
    QCOMPARE(w.Folder(), aid.base);
    QCOMPARE(aid.CurrentFolderRow(), aid.base);
    QCOMPARE(w.dirLdAid->item(0)->data(Qt::UserRole).toString(), QDir::rootPath());
    QCOMPARE(w.drvLdAid->itemData(0).toString(), QDir::rootPath());

    // Upper-case extensions match; a folder or a name without the dot does not.
    QCOMPARE(aid.Files(), QStringList({"a.qvw", "B.QVW"}));
    aid.ClickFile("B.QVW");
    QCOMPARE(aid.handed, std::vector<Handed>({{"*.qvw", aid.In("B.QVW")}}));
    QVERIFY(w.isVisible());
  }

  void eachKindListsItsOwnFilesAndSingleMultisNever() {
    Aid aid({"w.qvw", "s.qvf", "p.qvx", "l.qvp", "m1.qvm", "M2.QVM", "one.qvs", "TWO.QVS"});
    const QStringList expected[] = {{"w.qvw"}, {"s.qvf"}, {"p.qvx"}, {"l.qvp"}, {"m1.qvm", "M2.QVM"}};
    for (int row : {4, 3, 2, 1, 0, 4}) {
      aid.ChooseKind(row);
      QCOMPARE(aid.w->cmbLdAid->currentIndex(), row);
      QCOMPARE(aid.Files(), expected[row]);
    }
    aid.ClickFile("M2.QVM");
    QCOMPARE(aid.handed, std::vector<Handed>({{"*.qvm", aid.In("M2.QVM")}}));
  }

  void arrowKeysHandEachFileMovedOnto() {
    Aid aid({"a.qvp", "b.qvp", "c.qvp"});
    aid.ChooseKind(3);
    aid.ClickFile("a.qvp");
    QTest::keyClick(aid.w->flLdAid, Qt::Key_Down);
    QTest::keyClick(aid.w->flLdAid, Qt::Key_Down);
    QTest::keyClick(aid.w->flLdAid, Qt::Key_Down);  // already on the last file: nothing
    QTest::keyClick(aid.w->flLdAid, Qt::Key_Up);
    QCOMPARE(aid.handed, std::vector<Handed>({{"*.qvp", aid.In("a.qvp")},
                                              {"*.qvp", aid.In("b.qvp")},
                                              {"*.qvp", aid.In("c.qvp")},
                                              {"*.qvp", aid.In("b.qvp")}}));
    // A second click on the file already chosen loads it again.
    aid.ClickFile("b.qvp");
    QCOMPARE(aid.handed.size(), std::size_t{5});
  }

  void refillsByCodeHandNothing() {
    Aid aid({"a.qvw", "sub/b.qvw", "sub/c.qvx"}, {"sub"});
    aid.ClickFile("a.qvw");
    aid.handed.clear();

    aid.OpenFolder(aid.In("sub"));
    QCOMPARE(aid.w->Folder(), aid.In("sub"));
    QCOMPARE(aid.Files(), QStringList({"b.qvw"}));
    aid.ChooseKind(2);
    QCOMPARE(aid.Files(), QStringList({"c.qvx"}));
    aid.OpenFolder(aid.base);
    QCOMPARE(aid.Files(), QStringList());
    aid.w->cmdLdAid_Click();
    aid.w->ShowBeside(QPoint());
    QVERIFY(aid.handed.empty());
    QCOMPARE(aid.w->flLdAid->selectedItems().size(), 0);
  }

  void doneThenShowKeepsKindFolderAndPosition() {
    Aid aid({"sub/p.qvx", "sub/w.qvw"}, {"sub"});
    aid.ChooseKind(2);
    aid.OpenFolder(aid.In("sub"));
    aid.w->move(300, 200);  // the user moved it

    QTest::mouseClick(aid.w->cmdLdAid, Qt::LeftButton);
    QVERIFY(!aid.w->isVisible());
    aid.w->ShowBeside(QPoint(10, 10));  // the main window moved meanwhile
    QVERIFY(aid.w->isVisible());
    QCOMPARE(aid.w->pos(), QPoint(300, 200));
    QCOMPARE(aid.w->cmbLdAid->currentIndex(), 2);
    QCOMPARE(aid.w->cmbLdAid->count(), 5);
    QCOMPARE(aid.w->Pattern(), QString("*.qvx"));
    QCOMPARE(aid.w->Folder(), aid.In("sub"));
    QCOMPARE(aid.Files(), QStringList({"p.qvx"}));
    QVERIFY(aid.handed.empty());
  }

  void aFolderThatCannotBeReadLeavesTheListsUsable() {
    Aid aid({"a.qvw", "sub/b.qvw"}, {"gone", "sub"});
    QVERIFY(QDir(aid.In("gone")).removeRecursively());
    const int folderRows = aid.w->dirLdAid->count();
    aid.OpenFolder(aid.In("gone"));
    QCOMPARE(aid.w->Folder(), aid.base);
    QCOMPARE(aid.CurrentFolderRow(), aid.base);
    QCOMPARE(aid.w->dirLdAid->count(), folderRows);
    QCOMPARE(aid.Files(), QStringList({"a.qvw"}));

    // A plain file handed as a folder is no folder either.
    aid.w->dirLdAid_Change(aid.In("a.qvw"));
    QCOMPARE(aid.w->Folder(), aid.base);

    aid.OpenFolder(aid.In("sub"));
    aid.ClickFile("b.qvw");
    QCOMPARE(aid.handed, std::vector<Handed>({{"*.qvw", aid.In("sub/b.qvw")}}));
  }

  void aFileDeletedAfterTheListingIsStillHanded() {
    Aid aid({"a.qvw", "b.qvw"});
    QVERIFY(QFile::remove(aid.In("a.qvw")));
    aid.ClickFile("a.qvw");  // the loader finds nothing to read and says nothing
    QCOMPARE(aid.handed, std::vector<Handed>({{"*.qvw", aid.In("a.qvw")}}));
    QVERIFY(aid.w->isVisible());
    QCOMPARE(aid.Files(), QStringList({"a.qvw", "b.qvw"}));
  }

  void theRootDriveListsItsFolders() {
    Aid aid({});
    aid.w->drvLdAid_Change(0);
    QCOMPARE(aid.w->Folder(), QDir::rootPath());
    QCOMPARE(aid.CurrentFolderRow(), QDir::rootPath());
    QCOMPARE(aid.w->drvLdAid->currentIndex(), 0);
    const QStringList subfolders = QDir::root().entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(aid.w->dirLdAid->count(), 1 + subfolders.size());
    QVERIFY(!subfolders.isEmpty());
    aid.OpenFolder(QDir::rootPath() + subfolders.first());
    QCOMPARE(aid.w->Folder(), QDir::rootPath() + subfolders.first());
  }

  void pathsInTheRootFolderHaveOneSeparator() {
    QCOMPARE(JoinFolderAndName(QDir::rootPath(), "a.qvw"), QDir::toNativeSeparators(QDir::rootPath() + "a.qvw"));
    QCOMPARE(JoinFolderAndName("/x/y", "a.qvw"), QDir::toNativeSeparators("/x/y/a.qvw"));
  }
};

QTEST_MAIN(LoadAidTest)
#include "load_aid_test.moc"
