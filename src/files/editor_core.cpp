#include "files/editor_core.h"

namespace qv {

namespace {

// Whether none of the five stored blocks of a part was ever filled.
bool PartNeverFilled(const DataModel& model, int part) {
  for (int b = 0; b < kMultiBlocks; ++b)
    if (!NeverFilled(model.PartBlk.Block(b, part))) return false;
  return true;
}

}  // namespace

EditorCore::EditorCore(MidiBackend& backend, Prompts& prompts, Clock& clock, EditorView& view)
    : prompts_(prompts),
      link_(backend, prompts, clock, state_.Model, view),
      session_(state_, link_, view),
      files_(session_) {}

PreferencesRecord EditorCore::Preferences() const {
  PreferencesRecord record = preferences_;
  record.PerfChannel = static_cast<std::int16_t>(state_.PerfChannel);
  return record;
}

void EditorCore::SetPreferences(const PreferencesRecord& record) {
  preferences_ = record;
  session_.SetPerfChannel(record.PerfChannel);
}

void EditorCore::ChangePerformanceChannel(int row) {
  session_.SetPerfChannel(row);
  session_.ChngPrfMidiChan();
}

bool EditorCore::StartupWork() {
  Session::CommandScope command(session_);  // one box per failure, not one per block
  state_.Model.Busy = true;
  const bool opened = RunStartup();
  // Also when the output could not be opened: the window's controls work
  // once a device is chosen and the program started again.
  state_.Model.Busy = false;
  return opened;
}

bool EditorCore::RunStartup() {
  DataModel& model = state_.Model;
  for (int i = 0; i < kPoolSlots; ++i) model.PoolSlotFree[static_cast<std::size_t>(i)] = kSlotFree;

  session_.HideMultiEditPanel();
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    session_.SetChannelRow(part, ((part - kFirstMultiPart) / 4) * 4);
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    session_.SetPartCaption(part, DefaultPartCaption(part));

  link_.MidiOutDev = preferences_.MidiOutDevIdx;
  link_.MidiInDev = preferences_.MidiInDevIdx;
  if (link_.OpenOutput() != kMidiOk) return false;
  link_.OpenInput();

  // Row 0 of the preset bank 1 list, then the performance once more.
  session_.SelectPerformance(false, false, 0);
  session_.RtrvPerformance();

  bool workspaceLoaded = false;
  if (preferences_.LoadWsAtStart != 0) {
    std::string path = preferences_.WsPath;
    while (!path.empty() && path.back() == ' ') path.pop_back();  // trailing blanks are padding
    if (!path.empty()) workspaceLoaded = LoadStartupWorkspace(path);
  }
  // The parts that no workspace brought follow their retrieve boxes.
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    if (workspaceLoaded && !PartNeverFilled(model, part)) continue;
    if (preferences_.RtrvAtStart[static_cast<std::size_t>(part - kFirstMultiPart)] != 0)
      session_.RtrvMultiPart(part);
    else
      session_.InitMultiPart(part);
  }

  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int channel = model.PartBlk.At(kReceiveChannelByte, 0, part);
    if (channel <= 15) session_.SetChannelRow(part, channel);
  }

  if (link_.ConnectThru() == kMidiOk) link_.StartInput();
  session_.ChngPrfMidiChan();
  return true;
}

// The file is read once, while Busy is set: the parts' blocks and the
// performance leave, the channel rows send nothing. A file that cannot be
// read is passed over in silence; one of another length or kind, with a
// damaged pool or with no data from the instrument, gets its box. Either way
// the parts then follow their retrieve boxes.
bool EditorCore::LoadStartupWorkspace(const std::string& path) {
  const LoadResult result = files_.LoadWorkspaceFile(path);
  switch (result) {
    case LoadResult::kLoaded:
      return true;
    case LoadResult::kWrongType:
      prompts_.Message(
          "Sorry, You have chosen a file of the wrong type to be loaded at startup. The Workspace will be "
          "initialized.");
      return false;
    case LoadResult::kDamagedPool:
      prompts_.Message(kDamagedPoolText);
      return false;
    case LoadResult::kNoData:
      prompts_.Message(result.text);
      return false;
    case LoadResult::kCannotRead:
      break;
  }
  return false;
}

}  // namespace qv
