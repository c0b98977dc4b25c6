#pragma once
// Drops delivered to the main window's native window as the platform
// delivers them; the window finds the control that takes each one.

#include <QPoint>
#include <QString>

class QAction;
class QWidget;
namespace qv {
class MainWindow;
}

namespace qv::test {

// Drops a drag of the thing `source` names ("layer:1", "part:8",
// "poolrow:0") on `target` at `at` (its centre when null); true when the
// drop was taken. `foreign`: the drag comes from another program.
bool DropOnto(MainWindow& window, const QString& source, QWidget* target, QPoint at = {}, bool foreign = false);

// Midi > "Trans Chnl Assigned by Audition" (null when the window has none).
QAction* TransmitChannelItem(MainWindow& window);

}  // namespace qv::test
