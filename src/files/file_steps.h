#pragma once
// The load and save steps of the program's own files, the setup exports and
// the text listings: plain C++ over the editor state and its procedures.
// The windows run the dialogs, the boxes and the hourglass around them
// (src/mainwindow/file_menus.*); every step here takes the path it works on.
// Paths are UTF-8; names are Latin-1 bytes.

#include <string>
#include <utility>

#include "editor/session.h"
#include "files/file_io.h"
#include "files/file_kinds.h"
#include "files/records.h"

namespace qv {

// The box for a Layer Pool record that fails its check (a count above 128,
// a slot above 127, a slot in two rows).
extern const char* const kDamagedPoolText;

enum class LoadStatus {
  kLoaded,
  kCannotRead,   // no regular file, or unreadable: nothing changed; the frame
                 // shows the result's text, the start-up load nothing
  kWrongType,    // the length or kind test failed (block_headers.h): nothing changed; the frame
                 // shows WrongTypeText and the kind's open dialog again
  kDamagedPool,  // nothing changed; the frame shows kDamagedPoolText
  kNoData,       // no block of the file was ever filled, and a workspace has no pool row:
                 // nothing changed; the frame shows the result's text
};

// A load's outcome; compares and switches as its status.
struct LoadResult {
  using enum LoadStatus;
  LoadResult(LoadStatus s) : status(s) {}
  LoadResult(LoadStatus s, std::string boxText) : status(s), text(std::move(boxText)) {}
  operator LoadStatus() const { return status; }

  LoadStatus status;
  std::string text;  // kCannotRead: the box naming the file and the system's reason;
                     // kNoData: the box naming the file
};

// A save's outcome: the write's, and after a write that succeeded the box
// naming the parts and the performance it wrote that hold no data from the
// instrument (none of their blocks was ever filled); empty when there are
// none.
struct SaveResult : FileWriteResult {
  std::string notice;
};

class FileSteps {
 public:
  explicit FileSteps(Session& session);

  // ---- Loads: read whole, test the length and the blocks, then apply -------
  // Only what came from the instrument is taken: a part or a performance
  // none of whose blocks was ever filled is not loaded (the program's own
  // stays, blocks, caption and channel row, and nothing of it is sent), and
  // within one a block never filled leaves the program's own block.
  // Part index 4..15; another index reads nothing (kCannotRead).
  LoadResult LoadMultFile(int part, const std::string& path);
  LoadResult LoadMultAllFile(const std::string& path);
  LoadResult LoadPerformanceFile(const std::string& path);
  LoadResult LoadLayerPoolFile(const std::string& path);
  LoadResult LoadSetupFile(const std::string& path);
  // From the menu and the load aid; at start-up the caller has set Busy, so
  // the channel rows send nothing.
  LoadResult LoadWorkspaceFile(const std::string& path);

  // ---- Saves: every write goes through WriteFileSafely ----------------------
  // The performance, setup and workspace saves and the three exports first
  // retrieve the performance (RtrvPerformance); the frame shows the
  // hourglass around them.
  SaveResult SaveMultFile(int part, const std::string& path);  // 4..15; others write nothing
  SaveResult SaveMultAllFile(const std::string& path);
  SaveResult SavePerformanceFile(const std::string& path);
  SaveResult SaveLayerPoolFile(const std::string& path);
  SaveResult SaveSetupFile(const std::string& path);
  SaveResult SaveWorkspaceFile(const std::string& path);
  SaveResult SaveSetupSysExFile(const std::string& path);
  SaveResult SaveSetupMidiFile(const std::string& path, int densitySliderValue);
  // The listing states the performance channel in force.
  SaveResult SaveWorkspaceText(const std::string& path);
  // Debug > "Write sysex": the listing of `input` (its first 42001 bytes;
  // the source file was read before the save dialog) into `outPath`.
  SaveResult DumpSysExToText(const Bytes& input, const std::string& outPath);

  // ---- Steps shared by the loads and saves -----------------------------------
  // Elements 0..wholeParts-1 go into M5.. and to the instrument (byte 7 set to
  // the target part), the captions follow, then the channel rows of those
  // parts whose block 0 came in (a channel byte above 15 leaves that row as
  // it is). An element none of whose blocks was ever filled is passed over.
  void ApplyMultisRecord(const AllMultisRecord& record, int wholeParts = 12);
  void FillMultisRecord(AllMultisRecord& record) const;
  void ApplyPerformanceRecord(const PerformanceRecord& record);
  // Count at most 128, every row's slot at most 127, no slot in two rows.
  static bool LayerPoolRecordValid(const LayerPoolRecord& record);
  void ApplyLayerPoolRecord(const LayerPoolRecord& record);  // a valid record; others change nothing
  void FillLayerPoolRecord();

 private:
  // What the steps read; every change goes through the session's calls.
  const EditorState& State() const { return std::as_const(session_).State(); }
  const DataModel& Model() const { return std::as_const(session_).Model(); }

  // Writes the bytes through WriteFileSafely; once they are written, the
  // result carries `notice`.
  SaveResult Write(const std::string& path, const Bytes& bytes, std::string notice = {});

  Session& session_;
};

}  // namespace qv
