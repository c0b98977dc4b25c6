// The load aid window: kinds and their patterns, moving through folders, and
// files handed to the loader only when the user chooses them.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "filewindows/load_aid_window.h"

using namespace qv;
using Handed = std::vector<std::pair<QString, QString>>;  // pattern, path

namespace {

// A window started in a temporary folder, shown beside a main window whose
// corner is at (20, 10). Controls are found by their names.
struct Aid {
  QTemporaryDir tmp;
  QWidget main;
  QString base;
  Handed handed;
  std::unique_ptr<LoadAidWindow> w;
  QListWidget *folders, *files;
  QComboBox* kinds;

  explicit Aid(const QStringList& names, const QStringList& subfolders = {}) {
    for (const QString& folder : subfolders) QDir(tmp.path()).mkpath(folder);
    for (const QString& name : names) QFile(tmp.filePath(name)).open(QIODevice::WriteOnly);
    QDir::setCurrent(tmp.path());
    base = QDir::currentPath();
    w = std::make_unique<LoadAidWindow>(
        [this](FileKind k, const QString& f) { handed.emplace_back(QString::fromStdString(FilePattern(k)), f); });
    folders = w->findChild<QListWidget*>("dirLdAid");
    files = w->findChild<QListWidget*>("flLdAid");
    kinds = w->findChild<QComboBox*>("cmbLdAid");
    main.setGeometry(20, 10, 200, 100);
    w->ShowBeside(main);
  }
  ~Aid() { QDir::setCurrent(QDir::tempPath()); }

  QString In(const QString& name) const { return base + '/' + name; }
  QStringList Files() const {
    QStringList names;
    for (int row = 0; row < files->count(); ++row) names << files->item(row)->text();
    return names;
  }
  void ChooseKind(int row) {  // with the arrow keys
    while (kinds->currentIndex() != row)
      QTest::keyClick(kinds, kinds->currentIndex() < row ? Qt::Key_Down : Qt::Key_Up);
  }
  void ClickFile(const QString& name) {
    const QPoint at = files->visualItemRect(files->findItems(name, Qt::MatchExactly).value(0)).center();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
  }
  void OpenFolder(const QString& path) {  // a double click on its row
    for (int row = 0; row < folders->count(); ++row) {
      if (folders->item(row)->data(Qt::UserRole).toString() != path) continue;
      const QPoint at = folders->visualItemRect(folders->item(row)).center();
      QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, at);
    }
  }
};

}  // namespace

class LoadAidTest : public QObject {
  Q_OBJECT

 private slots:
  void firstShowingListsWorkspacesAndAClickHandsOne() {
    Aid aid({"a.qvw", "B.QVW", "c.qvs", "qvw"}, {"f.qvw"});
    QCOMPARE(aid.w->windowTitle(), QString("CS2x Load Aid"));
    QCOMPARE(aid.w->pos(), QPoint(20 + 547, 10 + 87));  // 8200 x 1300 twips
    const QStringList rows = {"Workspace" + QString(5, ' ') + "|*.qvw", "Setup" + QString(16, ' ') + "|*.qvf",
                              "Performance" + QString(3, ' ') + "|*.qvx", "Layer Pool" + QString(8, ' ') + "|*.qvp",
                              "All Multis" + QString(6, ' ') + "|*.qvm"};
    QCOMPARE(aid.kinds->count(), 5);
    for (int row = 0; row < 5; ++row) QCOMPARE(aid.kinds->itemText(row), rows[row]);
    QCOMPARE(aid.kinds->currentIndex(), -1);
    QCOMPARE(aid.kinds->placeholderText(), rows[0]);
    // It shows in the text colour, not in a hint's grey: the darkest pixel of
    // the text's half of the combo is that colour.
    const QImage shown = aid.kinds->grab().toImage();
    QColor darkest = Qt::white;
    for (int y = 4; y < shown.height() - 4; ++y)
      for (int x = 4; x < shown.width() / 2; ++x)
        if (shown.pixelColor(x, y).lightness() < darkest.lightness()) darkest = shown.pixelColor(x, y);
    QCOMPARE(darkest, aid.kinds->palette().color(QPalette::ButtonText));
    QCOMPARE(aid.folders->item(0)->data(Qt::UserRole).toString(), QDir::rootPath());
    QCOMPARE(aid.folders->currentItem()->data(Qt::UserRole).toString(), aid.base);

    // Upper-case extensions match; a folder or a name without the dot does not.
    QCOMPARE(aid.Files(), QStringList({"a.qvw", "B.QVW"}));
    aid.ClickFile("B.QVW");
    QCOMPARE(aid.handed, Handed({{"*.qvw", aid.In("B.QVW")}}));
    QCOMPARE(JoinFolderAndName("/", "a.qvw"), QDir::toNativeSeparators("/a.qvw"));
  }

  void eachKindListsItsFilesAndArrowKeysHandThem() {
    Aid aid({"w.qvw", "s.qvf", "p.qvx", "l.qvp", "m1.qvm", "M2.QVM", "one.qvs", "TWO.QVS"});
    // A pipe is no file to load: opening it would wait for a writer.
    QVERIFY(::mkfifo(QFile::encodeName(aid.In("pipe.qvm")).constData(), 0600) == 0);
    const QStringList expected[] = {{"w.qvw"}, {"s.qvf"}, {"p.qvx"}, {"l.qvp"}, {"m1.qvm", "M2.QVM"}};
    for (int row : {4, 3, 2, 1, 0, 4}) {
      aid.ChooseKind(row);
      QCOMPARE(aid.Files(), expected[row]);
    }
    aid.ClickFile("m1.qvm");
    aid.ClickFile("m1.qvm");  // again: loads again
    QTest::keyClick(aid.files, Qt::Key_Down);
    QTest::keyClick(aid.files, Qt::Key_Down);  // already on the last file
    QCOMPARE(aid.handed,
             Handed({{"*.qvm", aid.In("m1.qvm")}, {"*.qvm", aid.In("m1.qvm")}, {"*.qvm", aid.In("M2.QVM")}}));
  }

