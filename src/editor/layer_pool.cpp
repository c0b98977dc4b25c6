// The Layer Pool: layers and multi parts stored as pool entries in the
// multi-part form, entries sent into parts, rows deleted and cleared. A slot
// is in use exactly when one pool row holds it.

#include <algorithm>

#include "editor/session.h"
#include "instrument/default_multi.h"
#include "instrument/layer_conversion.h"
#include "instrument/performance_blocks.h"

namespace qv {

namespace {
bool IsPoolSlot(int slot) { return slot >= 0 && slot < kPoolSlots; }
}  // namespace

int Session::LowestFreePoolSlot() const {
  for (int s = 0; s < kPoolSlots; ++s)
    if (model_.PoolSlotFree[s] == kSlotFree) return s;
  return -1;
}

void Session::SavePoolSlot(int slot) {
  if (!IsPoolSlot(slot)) return;
  MultiBlocks& entry = model_.LayerPool.Entry.at(static_cast<std::size_t>(slot)).Blocks;
  for (int b = 0; b < kMultiBlocks; ++b) std::copy_n(model_.DefMultiSyx.Block(b), BlkLen(b), entry.Block(b));
}

void Session::LdMultToDef(int part) {
  if (!IsMultiPart(part)) return;
  for (int b = 0; b < kMultiBlocks; ++b)
    std::copy_n(model_.PartBlk.Block(b, part), BlkLen(b), model_.DefMultiSyx.Block(b));
}

void Session::PutPart(int part, const MultiBlocks& blocks, std::optional<Byte> channel) {
  if (!IsMultiPart(part)) return;
  for (int b = 0; b < kMultiBlocks; ++b) {
    if (NeverFilled(blocks.Block(b))) continue;
    Byte* stored = model_.PartBlk.Block(b, part);
    std::copy_n(blocks.Block(b), BlkLen(b), stored);
    stored[kPartNumberByte] = static_cast<Byte>(part);
    if (b == 0 && channel) stored[kReceiveChannelByte] = *channel;
    link_.SendPartBlock(part, b);
  }
}

void Session::SndPoolToMult(int part, int slot) {
  if (!IsMultiPart(part) || !IsPoolSlot(slot)) return;
  const auto channel = static_cast<Byte>(state_.PartChannel(part) & 0x0F);
  PutPart(part, model_.LayerPool.Entry.at(static_cast<std::size_t>(slot)).Blocks, channel);
}

bool Session::TakeSlot(int& slot) {
  slot = LowestFreePoolSlot();
  if (slot < 0) {
    link_.UserPrompts().Message("No more Pool Layers are available (delete one by double clicking).");
    return false;
  }
  model_.PoolSlotFree[static_cast<std::size_t>(slot)] = kSlotUsed;
  return true;
}

bool Session::StoreLayerInPool(int layer) {
  BuildDefaultMultiTemplate(model_);
  if (layer < 1 || layer > 4) return false;
  int slot = 0;
  if (!TakeSlot(slot)) return false;
  state_.PoolRows.push_back({state_.Layer(layer).text, slot});
  view_.PoolChanged();
  const Byte* message = BlockField(model_.Performance, LayerBlock(layer));
  if (NeverFilled(message)) {
    // A layer the instrument never sent makes an entry never filled: put
    // into a part, it changes nothing.
    model_.LayerPool.Entry.at(static_cast<std::size_t>(slot)).Blocks = MultiBlocks{};
    return true;
  }
  std::copy_n(message, BlockRow(LayerBlock(layer)).length, model_.SxBuf.begin());
  CnvLyrToMult(model_);
  SavePoolSlot(slot);
  return true;
}

bool Session::StorePartInPool(int part) {
  BuildDefaultMultiTemplate(model_);
  if (!IsMultiPart(part)) return false;
  int slot = 0;
  if (!TakeSlot(slot)) return false;
  // The name without its " M5" .. " M16" tag.
  state_.PoolRows.push_back({NameInCaption(state_.Caption(part)), slot});
  view_.PoolChanged();
  LdMultToDef(part);
  SavePoolSlot(slot);
  return true;
}

void Session::SelectPoolRow(int row) {
  state_.SelectedPoolRow = row >= 0 && row < static_cast<int>(state_.PoolRows.size()) ? row : -1;
}

void Session::DeletePoolRow(int row) {
  if (row < 0 || row >= static_cast<int>(state_.PoolRows.size())) return;
  if (link_.UserPrompts().Question("Do you really want to delete item from Layer Pool?", "Delete from Layer Pool") !=
      Prompts::Answer::Ok)
    return;
  const auto at = state_.PoolRows.begin() + row;
  if (IsPoolSlot(at->slot)) model_.PoolSlotFree[static_cast<std::size_t>(at->slot)] = kSlotFree;
  state_.PoolRows.erase(at);
  int& selected = state_.SelectedPoolRow;
  if (selected > row)
    --selected;
  else if (selected == row)
    selected = std::min(row, static_cast<int>(state_.PoolRows.size()) - 1);
  view_.PoolChanged();
}

void Session::ClearPool() {
  for (int slot = 0; slot < kPoolSlots; ++slot) model_.PoolSlotFree[static_cast<std::size_t>(slot)] = kSlotFree;
  state_.PoolRows.clear();
  state_.SelectedPoolRow = -1;
  view_.PoolChanged();
}

void Session::SetPoolRows(std::vector<PoolRow> rows) {
  for (int slot = 0; slot < kPoolSlots; ++slot) model_.PoolSlotFree[static_cast<std::size_t>(slot)] = kSlotFree;
  for (const PoolRow& row : rows)
    if (IsPoolSlot(row.slot)) model_.PoolSlotFree[static_cast<std::size_t>(row.slot)] = kSlotUsed;
  state_.PoolRows = std::move(rows);
  state_.SelectedPoolRow = std::min(state_.SelectedPoolRow, static_cast<int>(state_.PoolRows.size()) - 1);
  view_.PoolChanged();
}

// A layer reaches a part only through the pool. The part keeps its receive
// channel and takes its name from the row. An entry that no message ever came
// into (a part stored while the instrument did not answer) holds nothing the
// instrument could take: the part keeps its name and blocks.
void Session::SendPoolRowToPart(int part, int row) {
  if (!IsMultiPart(part) || row < 0 || row >= static_cast<int>(state_.PoolRows.size())) return;
  const PoolRow entry = state_.PoolRows[static_cast<std::size_t>(row)];
  if (!IsPoolSlot(entry.slot) || NeverFilled(model_.LayerPool.Entry.at(static_cast<std::size_t>(entry.slot)).Blocks))
    return;
  SetPartCaption(part, PartCaptionFor(entry.name, part));
  const bool edited = model_.EditPart == part;
  if (part != kFirstMultiPart) {
    if (edited) EditedNameChanged(true);
    SndPoolToMult(part, entry.slot);
  } else {
    // M5 fills its edit panel from the new data also while it is hidden.
    SndPoolToMult(part, entry.slot);
    if (edited) {
      EditedNameChanged(true);
      RefillEditPanel();
    }
  }
  ShowPartIfEditing(part);
}

}  // namespace qv
