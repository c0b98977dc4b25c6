#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <optional>

#include "startup/qt_prompts.h"
#include "startup/splash_window.h"

using namespace qv;

namespace {

// Runs `act` on the modal dialog of type T that is about to be shown; a
// dialog that `act` leaves open (a failed check) is cancelled.
template <typename T>
void OnModal(std::function<void(T&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act, tries = 0]() mutable {
    if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      timer->stop();
      QPointer<QDialog> dialog(modal);
      act(*modal);
      if (dialog && dialog->isVisible()) dialog->reject();
    } else if (++tries > 2000) {
      timer->deleteLater();
      timer->stop();
      QApplication::closeAllWindows();
    }
  });
  timer->start();
}

// While it lives, answers every message box with `button`, once `seen` has
// read it. Unlike OnModal, it leaves nothing behind when no box comes.
class BoxAnswer {
 public:
  explicit BoxAnswer(QMessageBox::StandardButton button, std::function<void(QMessageBox&)> seen = {}) {
    QObject::connect(&timer_, &QTimer::timeout, [button, seen] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        if (seen) seen(*box);
        box->button(button)->click();
      }
    });
    timer_.start(5);
  }

 private:
  QTimer timer_;
};

}  // namespace

class StartupWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  // The file dialogs keep their state (columns, view, folders) in the user's
  // settings; here in a folder of the test's own, so that no earlier run
  // decides what they show.
  void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path()); }

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
    // No blank before the second pair's pattern, and several pairs; "*.*"
    // must also list names without a dot.
    QCOMPARE(QtFileFilter("All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx|Sys-Ex Files (*.syx)|*.syx"),
             QString("All Files (*);;Quorvane Files (*.qvx);;Sys-Ex Files (*.syx)"));
    QCOMPARE(QtFileFilter("All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx|Sys-Ex Files (*.syx)|*.syx|Layer Pools "
                          "(*.qvp)|*.qvp"),
             QString("All Files (*);;Quorvane Files (*.qvx);;Sys-Ex Files (*.syx);;Layer Pools (*.qvp)"));
    QCOMPARE(QtFileFilter("Midi (*.mid;*.smf)|*.mid;*.smf"), QString("Midi (*.mid *.smf)"));
  }

  void fileDialogsShareOnePathAndTakeNamesAsTyped() {
    QTemporaryDir tmp;
    const QString old = tmp.filePath("old.qvp"), typed = tmp.filePath("pool");
    QFile(old).open(QIODevice::WriteOnly);
    QtPrompts prompts;
    const std::string poolFilter = "Layer Pool (*.qvp)|*.qvp";

    // Open takes the first pair and the file; save then opens on that file,
    // and a name typed without extension gets the chosen pair's.
    OnModal<QFileDialog>([&](QFileDialog& d) {
      QCOMPARE(d.selectedNameFilter(), QString("All Files (*)"));
      d.selectFile(old);
      static_cast<QDialog&>(d).accept();
    });
    QCOMPARE(prompts.OpenFile("All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx"), std::optional(old.toStdString()));
    OnModal<QFileDialog>([&](QFileDialog& d) {
      QCOMPARE(d.selectedFiles(), QStringList({old}));
      d.selectFile(typed);
      static_cast<QDialog&>(d).accept();
    });
    QCOMPARE(prompts.SaveFile(poolFilter), std::optional((typed + ".qvp").toStdString()));

    // A cancelled dialog leaves the path as it was.
    OnModal<QFileDialog>([](QFileDialog&) {});
    QCOMPARE(prompts.OpenFile(poolFilter), std::nullopt);
    OnModal<QFileDialog>([&](QFileDialog& d) { QCOMPARE(d.selectedFiles(), QStringList({typed + ".qvp"})); });
    QCOMPARE(prompts.SaveFile(poolFilter), std::nullopt);

    // A dialog of another kind opens on the folder alone, unless it is given
    // a name to propose; with "All Files" chosen a name stays as typed.
    const std::string textFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    OnModal<QFileDialog>([&](QFileDialog& d) {
      QCOMPARE(d.directory().absolutePath(), tmp.path());
      QVERIFY(d.selectedFiles().isEmpty());
    });
    QCOMPARE(prompts.OpenFile("Quorvane WorkSpace (*.qvw)|*.qvw"), std::nullopt);
    OnModal<QFileDialog>([&](QFileDialog& d) {
      QCOMPARE(d.selectedFiles(), QStringList({old + ".txt"}));
      d.selectNameFilter("All Files (*)");
      d.selectFile(typed);
      static_cast<QDialog&>(d).accept();
    });
    QCOMPARE(prompts.SaveFile(textFilter, (old + ".txt").toStdString()), std::optional(typed.toStdString()));

    // "ws1" is written as ws1.qvw, a dot or not, and the question names that file.
    for (const QString typed : {"ws1", "live set 2.1"}) {
      const QString written = tmp.filePath(typed + ".qvw");
      QFile(written).open(QIODevice::WriteOnly);
      QString question;
      OnModal<QFileDialog>([&](QFileDialog& d) {
        d.selectFile(tmp.filePath(typed));
        const BoxAnswer yes(QMessageBox::Yes, [&](QMessageBox& box) { question = box.text(); });
        static_cast<QDialog&>(d).accept();
      });
      QCOMPARE(prompts.SaveFile("Quorvane Workspace (*.qvw)|*.qvw"), std::optional(written.toStdString()));
      QVERIFY2(question.contains(typed + ".qvw"), qPrintable(question));
    }

    // Saving over a file asks first: No returns to the dialog, Yes takes it.
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
      bool asked = false;
      OnModal<QFileDialog>([&](QFileDialog& d) {
        d.selectFile(old);
        OnModal<QMessageBox>([&](QMessageBox& box) {
          asked = true;
          box.button(answer)->click();
        });
        static_cast<QDialog&>(d).accept();
        QCOMPARE(d.isVisible(), answer == QMessageBox::No);
      });
      QCOMPARE(prompts.SaveFile(poolFilter),
               answer == QMessageBox::Yes ? std::optional(old.toStdString()) : std::nullopt);
      QVERIFY(asked);
    }
  }

  // A save made from a file hands that file back without the replace
  // question: its caller refuses it before anything else is asked.
  void aSaveIsNeverAskedToReplaceItsSource() {
    QTemporaryDir tmp;
    const QString source = tmp.filePath("in.syx");
    QFile(source).open(QIODevice::WriteOnly);
    QtPrompts prompts;
    bool asked = false;
    OnModal<QFileDialog>([&](QFileDialog& d) {
      d.selectNameFilter("All Files (*)");
      d.selectFile(source);
      const BoxAnswer no(QMessageBox::No, [&](QMessageBox&) { asked = true; });
      static_cast<QDialog&>(d).accept();
    });
    const std::string name = source.toStdString();
    QCOMPARE(prompts.SaveFile("Text Files (*.txt)|*.txt|All Files (*.*)|*.*", name + ".txt", name), std::optional(name));
    QVERIFY(!asked);
  }

  // The detail view's Size, Type and Date columns show whole, and the
  // names take the rest of its width.
  void fileDialogsShowTheirColumnsWhole() {
    QTemporaryDir tmp;
    QFile(tmp.filePath("a.qvw")).open(QIODevice::WriteOnly);
    QtPrompts prompts;
    OnModal<QFileDialog>([&](QFileDialog& d) {
      d.setViewMode(QFileDialog::Detail);
      d.setDirectory(tmp.path());
      auto* view = d.findChild<QTreeView*>("treeView");
      QVERIFY(view && view->isVisible());
      QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 1);
      QHeaderView* header = view->header();
      QTRY_COMPARE(header->length(), view->viewport()->width());
      const QAbstractItemView* rows = view;
      for (int column = 1; column < header->count(); ++column)
        QVERIFY(header->sectionSize(column) >=
                std::max(rows->sizeHintForColumn(column), header->sectionSizeHint(column)));
    });
    QCOMPARE(prompts.OpenFile("Quorvane Workspace (*.qvw)|*.qvw"), std::nullopt);
  }

  void fileDialogsNeverReadAFileToListIt() {
    // A listed file's type comes from its name: "doc" holds a PDF header and
    // is named like the empty "blank". Reading /proc/kmsg waits for the next
    // kernel message, so the dialog that follows a save aimed at /proc must
    // open and close without reading it (a hang, not a failure, if it does).
    QTemporaryDir tmp;
    QFile doc(tmp.filePath("doc"));
    QVERIFY(doc.open(QIODevice::WriteOnly) && doc.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n") > 0);
    doc.close();
    QFile(tmp.filePath("blank")).open(QIODevice::WriteOnly);
    QtPrompts prompts;
    const std::string workspaceFilter = "Quorvane Workspace (*.qvw)|*.qvw";
    OnModal<QFileDialog>([&](QFileDialog& d) {
      QAbstractFileIconProvider* icons = d.iconProvider();
      QVERIFY(icons);
      QCOMPARE(icons->type(QFileInfo(doc.fileName())), icons->type(QFileInfo(tmp.filePath("blank"))));
      d.selectFile("/proc/foo.qvw");
      static_cast<QDialog&>(d).accept();
    });
    QCOMPARE(prompts.SaveFile(workspaceFilter), std::optional<std::string>("/proc/foo.qvw"));
    OnModal<QFileDialog>([](QFileDialog& d) { QCOMPARE(d.directory().absolutePath(), QString("/proc")); });
    QCOMPARE(prompts.OpenFile(workspaceFilter), std::nullopt);
  }

 private:
  QTemporaryDir settings_;
};

QTEST_MAIN(StartupWindowsTest)
#include "startup_windows_test.moc"
