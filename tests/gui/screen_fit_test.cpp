// The windows stay on the screen: on a 1366 x 768 laptop screen and on a
// 1280 x 720 one beside it, the main window with both edit panels open and
// the load aid lie wholly within the screen's available area.

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "filewindows/load_aid_window.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

Q_DECLARE_METATYPE(QRect)

namespace {

QRect Area(const char* name) {
  for (QScreen* screen : QGuiApplication::screens())
    if (screen->name() == QLatin1String(name)) return screen->availableGeometry();
  qFatal("no screen named %s", name);
}

void Done(QWidget& panel, const char* button) {
  Child<QPushButton>(panel, button)->click();
  QApplication::processEvents();
}

QRect OnScreen(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

QString Shown(const QRect& r) { return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// Load > "Load Aid": the window, shown.
LoadAidWindow* OpenLoadAid(WindowControls& w) {
  Child<QAction>(w, "LdAidSub")->trigger();
  QApplication::processEvents();
  auto* aid = w.window.findChild<LoadAidWindow*>("frmLoadAid");
  if (!aid || !aid->isVisible()) qFatal("no load aid shown");
  return aid;
}

void Screens() {
  QTest::addColumn<QRect>("area");
  QTest::newRow("1366x768") << Area("Laptop");
  QTest::newRow("1280x720") << Area("Small");
}

}  // namespace

class ScreenFitTest : public QObject {
  Q_OBJECT

 private slots:
  void bothPanelsKeepTheWindowOnScreen_data() { Screens(); }
  void bothPanelsKeepTheWindowOnScreen() {
    QFETCH(QRect, area);
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    QMainWindow& main = w.window;
    QApplication::processEvents();
    // Near the screen's right edge and lower down: both panels need the
    // window wider and taller than the room it has there.
    const QPoint place = area.topLeft() + QPoint(area.width() - main.frameGeometry().width() - 40, 60);
    main.move(place);
    const QRect alone = main.frameGeometry();
    QVERIFY(area.contains(alone));

    w.EditMult(6);
    w.EditEffcts->trigger();
    QApplication::processEvents();
    const QRect both = main.frameGeometry();
    QVERIFY2(area.contains(both), qPrintable(Shown(both)));
    QVERIFY(both.width() > alone.width() && both.height() > alone.height());
    // Moved only as far as it must: its right edge on the screen's, or its
    // left on the screen's when the window takes the whole width.
    QVERIFY(both.right() == area.right() || both.left() == area.left());
    QCOMPARE(both.top(), std::min(alone.top(), area.bottom() + 1 - both.height()));

    Done(*w.SSTab1, "CmdDone1");
    Done(*w.SSTab2, "CmdEffDn1");
    QCOMPARE(main.frameGeometry(), alone);

    // A place the user chose while a panel was open stays when it closes.
    w.EditEffcts->trigger();
    QApplication::processEvents();
    main.move(main.pos() - QPoint(30, 20));
    const QPoint chosen = main.pos();
    Done(*w.SSTab2, "CmdEffDn1");
    QCOMPARE(main.pos(), chosen);
  }

  // Beside a main window at the screen's corner: the load aid starts beside
  // it, clear of the Layer Pool list, Done on the screen; Escape hides it;
  // a place the user left half off the screen is taken back just enough.
  void theLoadAidStartsBesideTheWindowAndStaysOnScreen_data() { Screens(); }
  void theLoadAidStartsBesideTheWindowAndStaysOnScreen() {
    QFETCH(QRect, area);
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    w.window.move(area.topLeft());
    w.EditMult(6);  // closed again by the load aid
    QApplication::processEvents();
    LoadAidWindow* aid = OpenLoadAid(w);
    QVERIFY(w.SSTab1->isHidden());
    const QRect frame = aid->frameGeometry();
    QVERIFY2(area.contains(frame), qPrintable(Shown(frame)));
    QVERIFY(area.contains(OnScreen(aid->findChild<QPushButton*>("cmdLdAid"))));
    QVERIFY(!frame.intersects(OnScreen(w.LbxLyrPool)));
    QCOMPARE(frame.left(), w.window.frameGeometry().right() + 1);
    QCOMPARE(frame.top(), w.window.frameGeometry().top() + 87);

    QVERIFY(QTest::qWaitForWindowActive(aid));
    QTest::keyClick(aid->findChild<QWidget*>("flLdAid"), Qt::Key_Escape);
    QVERIFY(!aid->isVisible());

    aid->move(area.bottomRight() - QPoint(60, 80));
    OpenLoadAid(w);
    QCOMPARE(aid->frameGeometry().bottomRight(), area.bottomRight());
  }

  // A main window as wide as the screen leaves no room beside it: the load
  // aid keeps its offset across and comes up only as far as the screen needs.
  void withNoRoomBesideTheLoadAidKeepsItsOffsetWhereItFits_data() { Screens(); }
  void withNoRoomBesideTheLoadAidKeepsItsOffsetWhereItFits() {
    QFETCH(QRect, area);
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    w.window.setGeometry(area.adjusted(2, 2 + 19, -2, -2 - 100));
    QApplication::processEvents();
    const QRect main = w.window.frameGeometry();
    QVERIFY(area.contains(main));
    LoadAidWindow* aid = OpenLoadAid(w);
    const QRect frame = aid->frameGeometry();
    QVERIFY2(area.contains(frame), qPrintable(Shown(frame)));
    QCOMPARE(frame.left(), main.left() + 547);
    QCOMPARE(frame.top(), std::min(main.top() + 87, area.bottom() + 1 - frame.height()));
    QVERIFY(area.contains(OnScreen(aid->findChild<QPushButton*>("cmdLdAid"))));
    Child<QPushButton>(*aid, "cmdLdAid")->click();
    QVERIFY(!aid->isVisible());
  }
};

// Two screens side by side, as the offscreen platform lets a test set them.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  QFile config(dir.filePath("screens.json"));
  if (!config.open(QIODevice::WriteOnly)) return 1;
  config.write(R"({"screens":[{"name":"Laptop","x":0,"y":0,"width":1366,"height":768,"logicalDpi":96},)"
               R"({"name":"Small","x":1366,"y":0,"width":1280,"height":720,"logicalDpi":96}]})");
  config.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.fileName()).toLocal8Bit());
  QApplication app(argc, argv);
  ScreenFitTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "screen_fit_test.moc"
