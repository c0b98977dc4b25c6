#include "mainwindow/layer_pool_panel.h"

#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "mainwindow/command.h"
#include "mainwindow/latin1.h"
#include "mainwindow/named.h"

namespace qv {

namespace {

constexpr int kSlotRole = Qt::UserRole;

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
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { session_.SelectPoolRow(ListSelection()); });
}

// A drag of the list carries its selected row.
void LayerPoolPanel::WatchMouse(MouseRouter& router) {
  router.Watch(list_, list_->viewport(), MouseRouter::Kind::PoolList, [this] { LbxLyrPool_DblClick(); }, {},
               [this] { return Dragged{Dragged::Kind::PoolRow, session_.State().SelectedPoolRow}; });
}

bool LayerPoolPanel::IsPoolList(const QWidget* w) const { return w == list_; }

int LayerPoolPanel::ListSelection() const {
  const QList<QListWidgetItem*> rows = list_->selectedItems();
  return rows.isEmpty() ? -1 : list_->row(rows.first());
}

// The list's own moves of its selection while its rows change are not the
// user's: the state's selection is drawn after them.
void LayerPoolPanel::ShowPool() {
  const QSignalBlocker quiet(list_);
  DrawRows();
  const int selected = session_.State().SelectedPoolRow;
  if (ListSelection() == selected) return;
  if (selected < 0)
    list_->clearSelection();
  else
    list_->setCurrentRow(selected);
}

// A row deleted leaves the others as they were; the other rows are redrawn
// in place and rows added go at the end.
void LayerPoolPanel::DrawRows() {
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
void LayerPoolPanel::LbxLyrPool_DragDrop(const Dragged& source) {
  session_.StopAudition();
  if (source.kind == Dragged::Kind::Part)
    session_.StorePartInPool(source.number);
  else
    session_.StoreLayerInPool(source.kind == Dragged::Kind::Layer ? source.number : -1);  // -1: nothing is stored
}

void LayerPoolPanel::LbxLyrPool_DblClick() { session_.DeletePoolRow(session_.State().SelectedPoolRow); }

void LayerPoolPanel::CmdClrLyrPool_Click() { session_.ClearPool(); }

}  // namespace qv

