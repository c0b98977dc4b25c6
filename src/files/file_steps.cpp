#include "files/file_steps.h"

#include <algorithm>
#include <array>
#include <memory>

#include "files/block_headers.h"
#include "files/record_files.h"
#include "files/setup_export.h"
#include "files/text_exports.h"
#include "instrument/data_model.h"
#include "instrument/performance_blocks.h"

namespace qv {

namespace {

void FillPartRecord(const DataModel& model, const EditorState& state, int part, PartRecord& record) {
  for (int b = 0; b < kMultiBlocks; ++b)
    std::copy_n(model.PartBlk.Block(b, part), BlkLen(b), record.Blocks.Block(b));
  PutName(record.Name, NameInCaption(state.Caption(part)));
}

SaveResult NoSuchPart() { return {{false, "There is no multi part of that number."}, {}}; }

LoadResult CannotRead(const std::string& path, const std::string& reason) {
  return {LoadResult::kCannotRead, FailedLoadText(path, reason)};
}

LoadResult NoData(const std::string& path) {
  return {LoadResult::kNoData, "The file \"" + path + "\" holds no data from the instrument. Nothing has been loaded."};
}

// Part indexes in rising order, then the performance, named as "M5",
// "M5 and M7" or "M5 to M9, M12 and the performance": a run of three parts
// or more as its first and last.
std::string Named(const std::vector<int>& parts, bool performance) {
  std::vector<std::string> items;
  for (std::size_t i = 0; i < parts.size();) {
    std::size_t j = i;
    while (j + 1 < parts.size() && parts[j + 1] == parts[j] + 1) ++j;
    const std::string first = "M" + std::to_string(parts[i] + 1);
    if (j - i >= 2) {
      items.push_back(first + " to M" + std::to_string(parts[j] + 1));
    } else {
      for (std::size_t k = i; k <= j; ++k) items.push_back("M" + std::to_string(parts[k] + 1));
    }
    i = j + 1;
  }
  if (performance) items.push_back("the performance");
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i)
    text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  return text;
}

// The box after a save that wrote parts or the performance with no data from
// the instrument; empty when it wrote none.
std::string UnfilledText(const std::string& path, const std::vector<int>& parts, bool performance) {
  if (parts.empty() && !performance) return {};
  return "The file \"" + path + "\" has been saved, but it holds no data from the instrument for " +
         Named(parts, performance) + ".";
}

// The part indexes of the multi parts in a record that hold no data.
std::vector<int> UnfilledParts(const AllMultisRecord& multis) {
  std::vector<int> parts;
  for (int e = 0; e < kMultiPartCount; ++e)
    if (NeverFilled(multis.Part[static_cast<std::size_t>(e)].Blocks)) parts.push_back(kFirstMultiPart + e);
  return parts;
}

}  // namespace

const char* const kDamagedPoolText = "Sorry, the Layer Pool in this file is damaged. Nothing has been loaded.";

FileSteps::FileSteps(Session& session) : session_(session) {}

SaveResult FileSteps::Write(const std::string& path, const Bytes& bytes, std::string notice) {
  SaveResult result{WriteFileSafely(path, bytes), {}};
  if (result) result.notice = std::move(notice);
  return result;
}

// ---- Multi parts ---------------------------------------------------------------

LoadResult FileSteps::LoadMultFile(int part, const std::string& path) {
  if (!IsMultiPart(part)) return LoadResult::kCannotRead;
  const auto read = ReadRecordFile<PartRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return CannotRead(path, read.reason);
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  if (!OfItsKind(read.record)) return LoadResult::kWrongType;
  if (!HoldsData(read.record)) return NoData(path);

  const Session::CommandScope command(session_);
  session_.HideMultiEditPanel();
  // The file's own part number and channel are never used: the target keeps
  // its channel and every block carries the target's number.
  session_.PutPart(part, read.record.Blocks, Model().PartBlk.At(kReceiveChannelByte, 0, part));
  session_.SetPartCaption(part, PartCaptionFor(GetName(read.record.Name), part));
  return LoadResult::kLoaded;
}

LoadResult FileSteps::LoadMultAllFile(const std::string& path) {
  const auto read = ReadRecordFile<AllMultisRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return CannotRead(path, read.reason);
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  // A short file carries only the parts it holds whole; the others stay.
  const int wholeParts = static_cast<int>(read.bytesRead / kPartRecordBytes);
  if (!OfItsKind(read.record, wholeParts)) return LoadResult::kWrongType;
  if (!HoldsData(read.record, wholeParts)) return NoData(path);

  const Session::CommandScope command(session_);
  session_.HideMultiEditPanel();
  ApplyMultisRecord(read.record, wholeParts);
  return LoadResult::kLoaded;
}

