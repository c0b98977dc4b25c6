// The Layer Pool: layers and multi parts dropped on the pool list become
// pool entries in the multi-part form, a pool row dropped on a multi button
// goes into that part, a double click deletes a row and Clear empties the
// pool. A slot is in use exactly when one list row holds it as row data.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "instrument/default_multi.h"
#include "instrument/layer_conversion.h"
#include "mainwindow/caption.h"
#include "mainwindow/main_window.h"

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

// The slot a pool row names, -1 when the row holds none.
int RowSlot(const QListWidgetItem* row) {
  bool ok = false;
  const int slot = row->data(kSlotRole).toInt(&ok);
  return ok && slot >= 0 && slot < kPoolSlots ? slot : -1;
}

}  // namespace

int MainWindow::SelectedPoolRow() const {
  const QList<QListWidgetItem*> rows = LbxLyrPool->selectedItems();
  return rows.isEmpty() ? -1 : LbxLyrPool->row(rows.first());
}

void MainWindow::LbxLyrPool_DragDrop(const QString& source) {
  StopAudition();
  BuildDefaultMultiTemplate(model_);
  if (source == LbxLyrPool->objectName()) return;  // the list dropped on itself
  const int layer = NumberBehind(source, "TxtLyr", 1, 4);
  const int multi = NumberBehind(source, "CmdMult", kFirstMultiPart + 1, kLastMultiPart + 1);
  if (layer < 0 && multi < 0) return;

  const int slot = session_->LowestFreePoolSlot();
  if (slot < 0) {
    prompts_.Message("No more Pool Layers are available (delete one by double clicking).");
    return;
  }
  model_.PoolSlotFree[static_cast<std::size_t>(slot)] = kSlotUsed;

  auto* row = new QListWidgetItem;
  row->setData(kSlotRole, slot);
  if (layer > 0) {
    row->setText(Layer(layer).TxtLyr->text());
    LbxLyrPool->addItem(row);
    const auto& message = model_.Performance.Layer(layer);
    std::copy_n(message.begin(), RxLen(layer - 1), model_.SxBuf.begin());
    CnvLyrToMult(model_);
  } else {
    const int part = multi - 1;
    row->setText(PartCaption(part).left(10));  // the name without its " M5" .. " M16" tag
    LbxLyrPool->addItem(row);
    session_->LdMultToDef(part);
  }
  session_->SavePoolSlot(slot);
}

// A layer reaches a part only through the pool: only the pool list brings
// an entry. The part keeps its receive channel and takes its name from the
// row.
void MainWindow::CmdMult_DragDrop(int part, const QString& source) {
  StopAudition();
  if (!IsMultiPart(part) || source != LbxLyrPool->objectName()) return;
  const int idx = SelectedPoolRow();
  if (idx < 0) return;
  const QListWidgetItem* row = LbxLyrPool->item(idx);
  const int slot = RowSlot(row);
  if (slot < 0) return;
  const QString caption = row->text().leftJustified(10, ' ', true) + QString(" M%1").arg(part + 1);
  SetPartCaption(part, caption);

  if (part != kFirstMultiPart) {
    if (model_.EditPart == part) SetMultEditName(caption);
    session_->SndPoolToMult(part, slot);
    if (MultiEditShown()) EditMult(part);
  } else {
    // M5 fills its edit panel from the new data also while it is hidden.
    session_->SndPoolToMult(part, slot);
    if (model_.EditPart == part) {
      SetMultEditName(caption);
      ShowMultEdit();
    }
    if (MultiEditShown()) EditMult(part);
  }
}

void MainWindow::LbxLyrPool_DblClick() {
  const int idx = SelectedPoolRow();
  if (idx < 0) return;
  const int slot = RowSlot(LbxLyrPool->item(idx));
  if (prompts_.Question("Do you really want to delete item from Layer Pool?", "Delete from Layer Pool") !=
      Prompts::Answer::Ok)
    return;
  if (slot >= 0) model_.PoolSlotFree[static_cast<std::size_t>(slot)] = kSlotFree;
  delete LbxLyrPool->takeItem(idx);
}

void MainWindow::CmdClrLyrPool_Click() {
  for (int slot = 0; slot < kPoolSlots; ++slot) model_.PoolSlotFree[static_cast<std::size_t>(slot)] = kSlotFree;
  LbxLyrPool->clear();
}

}  // namespace qv
