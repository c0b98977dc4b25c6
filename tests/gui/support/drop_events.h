#pragma once
// Drops delivered to the main window as the platform delivers them: a drag
// enters the window's native window at a point and is dropped there, and
// the window finds the widget that takes it.

#include <QPoint>
#include <QString>

class QAction;
class QWidget;

namespace qv {
class MainWindow;
}

namespace qv::test {

// Drops a drag of the control named `source` on `target` at `at` (target
// coordinates; its centre when null). True when the drop was accepted.
bool DropOnto(MainWindow& window, const QString& source, QWidget* target, QPoint at = {});
// The same with a drag of a layer name from another program.
bool DropForeignOnto(MainWindow& window, QWidget* target);

// Midi > "Trans Chnl Assigned by Audition", made when the window has none.
QAction* TransmitChannelItem(MainWindow& window);

}  // namespace qv::test