  void doneKeepsKindFolderAndPlaceAndRefillsHandNothing() {
    Aid aid({"a.qvw", "sub/p.qvx", "sub/w.qvw"}, {"sub"});
    aid.ClickFile("a.qvw");
    aid.handed.clear();
    aid.ChooseKind(2);
    aid.OpenFolder(aid.In("sub"));
    QCOMPARE(aid.Files(), QStringList({"p.qvx"}));
    aid.w->move(300, 150);  // moved by the user
    QTest::mouseClick(aid.w->findChild<QPushButton*>("cmdLdAid"), Qt::LeftButton);
    QVERIFY(!aid.w->isVisible());

    aid.main.move(10, 10);
    aid.w->ShowBeside(aid.main);
    QVERIFY(aid.w->isVisible());
    QCOMPARE(aid.w->pos(), QPoint(300, 150));
    // Unless the Layer Pool list now lies under that place: then as at first.
    aid.w->ShowBeside(aid.main, QRect(aid.w->frameGeometry().center(), QSize(20, 20)));
    QCOMPARE(aid.w->pos(), QPoint(10 + 547, 10 + 87));
    QCOMPARE(aid.kinds->currentIndex(), 2);
    QCOMPARE(aid.w->Folder(), aid.In("sub"));
    QCOMPARE(aid.Files(), QStringList({"p.qvx"}));
    QVERIFY(aid.handed.empty());
  }

  void placesGrowWithTheFontAndKeepTheirProportions() {
    Aid aid({});
    QPushButton* done = aid.w->findChild<QPushButton*>("cmdLdAid");
    const std::pair<const char*, QRect> places[] = {  // in twips
        {"drvLdAid", {0, 0, 2415, 315}},      {"dirLdAid", {0, 360, 2415, 1215}},
        {"flLdAid", {0, 1680, 2415, 4380}},   {"cmbLdAid", {0, 6120, 1815, 315}},
        {"cmdLdAid", {1920, 6120, 495, 255}},
    };
    const auto checkPlaces = [&] {
      // One factor for the window and every edge, within two pixels: the
      // factor read back from the rounded width is itself slightly off.
      const qreal scale = aid.w->width() * 15.0 / 2415;
      QVERIFY(scale >= 1);
      QVERIFY(qAbs(aid.w->height() - 6435 * scale / 15) <= 2);
      for (const auto& [name, twips] : places) {
        const QRect at = aid.w->findChild<QWidget*>(name)->geometry();
        const QRectF expected(twips.x() * scale / 15, twips.y() * scale / 15, twips.width() * scale / 15,
                              twips.height() * scale / 15);
        QVERIFY2(qAbs(at.left() - expected.left()) <= 2 && qAbs(at.top() - expected.top()) <= 2 &&
                     qAbs(at.right() + 1 - expected.right()) <= 2 && qAbs(at.bottom() + 1 - expected.bottom()) <= 2,
                 name);
      }
      // The widest kind shows whole, and so does "Done", inside the window.
      QVERIFY(aid.kinds->width() >= aid.kinds->sizeHint().width());
      QVERIFY(aid.kinds->height() >= aid.kinds->sizeHint().height());
      QVERIFY(done->width() >= done->fontMetrics().horizontalAdvance("Done") +
                                   2 * done->style()->pixelMetric(QStyle::PM_ButtonMargin));
      QVERIFY(done->height() >= done->sizeHint().height());
      QVERIFY(aid.w->rect().contains(done->geometry()));
    };
    checkPlaces();
    const int width = aid.w->width();

    QFont font = aid.w->font();
    font.setPixelSize(5);  // smaller than the places were drawn for: no shrinking
    aid.w->setFont(font);
    checkPlaces();
    QVERIFY(aid.w->width() < width);
    font.setPixelSize(30);
    aid.w->setFont(font);
    checkPlaces();
    QVERIFY(aid.w->width() > width);
    QCOMPARE(aid.w->pos(), QPoint(20 + 547, 10 + 87));
  }

  void placesGoneSinceTheListingLeaveTheWindowUsable() {
    Aid aid({"a.qvw", "sub/b.qvw"}, {"gone", "sub"});
    QVERIFY(QDir(aid.In("gone")).removeRecursively());
    QVERIFY(QFile::remove(aid.In("a.qvw")));
    aid.OpenFolder(aid.In("gone"));
    QCOMPARE(aid.w->Folder(), aid.base);
    QCOMPARE(aid.folders->currentItem()->data(Qt::UserRole).toString(), aid.base);
    QCOMPARE(aid.Files(), QStringList({"a.qvw"}));
    aid.ClickFile("a.qvw");  // its loader will find nothing to read
    aid.OpenFolder(aid.In("sub"));
    aid.ClickFile("b.qvw");
    QCOMPARE(aid.handed, Handed({{"*.qvw", aid.In("a.qvw")}, {"*.qvw", aid.In("sub/b.qvw")}}));
    QVERIFY(aid.w->isVisible());
  }
};

QTEST_MAIN(LoadAidTest)
#include "load_aid_test.moc"