void FileSteps::ApplyMultisRecord(const AllMultisRecord& record, int wholeParts) {
  const int parts = std::clamp(wholeParts, 0, kMultiPartCount);
  for (int e = 0; e < parts; ++e) {
    const int part = kFirstMultiPart + e;
    const PartRecord& element = record.Part[static_cast<std::size_t>(e)];
    if (NeverFilled(element.Blocks)) continue;
    // Each block carries the target's number (a block written into another
    // part's number would land there on the instrument) and the file's channel.
    session_.PutPart(part, element.Blocks, std::nullopt);
    session_.SetPartCaption(part, PartCaptionFor(GetName(element.Name), part));
  }
  // A channel the list has no row for (the instrument's "off" values) leaves
  // the row as it is, and the next part follows. A part whose block 0 did not
  // come in keeps its row.
  for (int e = 0; e < parts; ++e) {
    const int part = kFirstMultiPart + e;
    if (NeverFilled(record.Part[static_cast<std::size_t>(e)].Blocks.Blk0.data())) continue;
    const int channel = Model().PartBlk.At(kReceiveChannelByte, 0, part);
    if (channel <= 15) session_.SetChannelRow(part, channel);
  }
}

void FileSteps::FillMultisRecord(AllMultisRecord& record) const {
  record = AllMultisRecord{};
  const EditorState& state = State();
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    FillPartRecord(Model(), state, part, record.Part[static_cast<std::size_t>(part - kFirstMultiPart)]);
  // The channel chosen in the list, not the byte last stored; a list with no
  // row chosen leaves the stored byte.
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int row = state.ChannelRows[static_cast<std::size_t>(part - kFirstMultiPart)];
    if (row >= 0 && row <= 15)
      record.Part[static_cast<std::size_t>(part - kFirstMultiPart)].Blocks.Blk0[kReceiveChannelByte] =
          static_cast<Byte>(row);
  }
}

SaveResult FileSteps::SaveMultFile(int part, const std::string& path) {
  if (!IsMultiPart(part)) return NoSuchPart();
  PartRecord record{};
  FillPartRecord(Model(), State(), part, record);
  const std::vector<int> unfilled = NeverFilled(record.Blocks) ? std::vector<int>{part} : std::vector<int>{};
  return Write(path, RecordBytes(record), UnfilledText(path, unfilled, false));
}

SaveResult FileSteps::SaveMultAllFile(const std::string& path) {
  AllMultisRecord record{};
  FillMultisRecord(record);
  return Write(path, RecordBytes(record), UnfilledText(path, UnfilledParts(record), false));
}

// ---- Performance -----------------------------------------------------------------

void FileSteps::ApplyPerformanceRecord(const PerformanceRecord& record) { session_.PutPerformance(record); }

LoadResult FileSteps::LoadPerformanceFile(const std::string& path) {
  const auto read = ReadRecordFile<PerformanceRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return CannotRead(path, read.reason);
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  if (!OfItsKind(read.record)) return LoadResult::kWrongType;
  if (!HoldsData(read.record)) return NoData(path);
  const Session::CommandScope command(session_);
  session_.HideEffectsPanel();
  ApplyPerformanceRecord(read.record);
  return LoadResult::kLoaded;
}

SaveResult FileSteps::SavePerformanceFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  return Write(path, RecordBytes(Model().Performance), UnfilledText(path, {}, NeverFilled(Model().Performance)));
}

// ---- Layer Pool --------------------------------------------------------------------

bool FileSteps::LayerPoolRecordValid(const LayerPoolRecord& record) {
  if (record.PoolCount > kPoolSlots) return false;
  std::array<bool, kPoolSlots> taken{};
  for (int k = 0; k < record.PoolCount; ++k) {
    const int slot = record.PoolSlot[static_cast<std::size_t>(k)];
    if (slot >= kPoolSlots || taken[static_cast<std::size_t>(slot)]) return false;
    taken[static_cast<std::size_t>(slot)] = true;
  }
  return true;
}

void FileSteps::ApplyLayerPoolRecord(const LayerPoolRecord& record) {
  if (!LayerPoolRecordValid(record)) return;
  session_.SetPoolRecord(record);
  std::vector<PoolRow> rows;
  rows.reserve(record.PoolCount);
  for (int k = 0; k < record.PoolCount; ++k)
    rows.push_back({GetName(record.Entry[static_cast<std::size_t>(k)].Name), record.PoolSlot[static_cast<std::size_t>(k)]});
  session_.SetPoolRows(std::move(rows));
}

// The rows' names and slots stay in the pool record: names and slots of rows
// deleted since stand behind them, in memory as in the next file.
void FileSteps::FillLayerPoolRecord() {
  const auto pool = std::make_unique<LayerPoolRecord>(Model().LayerPool);
  const std::vector<PoolRow>& rows = State().PoolRows;
  const std::size_t count = std::min(rows.size(), pool->Entry.size() - 1);
  for (std::size_t i = 0; i < count; ++i) {
    PutName(pool->Entry[i].Name, rows[i].name);
    pool->PoolSlot[i] = static_cast<Byte>(rows[i].slot);
  }
  pool->PoolCount = static_cast<Byte>(count);
  session_.SetPoolRecord(*pool);
}

