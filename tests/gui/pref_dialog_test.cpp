#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "files/preferences_record.h"
#include "link/midi_link.h"
#include "scripted_prompts.h"
#include "startup/pref_dialog.h"
#include "window_controls.h"

using namespace qv;
using qv::test::Child;

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

// The selected row of the list named `name`.
int Row(const PrefDialog& dlg, const char* name) { return Child<QComboBox>(dlg, name)->currentIndex(); }
QString PathText(const PrefDialog& dlg) { return Child<QLineEdit>(dlg, "TxtLdFile")->text(); }
bool LoadAtStart(const PrefDialog& dlg) { return Child<QCheckBox>(dlg, "ChkLdFile")->isChecked(); }
int Density(const PrefDialog& dlg) { return Child<QSlider>(dlg, "Slider1")->value(); }

}  // namespace

class PrefDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  MidiDeviceNames devices_;
  test::ScriptedPrompts prompts_;

  QString IniPath() const { return dir_->filePath("quorv.ini"); }
  std::unique_ptr<PrefDialog> Open() { return std::make_unique<PrefDialog>(devices_, prompts_, dir_->path()); }
  void WriteRecord(const PreferencesRecord& r) { QVERIFY(WritePreferencesFile(IniPath().toStdString(), r)); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    devices_ = {{"In A", "In B"}, {"Out A", "Out B", "Out C"}};
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
    QCOMPARE(Row(*dlg, "Combo1"), 0);
    QCOMPARE(Row(*dlg, "Combo2"), 0);
    for (int multi = 5; multi <= 16; ++multi) QVERIFY(!RetrieveBox(*dlg, multi)->isChecked());
    QCOMPARE(Child<QCheckBox>(*dlg, "Chkmlt8")->text(), QString("Multi 8"));
    QVERIFY(!LoadAtStart(*dlg));
    QVERIFY(PathText(*dlg).isEmpty());
    QCOMPARE(Child<QComboBox>(*dlg, "cmbPerfChnl")->count(), 16);
    QCOMPARE(Child<QComboBox>(*dlg, "cmbPerfChnl")->currentText(), QString(" 1"));
    QCOMPARE(Density(*dlg), 0);
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
    QCOMPARE(Row(*dlg, "Combo1"), 0);
    QCOMPARE(Row(*dlg, "Combo2"), 2);
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
      QCOMPARE(RetrieveBox(*again, multi)->isChecked(), multi == 5 || multi == 9 || multi == 16);
    QCOMPARE(Row(*again, "Combo1"), 1);
    QCOMPARE(Row(*again, "Combo2"), 2);
    QVERIFY(LoadAtStart(*again));
    QCOMPARE(PathText(*again), QString("/home/user/Übungen/set.qvw"));
    QCOMPARE(Density(*again), 7);
    QCOMPARE(Row(*again, "cmbPerfChnl"), 15);
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
    QCOMPARE(Row(*dlg, "Combo1"), 0);
    QCOMPARE(Row(*dlg, "cmbPerfChnl"), 0);
    QVERIFY(Child<QLineEdit>(*dlg, "TxtLdFile")->text().isEmpty());
  }

  // The lists as ListMidiDevices leaves them after a device whose
  // capabilities failed (tested there): an empty list selects no row.
  void anEmptyDeviceListSelectsNoRowAndStoresRowZero() {
    devices_ = {{}, {"Out A"}};
    auto dlg = Open();
    QCOMPARE(Child<QComboBox>(*dlg, "Combo2")->count(), 1);
    QCOMPARE(Child<QComboBox>(*dlg, "Combo1")->count(), 0);
    QCOMPARE(Row(*dlg, "Combo1"), -1);
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
    QVERIFY(box->isChecked() && LoadAtStart(*dlg));
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
    PrefDialog dlg(devices_, prompts_, dir_->filePath("missing/folder"));
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
