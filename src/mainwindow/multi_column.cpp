#include "mainwindow/multi_column.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "mainwindow/command.h"
#include "mainwindow/caption.h"
#include "mainwindow/latin1.h"
#include "mainwindow/named.h"

namespace qv {

MultiColumn::MultiColumn(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("MultiColumn");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(Named(new QLabel("Midi Chan"), "LblMidiChan"), 0, 1);
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    auto* button = Named(new QPushButton, QString("CmdMult%1").arg(part + 1));
    button->setToolTip(
        "Click on Button to audition sound (all multi currently assigned to this channel will play) or drag multi "
        "back to layer pool.");
    button->setMinimumWidth(150);
    auto* channels = Named(new QComboBox, QString("CmbMult%1").arg(part + 1));
    channels->setToolTip(
        "Select a midi channel to group sounds together so that multiple voices sound on one channel or choose an "
        "unused channel to isolate individual sound.");
    for (int ch = 1; ch <= 16; ++ch) channels->addItem(QString(" %1").arg(ch));
    connect(channels, &QComboBox::activated, this, AsCommand(session_, [this, part] { CmbMult_Click(part); }));
    partButtons_[Index(part)] = button;
    channelLists_[Index(part)] = channels;
    grid->addWidget(button, part - kFirstMultiPart + 1, 0);
    grid->addWidget(channels, part - kFirstMultiPart + 1, 1);
    ShowCaption(part);
    ShowChannel(part);
  }
  grid->setRowStretch(kLastMultiPart - kFirstMultiPart + 2, 1);
}

void MultiColumn::WatchMouse(MouseRouter& router) {
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    router.Watch(partButtons_[Index(part)], partButtons_[Index(part)], MouseRouter::Kind::MultiButton,
                 [this, part] { CmdMult_MouseDown(part); }, [this, part] { CmdMult_MouseUp(part); },
                 [part] { return Dragged{Dragged::Kind::Part, part}; });
}

int MultiColumn::PartOf(const QWidget* w) const {
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    if (partButtons_[Index(part)] == w) return part;
  return -1;
}

void MultiColumn::ShowCaption(int part) {
  if (IsMultiPart(part)) SetCaption(partButtons_[Index(part)], ShownLatin1(session_.State().Caption(part)));
}

void MultiColumn::ShowChannel(int part) {
  if (!IsMultiPart(part)) return;
  QComboBox* list = channelLists_[Index(part)];
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(session_.State().ChannelRow(part));
}

void MultiColumn::CmbMult_Click(int part) {
  if (IsMultiPart(part)) session_.SetChannelRow(part, channelLists_[Index(part)]->currentIndex());
}

void MultiColumn::CmdMult_MouseDown(int part) { session_.AuditionPart(part, true); }

void MultiColumn::CmdMult_MouseUp(int part) { session_.AuditionPart(part, false); }

// A layer reaches a part only through the pool: only a pool row brings an
// entry (the list dragged with no row selected brings none).
void MultiColumn::CmdMult_DragDrop(int part, const Dragged& source) {
  session_.StopAudition();
  if (source.kind != Dragged::Kind::PoolRow) return;
  session_.SendPoolRowToPart(part, source.number);
}

}  // namespace qv
