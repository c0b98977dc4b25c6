#include "mainwindow/layer_pool_panel.h"

#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainwindow/command.h"
#include "mainwindow/drag_and_drop.h"
#include "mainwindow/latin1.h"
#include "mainwindow/named.h"

namespace qv {

namespace {

constexpr int kSlotRole = Qt::UserRole;

// The number in `name` behind `prefix` when it lies in first..last, else -1.
int NumberBehind(const QString& name, const QString& prefix, int first, int last) {
  if (!name.startsWith(prefix)) return -1;
  bool ok = false;
  const int n = name.mid(prefix.size()).toInt(&ok);
  return ok && n >= first && n <= last && name == prefix + QString::number(n) ? n : -1;
}

bool Shows(const QListWidgetItem* item, const PoolRow& row) {
  return item->text() == ShownLatin1(row.name) && item->data(kSlotRole).toInt() == row.slot;
}

QListWidgetItem* MakeItem(const PoolRow& row) {
  auto* item = new QListWidgetItem(ShownLatin1(row.name));
  item->setData(kSlotRole, row.slot);
  return item;
}

}  // namespace

LayerPoolPanel::LayerPoolPanel(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("LayerPoolPanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Named(new QLabel("Layer Pool"), "LblLayerPool"));
  list_ = Named(new QListWidget, "LbxLyrPool");
  list_->setToolTip("Drag and drop a layer onto one of the Multi Part buttons.");
  // Wide enough for a layer name, and no wider than twice that on a wide window.
  list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QString(14, 'W')));
  list_->setMaximumWidth(2 * list_->minimumWidth());
  layout->addWidget(list_, 1);
  clear_ = Named(new QPushButton("Clear"), "CmdClrLyrPool");
  clear_->setToolTip("Click to remove all entries from layer pool.");
  clear_->setMaximumWidth(list_->maximumWidth());  // as wide as the list
  layout->addWidget(clear_);
  connect(clear_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdClrLyrPool_Click(); }));
}

void LayerPoolPanel::WatchMouse(MouseRouter& router) {
  router.Watch(list_, list_->viewport(), MouseRouter::Kind::PoolList, [this] { LbxLyrPool_DblClick(); });
}

bool LayerPoolPanel::IsPoolList(const QWidget* w) const { return w == list_; }

int LayerPoolPanel::SelectedPoolRow() const {
  const QList<QListWidgetItem*> rows = list_->selectedItems();
  return rows.isEmpty() ? -1 : list_->row(rows.first());
}

// A row deleted leaves the others, with the selection, as they were; the
// other rows are redrawn in place and rows added go at the end.
void LayerPoolPanel::ShowPool() {
  const std::vector<PoolRow>& rows = session_.State().PoolRows;
  if (rows.empty()) return list_->clear();
  const int shown = list_->count(), wanted = static_cast<int>(rows.size());
  if (shown == wanted + 1) {
    int same = 0;
    while (same < wanted && Shows(list_->item(same), rows[static_cast<std::size_t>(same)])) ++same;
    bool rest = true;
    for (int i = same; i < wanted && rest; ++i) rest = Shows(list_->item(i + 1), rows[static_cast<std::size_t>(i)]);
    if (rest) {
      delete list_->takeItem(same);
      return;
    }
  }
  for (int i = 0; i < std::min(shown, wanted); ++i) {
    const PoolRow& row = rows[static_cast<std::size_t>(i)];
    list_->item(i)->setText(ShownLatin1(row.name));
    list_->item(i)->setData(kSlotRole, row.slot);
  }
  while (list_->count() > wanted) delete list_->takeItem(list_->count() - 1);
  for (int i = shown; i < wanted; ++i) list_->addItem(MakeItem(rows[static_cast<std::size_t>(i)]));
}

// Every drop makes the default part again, also one that stores nothing
// (the list dropped on itself, or another control).
void LayerPoolPanel::LbxLyrPool_DragDrop(const QString& source) {
  session_.StopAudition();
  const int layer = NumberBehind(source, "TxtLyr", 1, 4);
  const int multi = NumberBehind(source, "CmdMult", kFirstMultiPart + 1, kLastMultiPart + 1);
  if (multi > 0)
    session_.StorePartInPool(multi - 1);
  else
    session_.StoreLayerInPool(layer);  // -1: nothing is stored
}

void LayerPoolPanel::LbxLyrPool_DblClick() { session_.DeletePoolRow(SelectedPoolRow()); }

void LayerPoolPanel::CmdClrLyrPool_Click() { session_.ClearPool(); }

}  // namespace qv

