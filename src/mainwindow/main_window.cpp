#include "mainwindow/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "filewindows/screen_room.h"
#include "mainwindow/audition_panel.h"
#include "mainwindow/developer_panel.h"
#include "mainwindow/file_menus.h"
#include "mainwindow/layer_pool_panel.h"
#include "mainwindow/main_menu.h"
#include "mainwindow/multi_column.h"
#include "mainwindow/multi_edit_panel.h"
#include "mainwindow/performance_panel.h"
#include "mainwindow/wheel_guard.h"

namespace qv {

namespace {

// A scroll area that asks for the room its panels ask for.
class PanelsScroll : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QScrollArea::sizeHint(); }
};

}  // namespace

MainWindow::MainWindow(EditorCore& core, EditorSignals& notices, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), core_(core), session_(core.Editor()), notices_(notices), prompts_(prompts) {
  setObjectName("frmMain");
  setWindowTitle(QString::fromLatin1(kAppTitle));
  BuildPanels();
  ConnectNotices();

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setSingleShot(true);
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
  timer1_->start();
}

void MainWindow::BuildPanels() {
  Session& session = session_;
  performance_ = new PerformancePanel(session);
  audition_ = new AuditionPanel(session);
  multis_ = new MultiColumn(session);
  pool_ = new LayerPoolPanel(session);
  developer_ = new DeveloperPanel(session);
  effects_ = new EffectsPanel(session);
  multiEdit_ = new MultiEditPanel(session);

  auto* central = new QWidget;
  central->setObjectName("Panels");
  auto* columns = new QHBoxLayout(central);
  auto* left = new QVBoxLayout;
  left->addWidget(performance_);
  left->addWidget(audition_);
  left->addStretch(1);
  columns->addLayout(left);
  columns->addWidget(multis_);
  auto* editPanels = new QWidget;
  editPanels->setObjectName("EditPanels");
  auto* edits = new QVBoxLayout(editPanels);
  edits->setContentsMargins(0, 0, 0, 0);
  edits->addWidget(effects_);
  edits->addWidget(multiEdit_);
  edits->addStretch(1);
  effects_->hide();
  multiEdit_->hide();
  effects_->installEventFilter(this);
  multiEdit_->installEventFilter(this);
  columns->addWidget(editPanels);
  auto* right = new QVBoxLayout;
  right->addWidget(pool_, 1);
  right->addWidget(developer_, 1);
  columns->addLayout(right, 1);
  // The panels scroll only when the screen has no room for them all.
  scroll_ = new PanelsScroll(this);
  scroll_->setObjectName("PanelsScroll");
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setWidget(central);
  setCentralWidget(scroll_);
  scroll_->setMinimumSize(central->minimumSizeHint());

  menus_ = new MainMenu(core_, prompts_, [this] {
    if (onShowPreferences) onShowPreferences();
  });
  setMenuBar(menus_);
  developer_->AddMenuItems(menus_->DebugMenu());

  // The lists and sliders: the program list, the audition's note and
  // velocity, the channel lists and the two edit panels. A wheel turned over
  // the window passes each by until it is clicked.
  auto* wheel = new WheelGuard(this);
  wheel->setObjectName("WheelGuard");
  for (QWidget* panel : std::initializer_list<QWidget*>{performance_, audition_, multis_, multiEdit_, effects_})
    wheel->GuardControlsOf(panel);

  auto* mouse = new MouseRouter(*this, this);
  mouse->setObjectName("MouseRouter");
  performance_->WatchMouse(*mouse);
  multis_->WatchMouse(*mouse);
  pool_->WatchMouse(*mouse);
  setAcceptDrops(true);
  auto* drops = new DropRouter(*this);
  drops->setObjectName("DropRouter");
}

