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

// A menu added to a menu bar or to a menu, with its object name.
template <typename Parent>
auto* NamedMenu(Parent* parent, const char* name, const char* caption) {
  return Named(parent->addMenu(QString::fromLatin1(caption)), name);
}

}  // namespace qv
