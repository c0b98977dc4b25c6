#include "startup/tool_tips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace qv {

namespace {

constexpr const char* kWrapperName = "qv_tool_tip_wrapper";

class ToolTipWrapper : public QObject {
 public:
  explicit ToolTipWrapper(QObject* parent) : QObject(parent) { setObjectName(QString::fromLatin1(kWrapperName)); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const QString text = widget->toolTip();
    // Widgets without a tip of their own (menus, item views) show theirs.
    if (text.isEmpty() || Qt::mightBeRichText(text)) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), WrappedToolTip(text), widget, QRect(), widget->toolTipDuration());
    return true;
  }
};

}  // namespace

QString WrappedToolTip(const QString& text) {
  if (text.isEmpty() || Qt::mightBeRichText(text)) return text;
  return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

void WrapToolTips() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || app->findChild<QObject*>(QString::fromLatin1(kWrapperName), Qt::FindDirectChildrenOnly)) return;
  app->installEventFilter(new ToolTipWrapper(app));
}

}  // namespace qv
