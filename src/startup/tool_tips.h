#pragma once
// Tool-tips of the whole program wrap at a readable width. Qt shows a
// plain-text tool-tip on one line as long as the screen allows, so a long
// one covers the controls under it; a rich-text tool-tip is wrapped. One
// application-wide filter shows every plain tool-tip as rich text when it
// is about to appear, so the widgets keep their texts as they are.

#include <QString>

namespace qv {

// Installs the filter on the running application; calling it again does
// nothing.
void WrapToolTips();

// The text shown for a widget's tool-tip: rich text as it is, plain text
// escaped and marked as rich text, so that it wraps.
QString WrappedToolTip(const QString& text);

}  // namespace qv
