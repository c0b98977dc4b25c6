#pragma once
// The records of the program's own files. Each file is one record written
// from its first byte, with no header of its own: its length, and the
// instrument's blocks at their places (files/block_headers.h), tell its kind.
//
//   kind          record            bytes
//   single multi  PartRecord          192
//   all multis    AllMultisRecord    2496
//   performance   PerformanceRecord   456
//   setup         SetupRecord        2952
//   layer pool    LayerPoolRecord   24898
//   workspace     WorkspaceRecord   27850
// Their extensions, dialog filters and the lengths a file of each kind may
// have are in the file kinds' table (files/file_kinds.h).
//
// PartRecord, PerformanceRecord and LayerPoolRecord live with the data model
// (instrument/data_model.h); the offsets of all six are checked below.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "instrument/bytes.h"
#include "instrument/data_model.h"

namespace qv {

inline constexpr int kMultiRecordParts = 13;  // M5..M16, then one element never used

// All twelve multi parts: element e holds M(5+e), part index e + 4; element
// 12 is written as zeros and never read.
struct AllMultisRecord {
  std::array<PartRecord, kMultiRecordParts> Part{};
};

// The multi parts and the performance.
struct SetupRecord {
  AllMultisRecord Multis;
  PerformanceRecord Perf;
};

// Everything: a setup followed by the Layer Pool.
struct WorkspaceRecord {
  AllMultisRecord Multis;
  PerformanceRecord Perf;
  LayerPoolRecord Pool;
};

inline constexpr std::size_t kPartRecordBytes = 192;
inline constexpr std::size_t kAllMultisRecordBytes = 2496;
inline constexpr std::size_t kPerformanceRecordBytes = 456;
inline constexpr std::size_t kSetupRecordBytes = 2952;
inline constexpr std::size_t kLayerPoolRecordBytes = 24898;
inline constexpr std::size_t kWorkspaceRecordBytes = 27850;

// Byte layout, offsets as the files have them.
static_assert(sizeof(PartRecord) == kPartRecordBytes);
static_assert(offsetof(PartRecord, Blocks) == 0);
static_assert(offsetof(MultiBlocks, Blk0) == 0);
static_assert(offsetof(MultiBlocks, Blk1) == 53);
static_assert(offsetof(MultiBlocks, Blk2) == 128);
static_assert(offsetof(MultiBlocks, Blk3) == 144);
static_assert(offsetof(MultiBlocks, Blk4) == 168);
static_assert(offsetof(PartRecord, Name) == 182);

static_assert(sizeof(AllMultisRecord) == kAllMultisRecordBytes);
static_assert(offsetof(AllMultisRecord, Part) == 0);
static_assert(sizeof(AllMultisRecord::Part) == 13 * 192);

static_assert(sizeof(PerformanceRecord) == kPerformanceRecordBytes);
static_assert(offsetof(PerformanceRecord, Lyr1) == 0);
static_assert(offsetof(PerformanceRecord, Lyr2) == 57);
static_assert(offsetof(PerformanceRecord, Lyr3) == 114);
static_assert(offsetof(PerformanceRecord, Lyr4) == 171);
static_assert(offsetof(PerformanceRecord, Com0) == 228);
static_assert(offsetof(PerformanceRecord, Com1) == 266);
static_assert(offsetof(PerformanceRecord, Com2) == 330);
static_assert(offsetof(PerformanceRecord, Com3) == 365);
static_assert(offsetof(PerformanceRecord, EffOrig) == 386);
static_assert(offsetof(PerformanceRecord, EffSave) == 421);

static_assert(sizeof(SetupRecord) == kSetupRecordBytes);
static_assert(offsetof(SetupRecord, Multis) == 0);
static_assert(offsetof(SetupRecord, Perf) == 2496);

static_assert(sizeof(LayerPoolRecord) == kLayerPoolRecordBytes);
static_assert(offsetof(LayerPoolRecord, Entry) == 0);
static_assert(offsetof(LayerPoolRecord, PoolSlot) == 24768);
static_assert(offsetof(LayerPoolRecord, PoolCount) == 24897);

static_assert(sizeof(WorkspaceRecord) == kWorkspaceRecordBytes);
static_assert(offsetof(WorkspaceRecord, Multis) == 0);
static_assert(offsetof(WorkspaceRecord, Perf) == 2496);
static_assert(offsetof(WorkspaceRecord, Pool) == 2952);

template <typename Record>
inline constexpr bool kIsFileRecord =
    std::is_same_v<Record, PartRecord> || std::is_same_v<Record, AllMultisRecord> ||
    std::is_same_v<Record, PerformanceRecord> || std::is_same_v<Record, SetupRecord> ||
    std::is_same_v<Record, LayerPoolRecord> || std::is_same_v<Record, WorkspaceRecord>;

// The record's bytes as the file holds them.
template <typename Record>
Bytes RecordBytes(const Record& record) {
  static_assert(kIsFileRecord<Record> && std::is_trivially_copyable_v<Record>);
  Bytes out(sizeof(Record));
  std::memcpy(out.data(), &record, sizeof(Record));
  return out;
}

// A record read from the start of `bytes` into a record cleared to zero: a
// shorter input leaves the rest zero, a longer one is read no further.
template <typename Record>
Record RecordFromBytes(const Bytes& bytes) {
  static_assert(kIsFileRecord<Record> && std::is_trivially_copyable_v<Record>);
  Record record;
  std::memset(static_cast<void*>(&record), 0, sizeof(Record));
  if (!bytes.empty())
    std::memcpy(static_cast<void*>(&record), bytes.data(), std::min(bytes.size(), sizeof(Record)));
  return record;
}

// Names are 10 bytes of Latin-1, one byte per character.
inline constexpr std::size_t kNameBytes = 10;
using NameField = std::array<char, kNameBytes>;

// Stores a name held as Latin-1 bytes: padded with blanks, cut at 10. Every
// byte, NUL and "&" included, is stored as it is.
void PutName(NameField& field, std::string_view latin1);
// The 10 bytes of a name field as they stand, trailing blanks and NUL bytes
// included.
std::string GetName(const NameField& field);

// UTF-8 text as Latin-1 bytes: each character outside Latin-1, and each
// byte that is not part of valid UTF-8, becomes "?".
std::string Utf8ToLatin1(std::string_view utf8);

}  // namespace qv
