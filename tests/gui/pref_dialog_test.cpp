#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "fake_midi_backend.h"
#include "files/preferences_record.h"
#include "scripted_prompts.h"
#include "startup/pref_dialog.h"
#include "window_controls.h"

using namespace qv;
using qv::test::Child;

namespace {

// Lists its devices until the device `failAt`, whose capabilities fail.
namespace {
// A choice of a row by the user.
void Choose(QComboBox* combo, int row) {
  combo->setCurrentIndex(row);
  emit combo->activated(row);
}

// The box that retrieves multi part `multi` (5..16) at start.
QCheckBox* RetrieveBox(const PrefDialog& dlg, int multi) {
  return Child<QCheckBox>(dlg, multi == 8 ? QStringLiteral("Chkmlt8") : QStringLiteral("ChkMlt%1").arg(multi));
}
}  // namespace

class CapsFailBackend : public test::FakeMidiBackend {
 public:
  int failOutAt = -1, failInAt = -1, code = 6;
  int OutGetDevCaps(int device, std::string& name) override {
    return device == failOutAt ? code : FakeMidiBackend::OutGetDevCaps(device, name);
  }
  int InGetDevCaps(int device, std::string& name) override {
    return device == failInAt ? code : FakeMidiBackend::InGetDevCaps(device, name);
  }
};

}  // namespace

class PrefDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  CapsFailBackend backend_;
  test::ScriptedPrompts prompts_;

  QString IniPath() const { return dir_->filePath("quorv.ini"); }
  std::unique_ptr<PrefDialog> Open() { return std::make_unique<PrefDialog>(backend_, prompts_, dir_->path()); }
  void WriteRecord(const PreferencesRecord& r) { QVERIFY(WritePreferencesFile(IniPath().toStdString(), r)); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    backend_.inputNames = {"In A", "In B"};
    backend_.outputNames = {"Out A", "Out B", "Out C"};
    backend_.failOutAt = backend_.failInAt = -1;
    prompts_ = {};
  }

  void firstStartShowsDefaultsAndOkWritesTheFile() {
    auto dlg = Open();
    int startups = 0;
    dlg->onOkAtStartUp = [&] {
      ++startups;
      QVERIFY(!QFile::exists(IniPath()));  // runs before the file is written
    };
    QCOMPARE(Child<QComboBox>(*dlg, "Combo1")->count(), 2);
    QCOMPARE(Child<QComboBox>(*dlg, "Combo2")->itemText(2), QString("Out C"));
    QCOMPARE(dlg->MidiInDevRow(), 0);
    QCOMPARE(dlg->MidiOutDevRow(), 0);
    for (int multi = 5; multi <= 16; ++multi) QVERIFY(!RetrieveBox(*dlg, multi)->isChecked());
    QCOMPARE(Child<QCheckBox>(*dlg, "Chkmlt8")->text(), QString("Multi 8"));
    QVERIFY(!dlg->LoadWorkspaceAtStart());
    QVERIFY(dlg->WorkspacePath().isEmpty());
    QCOMPARE(Child<QComboBox>(*dlg, "cmbPerfChnl")->count(), 16);
    QCOMPARE(Child<QComboBox>(*dlg, "cmbPerfChnl")->currentText(), QString(" 1"));
    QCOMPARE(dlg->Density(), 0);
    QVERIFY(prompts_.shown.empty());

    dlg->show();
    QTest::mouseClick(Child<QPushButton>(*dlg, "OKButton"), Qt::LeftButton);
    QCOMPARE(startups, 1);
    QVERIFY(!dlg->startingUp);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(QFileInfo(IniPath()).size(), qint64(170));
  }

  void outOfRangeValuesFallBackToFirstRows() {
    PreferencesRecord r;
    r.MidiInDevIdx = 2;  // two input devices: rows 0 and 1
    r.MidiOutDevIdx = 2;
    r.Density = 9;
    r.PerfChannel = 20;
    r.WsPath = "/music/setup.qvw   ";
    WriteRecord(r);
    auto dlg = Open();
    QCOMPARE(dlg->MidiInDevRow(), 0);
    QCOMPARE(dlg->MidiOutDevRow(), 2);
    QCOMPARE(Child<QSlider>(*dlg, "Slider1")->value(), 0);
    QCOMPARE(Child<QComboBox>(*dlg, "cmbPerfChnl")->currentText(), QString(" 1"));
    QCOMPARE(Child<QLineEdit>(*dlg, "TxtLdFile")->text(), QString("/music/setup.qvw"));
  }

  void everyFieldSurvivesARoundTrip() {
    auto dlg = Open();
    for (int multi : {5, 9, 16}) RetrieveBox(*dlg, multi)->setChecked(true);
    Child<QComboBox>(*dlg, "Combo1")->setCurrentIndex(1);
    Child<QComboBox>(*dlg, "Combo2")->setCurrentIndex(2);
    Child<QCheckBox>(*dlg, "ChkLdFile")->setChecked(true);
    Child<QLineEdit>(*dlg, "TxtLdFile")->setText("/home/user/Übungen/set.qvw");
    Child<QSlider>(*dlg, "Slider1")->setValue(7);
    Child<QComboBox>(*dlg, "cmbPerfChnl")->setCurrentIndex(15);
    QVERIFY(dlg->SavePreferences());

    auto again = Open();
    for (int multi = 5; multi <= 16; ++multi)
      QCOMPARE(again->RetrieveAtStart(multi), multi == 5 || multi == 9 || multi == 16);
    QCOMPARE(again->MidiInDevRow(), 1);
    QCOMPARE(again->MidiOutDevRow(), 2);
    QVERIFY(again->LoadWorkspaceAtStart());
    QCOMPARE(again->WorkspacePath(), QString("/home/user/Übungen/set.qvw"));
    QCOMPARE(again->Density(), 7);
    QCOMPARE(again->PerfChannelRow(), 15);
  }

  void longPathIsStoredCutTo127Characters() {
    auto dlg = Open();
    const QString path = "/" + QString(140, 'p');
    Child<QLineEdit>(*dlg, "TxtLdFile")->setText(path);
    QVERIFY(dlg->SavePreferences());
    QCOMPARE(Child<QLineEdit>(*Open(), "TxtLdFile")->text(), path.left(127));
  }

  void tooLongFileShowsTheBoxAndReadsNothing() {
    QFile f(IniPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(18201, '\x01'));  // would check every box and pick rows 1
    f.close();
    auto dlg = Open();
    QCOMPARE(prompts_.Messages(),
             std::vector<std::string>{
                 "Sorry, You have chosen a file of the wrong type. Please choose a file with the extension .qvm"});
    QVERIFY(!RetrieveBox(*dlg, 5)->isChecked());
    QCOMPARE(dlg->MidiInDevRow(), 0);
    QCOMPARE(dlg->PerfChannelRow(), 0);
    QVERIFY(Child<QLineEdit>(*dlg, "TxtLdFile")->text().isEmpty());
  }

  void capsFailureShowsTheCodeAndStopsListing() {
    backend_.failOutAt = 1;
    backend_.failInAt = 0;
    backend_.code = 6;
    auto dlg = Open();
    QCOMPARE(prompts_.Messages(),
             (std::vector<std::string>{"midiInGetDevCaps Error: 6", "midiOutGetDevCaps Error: 6"}));
    QCOMPARE(Child<QComboBox>(*dlg, "Combo2")->count(), 1);  // the devices before the failing one
    QCOMPARE(Child<QComboBox>(*dlg, "Combo1")->count(), 0);
    QCOMPARE(dlg->MidiInDevRow(), -1);
    QVERIFY(dlg->SavePreferences());
    QCOMPARE(ReadPreferencesFile(IniPath().toStdString()).record.MidiInDevIdx, Byte{0});
  }

  void browseSetsThePathOnlyWhenAFileIsChosen() {
    auto dlg = Open();
    Child<QLineEdit>(*dlg, "TxtLdFile")->setText("/old.qvw");
    prompts_.openFiles = {std::nullopt, std::string("/new/work space.qvw")};
    QTest::mouseClick(Child<QPushButton>(*dlg, "CmdBrowse"), Qt::LeftButton);
    QCOMPARE(Child<QLineEdit>(*dlg, "TxtLdFile")->text(), QString("/old.qvw"));
    QTest::mouseClick(Child<QPushButton>(*dlg, "CmdBrowse"), Qt::LeftButton);
    QCOMPARE(Child<QLineEdit>(*dlg, "TxtLdFile")->text(), QString("/new/work space.qvw"));
    QCOMPARE(prompts_.shown.at(0).text, std::string("Quorvane Workspace (*.qvw)|*.qvw"));
  }

  void channelHookRunsOnlyAfterStartUpAndOkStartsOnce() {
    auto dlg = Open();
    int startups = 0, channelChanges = 0;
    dlg->onPerfChannelChanged = [&](int row) {
      ++channelChanges;
      QCOMPARE(row, 9);
    };
    dlg->onOkAtStartUp = [&] {
      ++startups;
      Choose(Child<QComboBox>(*dlg, "cmbPerfChnl"), 4);  // still starting up: applies nothing
      QTest::mouseClick(Child<QPushButton>(*dlg, "OKButton"), Qt::LeftButton);  // a second click while starting
    };
    dlg->show();
    QTest::mouseClick(Child<QPushButton>(*dlg, "OKButton"), Qt::LeftButton);
    QCOMPARE(startups, 1);
    QCOMPARE(channelChanges, 0);

    dlg->show();
    Choose(Child<QComboBox>(*dlg, "cmbPerfChnl"), 9);
    QCOMPARE(channelChanges, 1);
    Choose(Child<QComboBox>(*dlg, "cmbPerfChnl"), 9);  // the row already shown applies again
    QCOMPARE(channelChanges, 2);
    QTest::mouseClick(Child<QPushButton>(*dlg, "OKButton"), Qt::LeftButton);
    QCOMPARE(startups, 1);
    QCOMPARE(channelChanges, 2);
    QCOMPARE(ReadPreferencesFile(IniPath().toStdString()).record.PerfChannel, std::int16_t{9});
  }

  void clickOnTheTextBesideTheWorkspaceBoxTogglesIt() {
    auto dlg = Open();
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    auto* text = dlg->findChild<QLabel*>("Label3");
    auto* box = dlg->findChild<QCheckBox*>("ChkLdFile");
    QVERIFY(text && box);
    const QPoint middle = text->rect().center();
    QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, middle);
    QVERIFY(box->isChecked() && dlg->LoadWorkspaceAtStart());
    QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, middle);
    QVERIFY(!box->isChecked());
    // As on a check box's own caption: a press taken away before the release
    // and any other button change nothing.
    QTest::mousePress(text, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseRelease(text, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    QTest::mouseClick(text, Qt::RightButton, Qt::NoModifier, middle);
    QVERIFY(!box->isChecked());
    QTest::mouseClick(RetrieveBox(*dlg, 5), Qt::LeftButton, Qt::NoModifier, RetrieveBox(*dlg, 5)->rect().center());
    QVERIFY(RetrieveBox(*dlg, 5)->isChecked());
  }

  // A file that cannot be written: one box names it and gives the reason;
  // the dialog hides all the same and its values stay in force.
  void unwritableFileIsToldAndHidesTheDialog() {
    PrefDialog dlg(backend_, prompts_, dir_->filePath("missing/folder"));
    dlg.show();
    QTest::mouseClick(Child<QPushButton>(dlg, "OKButton"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    const auto messages = prompts_.Messages();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].rfind("The file \"" + dir_->filePath("missing/folder/quorv.ini").toStdString() + "\"", 0) == 0);
    QVERIFY(!dlg.SavePreferences());
  }
};

QTEST_MAIN(PrefDialogTest)
#include "pref_dialog_test.moc"
