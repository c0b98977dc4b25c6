#include <QLabel>
#include <QtTest>

#include "startup/qt_prompts.h"
#include "startup/splash_window.h"

using namespace qv;

class StartupWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void splashShowsTitleVersionAndIgnoresInput() {
    SplashWindow splash;
    QCOMPARE(splash.objectName(), QString("frmSplash"));
    QCOMPARE(splash.lblTitle->text(), QString("CS2x Quorvane"));
    QCOMPARE(splash.lblVersion->text(), QString("Version 1.0.0"));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    splash.ShowNow();
    QVERIFY(splash.isVisible());
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::mouseClick(&splash, Qt::LeftButton);
    QVERIFY(splash.isVisible());
  }

  void fileFiltersTakeQtForm() {
    QCOMPARE(QtFileFilter("Quorvane Workspace (*.qvw)|*.qvw"), QString("Quorvane Workspace (*.qvw)"));
    // No blank before the second pair's pattern, and several pairs.
    QCOMPARE(QtFileFilter("All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx|Sys-Ex Files (*.syx)|*.syx"),
             QString("All Files (*.*);;Quorvane Files (*.qvx);;Sys-Ex Files (*.syx)"));
    QCOMPARE(QtFileFilter("Midi (*.mid;*.smf)|*.mid;*.smf"), QString("Midi (*.mid *.smf)"));
  }
};

QTEST_MAIN(StartupWindowsTest)
#include "startup_windows_test.moc"
