// The program's start: preferences first, then the splash and the main
// window, whose timer runs the start-up work one second later.

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "files/editor_core.h"
#include "hex.h"
#include "instrument/tables.h"
#include "mainwindow/main_window.h"
#include "window_controls.h"
#include "scripted_prompts.h"
#include "startup/application.h"
#include "startup/pref_dialog.h"
#include "startup/splash_window.h"

using namespace qv;
using namespace qv::test;

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void okAtStartUpShowsTheSplashThenTheMainWindow() {
    QTemporaryDir folder;
    FakeMidiBackend backend;
    Cs2xEmulator emulator(backend);
    ScriptedPrompts prompts;
    Application app(backend, prompts, SystemClock(), folder.path());
    app.Main();
    QVERIFY(app.frmPref()->isVisible());
    QVERIFY(app.StartingUp());
    QVERIFY(!app.frmMain());

    Child<QPushButton>(*app.frmPref(), "OKButton")->click();
    QVERIFY(!app.StartingUp());
    QVERIFY(!app.frmPref()->isVisible());
    QVERIFY(app.frmSplash() && app.frmSplash()->isVisible());
    MainWindow* main = app.frmMain();
    QVERIFY(main && !main->isVisible());
    QVERIFY(Child<QTimer>(*main, "Timer1")->isActive());
    QCOMPARE(Child<QTimer>(*main, "Timer1")->interval(), 1000);

    QTRY_VERIFY_WITH_TIMEOUT(main->isVisible(), 5000);
    QVERIFY(!app.frmSplash()->isVisible());
    QVERIFY(!Child<QTimer>(*main, "Timer1")->isActive());
    QVERIFY(!app.Core()->State().Model.Busy);
    QVERIFY(prompts.shown.empty());
    QVERIFY(QFile::exists(folder.filePath("quorv.ini")));

    // File > "Startup Preferences" shows the dialog again; its OK only saves.
    Child<QAction>(*main, "StrtupPref")->trigger();
    QVERIFY(app.frmPref()->isVisible());
    Child<QPushButton>(*app.frmPref(), "OKButton")->click();
    QCOMPARE(app.frmMain(), main);
    QVERIFY(!app.frmPref()->isVisible());

    // A new channel row is sent at once and recorded in the performance.
    backend.ClearRecords();
    Child<QComboBox>(*app.frmPref(), "cmbPerfChnl")->setCurrentIndex(4);
    emit Child<QComboBox>(*app.frmPref(), "cmbPerfChnl")->activated(4);
    QCOMPARE(backend.Sent().size(), std::size_t{1});
    QCOMPARE(HexString(backend.Sent()[0]), std::string("F0 43 10 63 50 00 00 04 F7"));
    QCOMPARE(app.Core()->State().Model.Performance.Com0[9], Byte{4});
  }

  void aboutBoxAndExitUnloadTheOtherWindows() {
    QTemporaryDir folder;
    FakeMidiBackend backend;
    ScriptedPrompts prompts;
    FastClock clock;  // no instrument answers
    Application app(backend, prompts, clock, folder.path());
    app.Main();
    Child<QPushButton>(*app.frmPref(), "OKButton")->click();
    MainWindow* main = app.frmMain();
    main->Timer1_Timer();

    Child<QAction>(*main, "About")->trigger();
    auto* about = main->findChild<QDialog*>("frmAbout");
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->windowTitle(), QString("About CS2x Quorvane"));
    QVERIFY(!about->isModal());
    Child<QAction>(*main, "About")->trigger();  // shown again: the same box
    QCOMPARE(main->findChildren<QDialog*>("frmAbout").size(), qsizetype{1});
    Child<QAction>(*main, "StrtupPref")->trigger();
    QVERIFY(app.frmPref()->isVisible());

    prompts.answers.push_back(Prompts::Answer::Ok);
    QVERIFY(main->close());
    QVERIFY(!main->isVisible());
    QVERIFY(!app.frmPref()->isVisible());
    QTRY_VERIFY(!main->findChild<QDialog*>("frmAbout"));
    QVERIFY(!backend.outOpen);
    QCOMPARE(prompts.shown.back().title, std::string("Exit"));
  }

  void noMidiDevicesReachesTheMainWindowWithOneOpenBox() {
    QTemporaryDir folder;
    FakeMidiBackend backend;
    backend.inputNames.clear();
    backend.outputNames.clear();
    ScriptedPrompts prompts;
    Application app(backend, prompts, SystemClock(), folder.path());
    app.Main();
    Child<QPushButton>(*app.frmPref(), "OKButton")->click();
    app.frmMain()->Timer1_Timer();
    QVERIFY(app.frmMain()->isVisible());
    QCOMPARE(prompts.Messages().size(), std::size_t{1});
    QVERIFY(QString::fromStdString(prompts.Messages()[0]).startsWith("Operation: Open\r\n"));
    QVERIFY(backend.Sent().empty());
    // The lists show their names without an instrument; no program is chosen.
    auto* programs = Child<QComboBox>(*app.frmMain(), "CmbPrgm");
    QCOMPARE(programs->count(), 128);
    QCOMPARE(programs->itemText(0), QString::fromLatin1(PresetNames1()[0]));
    QCOMPARE(programs->currentIndex(), -1);
    for (const char* list : {"CmbRvrb", "CmbChrs", "CmbVar"}) QVERIFY(Child<QComboBox>(*app.frmMain(), list)->count() > 0);
    QCOMPARE(Child<QComboBox>(*app.frmMain(), "CmbRvrb")->count(), static_cast<int>(RvrbTypes().size()));
  }
};

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
