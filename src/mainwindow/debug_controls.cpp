// The developer's parameter window: five number boxes and three buttons that
// send a hand-made parameter change, control change or parameter request,
// beside the list that traces what the last dump transaction received.
// Debug > "Window On" and "Window Off" show and hide them together.

#include <QAction>
#include <QBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "instrument/developer_messages.h"
#include "mainwindow/main_window.h"

namespace qv {

namespace {

constexpr int kSmallPointSize = 7;
const char* const kInitialParm[5] = {"76", "0", "0", "0", "0"};  // 76: model 4C, the XG parameters

}  // namespace

void MainWindow::BuildDeveloperControls() {
  // Offered to every user, last of the instrument menus: it only shows and
  // hides the controls below, and they send only when a button is pressed.
  Debug = menuBar()->addMenu("Debug");
  Debug->setObjectName("Debug");
  WinOn = Debug->addAction("Window On");
  WinOn->setObjectName("WinOn");
  WinOff = Debug->addAction("Window Off");
  WinOff->setObjectName("WinOff");
  connect(WinOn, &QAction::triggered, this, [this] { WinOn_Click(); });
  connect(WinOff, &QAction::triggered, this, [this] { WinOff_Click(); });

  QFont small(QStringLiteral("Small Fonts"), kSmallPointSize);  // the family where it exists
  small.setStyleHint(QFont::SansSerif);
  auto* row = new QHBoxLayout;
  row->setObjectName("DeveloperRow");
  row->setSpacing(2);
  for (int i = 0; i < 5; ++i) {
    QLineEdit*& box = TxtParm[static_cast<std::size_t>(i)];
    box = new QLineEdit(QString::fromLatin1(kInitialParm[i]));
    box->setObjectName(QString("TxtParm_%1").arg(i));
    box->setFont(small);
    box->setMaximumWidth(40);
    row->addWidget(box);
  }
  auto button = [&](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption));
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(small);
    row->addWidget(b);
    return b;
  };
  CmdRtrvParm = button("CmdRtrvParm", "RtrvParm");
  CmdChngParm = button("CmdChngParm", "ChngParm");
  CmdChngCntl = button("CmdChngCntl", "ChngCntl");
  row->addStretch(1);
  connect(CmdRtrvParm, &QPushButton::clicked, this, [this] { CmdRtrvParm_Click(); });
  connect(CmdChngParm, &QPushButton::clicked, this, [this] { CmdChngParm_Click(); });
  connect(CmdChngCntl, &QPushButton::clicked, this, [this] { CmdChngCntl_Click(); });

  // The row goes just above the trace list.
  auto* box = qobject_cast<QBoxLayout*>(List1->parentWidget()->layout());
  box->insertLayout(box->indexOf(List1), row);

  for (QWidget* w : DeveloperControls()) w->hide();
}

std::vector<QWidget*> MainWindow::DeveloperControls() const {
  std::vector<QWidget*> controls{List1};
  for (QLineEdit* box : TxtParm) controls.push_back(box);
  controls.push_back(CmdRtrvParm);
  controls.push_back(CmdChngParm);
  controls.push_back(CmdChngCntl);
  return controls;
}

void MainWindow::WinOn_Click() {
  for (QWidget* w : DeveloperControls()) w->show();
}

void MainWindow::WinOff_Click() {
  for (QWidget* w : DeveloperControls()) w->hide();
}

std::string MainWindow::ParmText(int index) const {
  return TxtParm.at(static_cast<std::size_t>(index))->text().toStdString();
}

void MainWindow::CmdChngCntl_Click() {
  if (const auto message = BuildCtrlChange(ParmText(1), ParmText(2), ParmText(3))) Link().SendSysEx(*message);
}

void MainWindow::CmdChngParm_Click() { SendParmChange(); }

void MainWindow::SendParmChange() {
  if (const auto message = BuildParmChange(ParmText(0), ParmText(1), ParmText(2), ParmText(3), ParmText(4)))
    Link().SendSysEx(*message);
}

std::optional<Bytes> MainWindow::RqstParm() const { return BuildRqstParm(ParmText(1), ParmText(2), ParmText(3)); }

void MainWindow::CmdRtrvParm_Click() {
  // A box that is not a number, or a byte outside 0..255, leaves everything
  // as it was: no request, no wait, the list as it stands.
  const std::optional<Bytes> request = RqstParm();
  if (!request) return;
  ClearTrace();
  Link().RtrvDump(kDumpParm, 0, 0, request);
}

}  // namespace qv
