#pragma once
// The setup the emulated CS2x holds, as the main window would hold it after
// retrieving everything: the stored blocks of M5..M16 with their channel
// rows, and the performance.

#include "cs2x_emulator.h"
#include "files/records.h"
#include "files/setup_export.h"

namespace qv::test {

struct SampleSetup {
  AllMultisRecord multis{};
  ChannelRows channelRows{};  // each part's stored receive channel
  PerformanceRecord performance{};
};

SampleSetup SetupFromEmulator(const Cs2xEmulator& instrument);

}  // namespace qv::test
