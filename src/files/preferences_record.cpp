#include "files/preferences_record.h"

#include <algorithm>

#include "files/file_io.h"

namespace qv {

namespace {

void PutInt16(Bytes& out, std::size_t offset, std::int16_t value) {
  const auto v = static_cast<std::uint16_t>(value);
  out[offset] = static_cast<Byte>(v & 0xFF);
  out[offset + 1] = static_cast<Byte>(v >> 8);
}

std::int16_t GetInt16(const Bytes& in, std::size_t offset) {
  const auto v = static_cast<std::uint16_t>(in[offset] | (in[offset + 1] << 8));
  return static_cast<std::int16_t>(v);
}

// The longest prefix of `text` of at most `limit` bytes that does not end
// inside a multi-byte UTF-8 sequence.
std::size_t CutLength(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t n = limit;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the
  // sequence that the cut falls into, and drop that sequence too.
  std::size_t back = 0;
  while (n > 0 && back < 4 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
    --n;
    ++back;
  }
  return back == 4 ? limit : n;  // not UTF-8 after all: cut where asked
}

}  // namespace

Bytes PreferencesRecord::Encode() const {
  Bytes out(kSize, 0);
  std::copy(RtrvAtStart.begin(), RtrvAtStart.end(), out.begin());
  out[13] = MidiInDevIdx;
  out[14] = MidiOutDevIdx;
  out[15] = LoadWsAtStart;
  const std::size_t pathBytes = CutLength(WsPath, kPathLength);
  for (std::size_t i = 0; i < kPathLength; ++i)
    out[kPathOffset + i] = i < pathBytes ? static_cast<Byte>(WsPath[i]) : Byte{' '};
  PutInt16(out, kDensityOffset, Density);
  PutInt16(out, kPerfChannelOffset, PerfChannel);
  return out;
}

PreferencesRecord PreferencesRecord::Decode(const Bytes& bytes) {
  Bytes in(kSize, 0);
  std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), in.begin());

  PreferencesRecord r;
  std::copy_n(in.begin(), kMultiCount, r.RtrvAtStart.begin());
  r.MidiInDevIdx = in[13];
  r.MidiOutDevIdx = in[14];
  r.LoadWsAtStart = in[15];
  std::string path(in.begin() + kPathOffset, in.begin() + kPathOffset + kPathLength);
  if (auto zero = path.find('\0'); zero != std::string::npos) path.resize(zero);
  while (!path.empty() && path.back() == ' ') path.pop_back();
  r.WsPath = std::move(path);
  r.Density = GetInt16(in, kDensityOffset);
  r.PerfChannel = GetInt16(in, kPerfChannelOffset);
  return r;
}

PreferencesFileRead ReadPreferencesFile(const std::string& path) {
  PreferencesFileRead result;
  FileReadResult read = ReadRegularFile(path, kMaxPreferencesFileLength);
  if (!read) return result;
  if (read.longer) {
    result.status = PreferencesFileRead::Status::kTooLong;
    return result;
  }
  result.record = PreferencesRecord::Decode(read.bytes);
  result.status = PreferencesFileRead::Status::kRead;
  return result;
}

FileWriteResult WritePreferencesFile(const std::string& path, const PreferencesRecord& record) {
  return WriteFileSafely(path, record.Encode());
}

}  // namespace qv