// Each notice of the editor reaches the panel that draws it.
void MainWindow::ConnectNotices() {
  EditorSignals* n = &notices_;
  connect(n, &EditorSignals::TraceCleared, developer_, &DeveloperPanel::ClearTrace);
  connect(n, &EditorSignals::TraceLineAdded, developer_, &DeveloperPanel::AddTraceLine);
  connect(n, &EditorSignals::PerformanceChanged, performance_, &PerformancePanel::DrawPerformance);
  connect(n, &EditorSignals::CaptionChanged, multis_, &MultiColumn::ShowCaption);
  connect(n, &EditorSignals::ChannelChanged, multis_, &MultiColumn::ShowChannel);
  connect(n, &EditorSignals::PoolRowsChanged, pool_, &LayerPoolPanel::ShowPool);
  multiEdit_->Listen(*n);
  effects_->Listen(*n);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((watched == effects_ || watched == multiEdit_) && (type == QEvent::Show || type == QEvent::Hide) &&
      !fitPending_) {
    fitPending_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::FitToPanels, Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::PanelsOpen() const { return !effects_->isHidden() || !multiEdit_->isHidden(); }

// With no edit panel open every size and place is the user's (or the first).
void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!PanelsOpen()) restingSize_ = settledSize_ = event->size();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (!PanelsOpen()) restingPlace_ = settledPlace_ = pos();
}

// The panels ask for no more room than the screen's available area has
// beside the window's frame and menu bar; what does not fit scrolls.
void MainWindow::BoundPanelsToScreen() {
  const QSize wanted = scroll_->widget()->minimumSizeHint();
  const QSize room = AvailableArea(*this).size() - FrameExtra(*this) - QSize(0, menuBar()->sizeHint().height());
  QSize least = wanted.boundedTo(room);
  // A scroll bar takes room across the other way.
  if (wanted.width() > room.width()) least.rheight() += scroll_->horizontalScrollBar()->sizeHint().height();
  if (wanted.height() > room.height()) least.rwidth() += scroll_->verticalScrollBar()->sizeHint().width();
  scroll_->setMinimumSize(least.boundedTo(room.expandedTo(QSize(0, 0))));
}

// The layout grows the window only as far as its minimum, so a window that
// the user has not resized has exactly the settled size grown to the new
// minimum. A panel closed gives back its room; one the user made room for
// leaves the window as it is. An open panel moves the window only as far as
// the screen's available area needs; once they are all closed the window
// goes back to its place, unless the user has moved it since.
void MainWindow::FitToPanels() {
  fitPending_ = false;
  if (!isVisible()) return;
  // A panel's change of size climbs one layout at a time: panel column,
  // panels, then (once the panels are bound to the screen) scroll area and
  // window.
  const auto settleLayouts = [] {
    for (int level = 0; level < 2; ++level) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  };
  settleLayouts();
  BoundPanelsToScreen();
  settleLayouts();
  layout()->activate();
  if (size() != settledSize_.expandedTo(minimumSize()))
    restingSize_ = size();
  else
    resize(restingSize_.expandedTo(minimumSize()));
  settledSize_ = size();

  if (pos() == settledPlace_) {
    const QRect frame(PanelsOpen() ? pos() : restingPlace_, size() + FrameExtra(*this));
    move(PanelsOpen() ? MovedWithin(frame, AvailableArea(*this)).topLeft() : restingPlace_);
  } else {
    restingPlace_ = pos();
  }
  settledPlace_ = pos();
}

void MainWindow::DropOn(QWidget* target, const Dragged& source) {
  ++dropsTaken_;
  Session::CommandScope command(session_);
  for (QWidget* w = target; w && (w == this || !w->isWindow()); w = w->parentWidget()) {
    if (pool_->IsPoolList(w)) return pool_->LbxLyrPool_DragDrop(source);
    if (const int part = multis_->PartOf(w); part >= 0) return multis_->CmdMult_DragDrop(part, source);
  }
  Form_DragDrop(source);
}

void MainWindow::Form_DragDrop(const Dragged&) { session_.StopAudition(); }

// Leaving the program, by File > "Exit" or by the window's close box: after
// the user confirms, MIDI thru is cut, the devices that are open are closed
// and the other windows are unloaded. Nothing is saved.
void MainWindow::closeEvent(QCloseEvent* event) {
  Session::CommandScope command(session_);
  bool cancel = false;
  Form_Unload(cancel);
  if (cancel)
    event->ignore();
  else
    event->accept();
}

void MainWindow::Form_Unload(bool& cancel) {
  if (prompts_.Question("Do you really want to exit program?", "Exit") != Prompts::Answer::Ok) {
    cancel = true;
    return;
  }
  session_.CloseDevices();
  if (onUnload) onUnload();
  menus_->Files().UnloadLoadAid();
}

}  // namespace qv
