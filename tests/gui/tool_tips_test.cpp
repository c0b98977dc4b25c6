// Tool-tips wrap at a readable width on a laptop screen, however long their
// text, and the widgets keep their texts.

#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include "fake_midi_backend.h"
#include "link/midi_link.h"
#include "main_window_harness.h"
#include "scripted_prompts.h"
#include "startup/pref_dialog.h"
#include "startup/tool_tips.h"

using namespace qv;

namespace {

// The tip window Qt shows; its width once the tip of `widget` is asked for.
int TipWidthFor(QWidget* widget) {
  QToolTip::hideText();
  const QPoint at = widget->rect().center();
  QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
  QApplication::sendEvent(widget, &help);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible()) return w->width();
  return -1;
}

}  // namespace

class ToolTipsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  test::FakeMidiBackend backend_;
  test::ScriptedPrompts prompts_;

 private slots:
  void longTipsWrapEverywhere() {
    PrefDialog dlg(ListMidiDevices(backend_, prompts_), prompts_, dir_.path());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* label = dlg.findChild<QLabel*>("Label1");
    const QString tip = label->toolTip();
    QVERIFY(tip.startsWith("Each Multi requires about 3 seconds"));
    const int readable = 80 * QFontMetrics(QToolTip::font()).averageCharWidth() + 40;

    const int unwrapped = TipWidthFor(label);  // as Qt shows it by itself
    QVERIFY2(unwrapped > readable, qPrintable(QString::number(unwrapped)));

    WrapToolTips();
    WrapToolTips();  // once is enough; a second call changes nothing
    const int wrapped = TipWidthFor(label);
    QVERIFY2(wrapped > 0 && wrapped <= readable, qPrintable(QString::number(wrapped)));
    QCOMPARE(label->toolTip(), tip);
    QCOMPARE(QToolTip::text(), WrappedToolTip(tip));

    // The main window's tips as well.
    test::MainWindowHarness h(test::MainWindowHarness::Instrument::Silent);
    h.window->window.show();
    auto* channel = h.window->window.findChild<QComboBox*>("CmbMult5");
    const int channelTip = TipWidthFor(channel);
    QVERIFY2(channelTip > 0 && channelTip <= readable, qPrintable(QString::number(channelTip)));
    QToolTip::hideText();
  }

  void textsKeepTheirCharacters() {
    QCOMPARE(WrappedToolTip(QString()), QString());
    const QString rich = QStringLiteral("<b>Bold</b>");
    QCOMPARE(WrappedToolTip(rich), rich);
    QTextDocument doc;  // a plain text reads as it was, breaks and all
    doc.setHtml(WrappedToolTip(QStringLiteral("Chorus & Reverb -> 1..127\nB&amp;W")));
    QCOMPARE(doc.toPlainText(), QStringLiteral("Chorus & Reverb -> 1..127\nB&amp;W"));
  }
};

// A screen of 1366 x 768: wide enough for a tip to spread across it.
int main(int argc, char** argv) {
  QTemporaryDir config;
  const QString path = config.filePath("screen.json");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toLocal8Bit());
  QApplication app(argc, argv);
  ToolTipsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tool_tips_test.moc"
