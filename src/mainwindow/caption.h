#pragma once
// A button's caption holds a name as it is: names such as "Pno&Str" are shown
// with their ampersand, not as a keyboard shortcut.

#include <QAbstractButton>
#include <QString>

namespace qv {

inline void SetCaption(QAbstractButton* button, QString caption) {
  button->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
}

inline QString Caption(const QAbstractButton* button) {
  return button->text().replace(QLatin1String("&&"), QLatin1String("&"));
}

}  // namespace qv
