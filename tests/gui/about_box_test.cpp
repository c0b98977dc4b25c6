#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "scripted_prompts.h"
#include "mainwindow/about_box.h"
#include "mainwindow/registry.h"

using namespace qv;

namespace {

constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";

// A registry that holds the given values under HKEY_LOCAL_MACHINE.
auto Registry(std::map<std::string, std::string> values) {
  return [values](std::uint32_t root, const std::string& key, const std::string& name, std::string& out) {
    auto it = values.find(key + "|" + name);
    if (root != kHKeyLocalMachine || it == values.end()) return false;
    out = it->second;
    return true;
  };
}

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

  test::ScriptedPrompts prompts_;
  QStringList started_;
  bool startSucceeds_ = true;

  AboutBox* Make() {
    auto* box = new AboutBox(prompts_);
    box->startProgram = [this](const QString& program) {
      started_ << program;
      return startSucceeds_;
    };
    return box;
  }

 private slots:
  void init() {
    prompts_.Clear();
    started_.clear();
    startSucceeds_ = true;
  }

  void showsTitleVersionAndButtons() {
    QPointer<AboutBox> box = Make();
    const auto label = [&box](const char* name) { return box->findChild<QLabel*>(name); };
    const auto button = [&box](const char* name) { return box->findChild<QPushButton*>(name); };
    QCOMPARE(box->objectName(), QString("frmAbout"));
    QCOMPARE(box->windowTitle(), QString("About CS2x Quorvane"));
    QCOMPARE(label("lblTitle")->text(), QString("CS2x Quorvane"));
    QCOMPARE(label("lblVersion")->text(), QString("Version 1.0.0"));
    QCOMPARE(button("cmdOK")->text(), QString("OK"));
    QCOMPARE(button("cmdSysInfo")->text(), QString("&System Info..."));
    QVERIFY(label("lblDisclaimer")->text().contains("warranty"));
    QVERIFY(label("lblDisclaimer")->text().contains("not made, endorsed or supported by the instrument's maker"));

    box->show();
    QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());  // OK unloads the box
  }

  void withoutRegistryTheToolIsUnavailable() {
    AboutBox* box = Make();
    QTest::mouseClick(box->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(prompts_.Messages(), std::vector<std::string>{kUnavailable});
    QVERIFY(started_.isEmpty());
    std::string value = "stale";
    QVERIFY(!box->GetKeyValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value));
    QVERIFY(value.empty());
    delete box;
  }

  void startsTheToolFromTheFirstKeyAndReportsAFailedStart() {
    AboutBox* box = Make();
    box->readRegistry = Registry({{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH", "C:\\msinfo32.exe"},
                                  {"SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO", "C:\\Other"}});
    box->StartSysInfo();
    QCOMPARE(started_, QStringList{"C:\\msinfo32.exe"});
    QVERIFY(prompts_.shown.empty());

    startSucceeds_ = false;  // a failed start does not try the second key
    box->StartSysInfo();
    QCOMPARE(started_.size(), 2);
    QCOMPARE(prompts_.Messages(), std::vector<std::string>{kUnavailable});
    delete box;
  }

  void secondKeyNeedsTheToolFileToExist() {
    QTemporaryDir dir;
    const std::string folder = dir.filePath("tools").toStdString();
    AboutBox* box = Make();
    box->readRegistry = Registry({{"SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO", folder}});
    box->StartSysInfo();
    QVERIFY(started_.isEmpty());
    QCOMPARE(prompts_.Messages().size(), std::size_t{1});

    QFile tool(QString::fromStdString(folder + "\\MSINFO32.EXE"));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.close();
    box->StartSysInfo();
    QCOMPARE(started_, QStringList{tool.fileName()});
    QCOMPARE(prompts_.Messages().size(), std::size_t{1});
    delete box;
  }

  void registryValueTextRules() {
    std::string value = "kept";
    RegistryValueText(kRegString, std::string("C:\\Tools\\x.exe\0", 15), value);
    QCOMPARE(value, std::string("C:\\Tools\\x.exe"));
    // 32-bit number, low byte first: each byte in hex without a leading zero, last byte first.
    RegistryValueText(kRegDword, std::string("\x12\x0A\x00\xFF", 4), value);
    QCOMPARE(value, std::string("&hFF0A12"));
    RegistryValueText(3, "binary", value);  // other types leave the text alone
    QCOMPARE(value, std::string("&hFF0A12"));
    std::string none = "x";
    QVERIFY(!ReadRegistryValue(kHKeyLocalMachine, "SOFTWARE", "PATH", none));
    QVERIFY(none.empty());
  }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
