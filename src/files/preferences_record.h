#pragma once
// The start-up preferences file "quorv.ini": one record of 170 bytes,
// little-endian, no header.
//
//   offset  size  field
//        0    12  RtrvAtStart    one byte per multi part M5..M16 (0 or 1)
//       12     1  reserved
//       13     1  MidiInDevIdx   input device row
//       14     1  MidiOutDevIdx  output device row
//       15     1  LoadWsAtStart  load the start-up workspace (0 or 1)
//       16     2  reserved
//       18   127  WsPath         start-up workspace path, blank-padded
//      145    19  reserved
//      164     2  Density        16-bit signed: MIDI file density
//      166     2  reserved
//      168     2  PerfChannel    16-bit signed: performance channel row
//
// Reserved bytes are written as 0 and ignored when read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/file_io.h"
#include "instrument/bytes.h"

namespace qv {

struct PreferencesRecord {
  static constexpr std::size_t kSize = 170;
  static constexpr std::size_t kPathOffset = 18;
  static constexpr std::size_t kPathLength = 127;
  static constexpr std::size_t kDensityOffset = 164;
  static constexpr std::size_t kPerfChannelOffset = 168;
  static constexpr int kMultiCount = 12;  // M5..M16

  std::array<Byte, kMultiCount> RtrvAtStart{};
  Byte MidiInDevIdx = 0;
  Byte MidiOutDevIdx = 0;
  Byte LoadWsAtStart = 0;
  // The path without its padding. Encode stores at most kPathLength bytes of
  // it (never splitting a UTF-8 sequence) and pads the rest with blanks.
  std::string WsPath;
  std::int16_t Density = 0;
  std::int16_t PerfChannel = 0;

  // Exactly kSize bytes.
  Bytes Encode() const;
  // Reads the fields from the first kSize bytes of `bytes`; what a shorter
  // input lacks reads as zero. The path ends at its first zero byte and its
  // trailing blanks are dropped.
  static PreferencesRecord Decode(const Bytes& bytes);

  bool operator==(const PreferencesRecord&) const = default;
};

// A preferences file longer than this is not a preferences file.
inline constexpr std::uintmax_t kMaxPreferencesFileLength = 18200;

struct PreferencesFileRead {
  enum class Status {
    kMissing,  // no such file, or it cannot be opened or read
    kTooLong,  // longer than kMaxPreferencesFileLength: nothing was read
    kRead,     // `record` holds the file (a shorter file reads as zeros past its end)
  };
  Status status = Status::kMissing;
  PreferencesRecord record;
};

PreferencesFileRead ReadPreferencesFile(const std::string& path);

// Writes the record through WriteFileSafely, so that the file holds exactly
// kSize bytes (a longer existing file is replaced whole). When the file
// could not be written, an existing file stays as it was and the result
// gives the system's reason.
FileWriteResult WritePreferencesFile(const std::string& path, const PreferencesRecord& record);

}  // namespace qv
