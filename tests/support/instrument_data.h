#pragma once
// The instrument data inside an editor core, for a test that prepares it
// before it drives the windows: a part in mono mode, a copy of zeros, Busy
// set. The program itself hands out only the const editor state and changes
// the data through the editor's calls.

#include "files/editor_core.h"

namespace qv::test {

struct InstrumentData {
  static DataModel& Of(EditorCore& core) { return core.state_.Model; }
};

}  // namespace qv::test
