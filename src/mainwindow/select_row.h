#pragma once
// Selects `row` in `combo` from code and runs the combo's handler, as a
// choice by the user does.

#include <QComboBox>

namespace qv {

inline void SelectRow(QComboBox* combo, int row) {
  combo->setCurrentIndex(row);
  emit combo->activated(combo->currentIndex());
}

}  // namespace qv