LoadResult FileSteps::LoadLayerPoolFile(const std::string& path) {
  const auto read = std::make_unique<RecordFileRead<LayerPoolRecord>>(ReadRecordFile<LayerPoolRecord>(path));
  if (read->status == RecordFileStatus::kCannotOpen) return CannotRead(path, read->reason);
  if (read->status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  if (!OfItsKind(read->record)) return LoadResult::kWrongType;
  if (!LayerPoolRecordValid(read->record)) return LoadResult::kDamagedPool;
  ApplyLayerPoolRecord(read->record);
  return LoadResult::kLoaded;
}

SaveResult FileSteps::SaveLayerPoolFile(const std::string& path) {
  FillLayerPoolRecord();
  return Write(path, RecordBytes(Model().LayerPool));
}

// ---- Setup and workspace -----------------------------------------------------------

LoadResult FileSteps::LoadSetupFile(const std::string& path) {
  const auto read = ReadRecordFile<SetupRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return CannotRead(path, read.reason);
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  if (!OfItsKind(read.record)) return LoadResult::kWrongType;
  if (!HoldsData(read.record)) return NoData(path);
  const Session::CommandScope command(session_);
  session_.HideEffectsPanel();  // the effects panel first, then the multi edit panel
  session_.HideMultiEditPanel();
  ApplyMultisRecord(read.record.Multis);
  ApplyPerformanceRecord(read.record.Perf);
  return LoadResult::kLoaded;
}

SaveResult FileSteps::SaveSetupFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  SetupRecord record{};
  FillMultisRecord(record.Multis);
  record.Perf = Model().Performance;
  return Write(path, RecordBytes(record),
               UnfilledText(path, UnfilledParts(record.Multis), NeverFilled(record.Perf)));
}

LoadResult FileSteps::LoadWorkspaceFile(const std::string& path) {
  const auto read = std::make_unique<RecordFileRead<WorkspaceRecord>>(ReadRecordFile<WorkspaceRecord>(path));
  if (read->status == RecordFileStatus::kCannotOpen) return CannotRead(path, read->reason);
  if (read->status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  if (!OfItsKind(read->record)) return LoadResult::kWrongType;
  // The pool is checked first: a file refused for it loads nothing at all.
  const WorkspaceRecord& record = read->record;
  if (!LayerPoolRecordValid(record.Pool)) return LoadResult::kDamagedPool;
  if (!HoldsData(record)) return NoData(path);
  const Session::CommandScope command(session_);
  session_.HideEffectsPanel();  // the effects panel first, then the multi edit panel
  session_.HideMultiEditPanel();
  ApplyMultisRecord(record.Multis);
  ApplyPerformanceRecord(record.Perf);
  ApplyLayerPoolRecord(record.Pool);
  return LoadResult::kLoaded;
}

SaveResult FileSteps::SaveWorkspaceFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  const auto record = std::make_unique<WorkspaceRecord>();
  FillMultisRecord(record->Multis);
  record->Perf = Model().Performance;
  FillLayerPoolRecord();
  record->Pool = Model().LayerPool;
  return Write(path, RecordBytes(*record),
               UnfilledText(path, UnfilledParts(record->Multis), NeverFilled(record->Perf)));
}

// ---- Exports and listings ------------------------------------------------------------

namespace {

// The parts' blocks as stored, and the rows of their channel lists.
void StoredMultis(const EditorState& state, AllMultisRecord& multis, ChannelRows& rows) {
  multis = AllMultisRecord{};
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const auto e = static_cast<std::size_t>(part - kFirstMultiPart);
    FillPartRecord(state.Model, state, part, multis.Part[e]);
    rows[e] = state.ChannelRows[e];
  }
}

}  // namespace

SaveResult FileSteps::SaveSetupSysExFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  AllMultisRecord multis;
  ChannelRows rows{};
  StoredMultis(State(), multis, rows);
  return Write(path, BuildSetupSysExFile(multis, rows, Model().Performance),
               UnfilledText(path, UnfilledParts(multis), NeverFilled(Model().Performance)));
}

SaveResult FileSteps::SaveSetupMidiFile(const std::string& path, int densitySliderValue) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  AllMultisRecord multis;
  ChannelRows rows{};
  StoredMultis(State(), multis, rows);
  return Write(path, BuildSetupMidiFile(multis, rows, Model().Performance, densitySliderValue),
               UnfilledText(path, UnfilledParts(multis), NeverFilled(Model().Performance)));
}

SaveResult FileSteps::SaveWorkspaceText(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  const EditorState& state = State();
  WorkspaceTextInput input;
  input.path = path;
  input.performanceCaption = state.PerformanceCaption;
  input.performanceChannel = session_.PerfChannel() + 1;
  for (std::size_t e = 0; e < input.channelRows.size(); ++e) {
    input.channelRows[e] = state.ChannelRows[e];  // -1, no row selected, shows " 0"
    input.multiCaptions[e] = state.Captions[e];
  }
  for (const PoolRow& row : state.PoolRows) input.poolRows.push_back(row.name);
  return Write(path, BuildWorkspaceText(input));
}

SaveResult FileSteps::DumpSysExToText(const Bytes& input, const std::string& outPath) {
  return Write(outPath, BuildSysExTextDump(input));
}

}  // namespace qv
