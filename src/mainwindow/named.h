#pragma once
// A control with its object name, by which tests and drags find it.

#include <QString>

namespace qv {

template <typename W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

template <typename W>
W* Named(W* widget, const char* name) {
  return Named(widget, QString::fromLatin1(name));
}

}  // namespace qv
