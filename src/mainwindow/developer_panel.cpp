#include "mainwindow/developer_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "instrument/developer_messages.h"
#include "mainwindow/command.h"
#include "mainwindow/named.h"

namespace qv {

namespace {

constexpr int kSmallPointSize = 7;
const char* const kInitialParm[5] = {"76", "0", "0", "0", "0"};  // 76: model 4C, the XG parameters

}  // namespace

DeveloperPanel::DeveloperPanel(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("DeveloperPanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  QFont small(QStringLiteral("Small Fonts"), kSmallPointSize);  // the family where it exists
  small.setStyleHint(QFont::SansSerif);
  auto* row = new QHBoxLayout;
  row->setObjectName("DeveloperRow");
  row->setSpacing(2);
  for (int i = 0; i < 5; ++i) {
    QLineEdit* box = Named(new QLineEdit(QString::fromLatin1(kInitialParm[i])), QString("TxtParm_%1").arg(i));
    box->setFont(small);
    box->setMaximumWidth(40);
    row->addWidget(box);
    parmBoxes_[static_cast<std::size_t>(i)] = box;
  }
  auto button = [&](const char* name, const char* caption) {
    auto* b = Named(new QPushButton(QString::fromLatin1(caption)), name);
    b->setFont(small);
    row->addWidget(b);
    return b;
  };
  retrieve_ = button("CmdRtrvParm", "RtrvParm");
  change_ = button("CmdChngParm", "ChngParm");
  control_ = button("CmdChngCntl", "ChngCntl");
  row->addStretch(1);
  connect(retrieve_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdRtrvParm_Click(); }));
  connect(change_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdChngParm_Click(); }));
  connect(control_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdChngCntl_Click(); }));

  trace_ = Named(new QListWidget, "List1");
  trace_->setFont(QFont("Monospace", 8));
  layout->addLayout(row);
  layout->addWidget(trace_, 1);

  WinOff_Click();
}

// Offered to every user, last of the instrument menus: it only shows and
// hides the controls, and they send only when a button is pressed.
void DeveloperPanel::AddMenuItems(QMenu* debug) {
  QAction* on = debug->addAction("Window On");
  on->setObjectName("WinOn");
  QAction* off = debug->addAction("Window Off");
  off->setObjectName("WinOff");
  connect(on, &QAction::triggered, this, AsCommand(session_, [this] { WinOn_Click(); }));
  connect(off, &QAction::triggered, this, AsCommand(session_, [this] { WinOff_Click(); }));
}

void DeveloperPanel::ClearTrace() { trace_->clear(); }

void DeveloperPanel::AddTraceLine(const QString& line) { trace_->addItem(line); }

std::vector<QWidget*> DeveloperPanel::Controls() const {
  std::vector<QWidget*> controls{trace_};
  for (QLineEdit* box : parmBoxes_) controls.push_back(box);
  controls.push_back(retrieve_);
  controls.push_back(change_);
  controls.push_back(control_);
  return controls;
}

// The panel itself goes with its controls, so that the pool list beside
// takes the room while they are hidden.
void DeveloperPanel::WinOn_Click() {
  for (QWidget* w : Controls()) w->show();
  show();
}

void DeveloperPanel::WinOff_Click() {
  for (QWidget* w : Controls()) w->hide();
  hide();
}

std::string DeveloperPanel::ParmText(int index) const {
  return parmBoxes_.at(static_cast<std::size_t>(index))->text().toStdString();
}

void DeveloperPanel::CmdChngCntl_Click() {
  if (const auto message = BuildCtrlChange(ParmText(1), ParmText(2), ParmText(3)))
    session_.SendRaw(*message);
}

void DeveloperPanel::CmdChngParm_Click() { SendParmChange(); }

void DeveloperPanel::SendParmChange() {
  if (const auto message = BuildParmChange(ParmText(0), ParmText(1), ParmText(2), ParmText(3), ParmText(4)))
    session_.SendRaw(*message);
}

std::optional<Bytes> DeveloperPanel::RqstParm() const {
  return BuildRqstParm(ParmText(1), ParmText(2), ParmText(3));
}

void DeveloperPanel::CmdRtrvParm_Click() {
  // A box that is not a number, or a byte outside 0..255, leaves everything
  // as it was: no request, no wait, the list as it stands.
  const std::optional<Bytes> request = RqstParm();
  if (request) session_.RequestParm(*request);
}

}  // namespace qv
