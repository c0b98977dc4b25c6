#include "files/file_steps.h"

#include <algorithm>
#include <array>
#include <memory>

#include "files/record_files.h"
#include "files/setup_export.h"
#include "files/text_exports.h"
#include "instrument/data_model.h"

namespace qv {

namespace {

void FillPartRecord(const DataModel& model, const EditorState& state, int part, PartRecord& record) {
  for (int b = 0; b < kMultiBlocks; ++b)
    std::copy_n(model.PartBlk.Block(b, part), BlkLen(b), record.Blocks.Block(b));
  PutName(record.Name, NameInCaption(state.Caption(part)));
}

FileWriteResult NoSuchPart() { return {false, "There is no multi part of that number."}; }

}  // namespace

const char* const kDamagedPoolText = "Sorry, the Layer Pool in this file is damaged. Nothing has been loaded.";

FileSteps::FileSteps(Session& session) : session_(session) {}

// ---- Multi parts ---------------------------------------------------------------

LoadResult FileSteps::LoadMultFile(int part, const std::string& path) {
  if (!IsMultiPart(part)) return LoadResult::kCannotRead;
  const auto read = ReadRecordFile<PartRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return LoadResult::kCannotRead;
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;

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
  if (read.status == RecordFileStatus::kCannotOpen) return LoadResult::kCannotRead;
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;

  const Session::CommandScope command(session_);
  session_.HideMultiEditPanel();
  // A short file carries only the parts it holds whole; the others stay.
  ApplyMultisRecord(read.record, static_cast<int>(read.bytesRead / kPartRecordBytes));
  return LoadResult::kLoaded;
}

void FileSteps::ApplyMultisRecord(const AllMultisRecord& record, int wholeParts) {
  const int parts = std::clamp(wholeParts, 0, kMultiPartCount);
  for (int e = 0; e < parts; ++e) {
    const int part = kFirstMultiPart + e;
    const PartRecord& element = record.Part[static_cast<std::size_t>(e)];
    // Each block carries the target's number (a block written into another
    // part's number would land there on the instrument) and the file's channel.
    session_.PutPart(part, element.Blocks, std::nullopt);
    session_.SetPartCaption(part, PartCaptionFor(GetName(element.Name), part));
  }
  // A channel the list has no row for (the instrument's "off" values) leaves
  // the row as it is, and the next part follows.
  for (int e = 0; e < parts; ++e) {
    const int part = kFirstMultiPart + e;
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

FileWriteResult FileSteps::SaveMultFile(int part, const std::string& path) {
  if (!IsMultiPart(part)) return NoSuchPart();
  PartRecord record{};
  FillPartRecord(Model(), State(), part, record);
  return WriteRecordFile(path, record);
}

FileWriteResult FileSteps::SaveMultAllFile(const std::string& path) {
  AllMultisRecord record{};
  FillMultisRecord(record);
  return WriteRecordFile(path, record);
}

// ---- Performance -----------------------------------------------------------------

void FileSteps::ApplyPerformanceRecord(const PerformanceRecord& record) { session_.PutPerformance(record); }

LoadResult FileSteps::LoadPerformanceFile(const std::string& path) {
  const auto read = ReadRecordFile<PerformanceRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return LoadResult::kCannotRead;
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  const Session::CommandScope command(session_);
  session_.HideEffectsPanel();
  ApplyPerformanceRecord(read.record);
  return LoadResult::kLoaded;
}

FileWriteResult FileSteps::SavePerformanceFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  return WriteRecordFile(path, Model().Performance);
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
  if (read->status == RecordFileStatus::kCannotOpen) return LoadResult::kCannotRead;
  if (read->status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  if (!LayerPoolRecordValid(read->record)) return LoadResult::kDamagedPool;
  ApplyLayerPoolRecord(read->record);
  return LoadResult::kLoaded;
}

FileWriteResult FileSteps::SaveLayerPoolFile(const std::string& path) {
  FillLayerPoolRecord();
  return WriteRecordFile(path, Model().LayerPool);
}

// ---- Setup and workspace -----------------------------------------------------------

LoadResult FileSteps::LoadSetupFile(const std::string& path) {
  const auto read = ReadRecordFile<SetupRecord>(path);
  if (read.status == RecordFileStatus::kCannotOpen) return LoadResult::kCannotRead;
  if (read.status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  const Session::CommandScope command(session_);
  session_.HideEffectsPanel();  // the effects panel first, then the multi edit panel
  session_.HideMultiEditPanel();
  ApplyMultisRecord(read.record.Multis);
  ApplyPerformanceRecord(read.record.Perf);
  return LoadResult::kLoaded;
}

FileWriteResult FileSteps::SaveSetupFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  SetupRecord record{};
  FillMultisRecord(record.Multis);
  record.Perf = Model().Performance;
  return WriteRecordFile(path, record);
}

LoadResult FileSteps::LoadWorkspaceFile(const std::string& path) {
  const auto read = std::make_unique<RecordFileRead<WorkspaceRecord>>(ReadRecordFile<WorkspaceRecord>(path));
  if (read->status == RecordFileStatus::kCannotOpen) return LoadResult::kCannotRead;
  if (read->status == RecordFileStatus::kWrongLength) return LoadResult::kWrongType;
  // The pool is checked first: a file refused for it loads nothing at all.
  const WorkspaceRecord& record = read->record;
  if (!LayerPoolRecordValid(record.Pool)) return LoadResult::kDamagedPool;
  const Session::CommandScope command(session_);
  session_.HideEffectsPanel();  // the effects panel first, then the multi edit panel
  session_.HideMultiEditPanel();
  ApplyMultisRecord(record.Multis);
  ApplyPerformanceRecord(record.Perf);
  ApplyLayerPoolRecord(record.Pool);
  return LoadResult::kLoaded;
}

FileWriteResult FileSteps::SaveWorkspaceFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  const auto record = std::make_unique<WorkspaceRecord>();
  FillMultisRecord(record->Multis);
  record->Perf = Model().Performance;
  FillLayerPoolRecord();
  record->Pool = Model().LayerPool;
  return WriteRecordFile(path, *record);
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

FileWriteResult FileSteps::SaveSetupSysExFile(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  AllMultisRecord multis;
  ChannelRows rows{};
  StoredMultis(State(), multis, rows);
  return WriteFileSafely(path, BuildSetupSysExFile(multis, rows, Model().Performance));
}

FileWriteResult FileSteps::SaveSetupMidiFile(const std::string& path, int densitySliderValue) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  AllMultisRecord multis;
  ChannelRows rows{};
  StoredMultis(State(), multis, rows);
  return WriteFileSafely(path,
                         BuildSetupMidiFile(multis, rows, Model().Performance, densitySliderValue));
}

FileWriteResult FileSteps::SaveWorkspaceText(const std::string& path) {
  const Session::CommandScope command(session_);
  session_.RtrvPerformance();
  const EditorState& state = State();
  WorkspaceTextInput input;
  input.path = path;
  input.performanceCaption = state.PerformanceCaption;
  for (std::size_t e = 0; e < input.channelRows.size(); ++e) {
    input.channelRows[e] = state.ChannelRows[e];  // -1, no row selected, shows " 0"
    input.multiCaptions[e] = state.Captions[e];
  }
  for (const PoolRow& row : state.PoolRows) input.poolRows.push_back(row.name);
  return WriteFileSafely(path, BuildWorkspaceText(input));
}

FileWriteResult FileSteps::DumpSysExToText(const Bytes& input, const std::string& outPath) {
  return WriteFileSafely(outPath, BuildSysExTextDump(input));
}

}  // namespace qv
