// Writes the setup of the emulated CS2x as setup.mid and setup.syx into the
// folder given, and the 68 messages they should hold, one a line in hex, as
// messages.txt: for reading the exports with a program of another origin.
// The performance's Com3 is left as it is before any reply, M7's channel
// row differs from its stored block, and M6's block 1 holds a status byte.

#include <cstdio>
#include <fstream>
#include <string>

#include "fake_midi_backend.h"
#include "files/file_io.h"
#include "files/setup_export.h"
#include "hex.h"
#include "sample_setup.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER DENSITY\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const int density = std::stoi(argv[2]);
  qv::test::FakeMidiBackend backend;
  qv::test::Cs2xEmulator instrument(backend);
  qv::test::SampleSetup s = qv::test::SetupFromEmulator(instrument);
  s.performance.Com3.fill(0);
  s.channelRows[2] = 2;
  s.multis.Part[1].Blocks.Blk1[20] = 0xE9;

  const auto mid = qv::WriteFileSafely(folder + "/setup.mid",
                                       qv::BuildSetupMidiFile(s.multis, s.channelRows, s.performance, density));
  const auto syx =
      qv::WriteFileSafely(folder + "/setup.syx", qv::BuildSetupSysExFile(s.multis, s.channelRows, s.performance));
  if (!mid || !syx) {
    std::fprintf(stderr, "cannot write: %s%s\n", mid.reason.c_str(), syx.reason.c_str());
    return 1;
  }
  std::ofstream list(folder + "/messages.txt");
  for (const qv::Bytes& m : qv::BuildSetupMessages(s.multis, s.channelRows, s.performance))
    list << qv::test::HexString(m) << '\n';
  return list ? 0 : 1;
}
