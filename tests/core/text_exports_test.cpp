// The workspace listing and the byte-by-byte dump, byte for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/text_exports.h"

namespace qv {
namespace {

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }
std::string T(int n) { return std::string(static_cast<std::size_t>(n), '\t'); }
std::string Quoted(const std::string& content) { return "\"" + content + "\"\r\n"; }

// Lines of a listing; none of its lines holds CR LF inside.
std::vector<std::string> Lines(const Bytes& b) {
  std::vector<std::string> lines;
  const std::string text = Text(b);
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(at, end + 2 - at));
    at = end + 2;
  }
  return lines;
}

WorkspaceTextInput Sample() {
  WorkspaceTextInput in;
  in.path = "/home/q/sets/live.txt";
  in.performanceCaption = "GrandPno  ";
  for (int e = 0; e < 12; ++e) {
    in.channelRows[static_cast<std::size_t>(e)] = e;
    in.multiCaptions[static_cast<std::size_t>(e)] = "Name " + std::to_string(e + 5) + "     M" + std::to_string(e + 5);
  }
  return in;
}

TEST(WorkspaceText, EveryLineOfAListing) {
  WorkspaceTextInput in = Sample();
  in.channelRows[0] = 4;
  in.multiCaptions[0] = "Multi Part M5";
  in.channelRows[11] = 15;
  in.multiCaptions[11] = "Say \"Hi\"  M16";
  in.poolRows = {"Pad Lyr 1 ", "Bass \"A\"", "Lead"};
  const std::vector<std::string> lines = Lines(BuildWorkspaceText(in));
  ASSERT_EQ(lines.size(), 29u);
  EXPECT_EQ(lines[0], Quoted(T(1) + " Workspace Description Text" + T(10)));
  EXPECT_EQ(lines[1], Quoted(T(17)));
  EXPECT_EQ(lines[2], Quoted(T(1) + "/home/q/sets/live.txt" + T(10)));
  EXPECT_EQ(lines[3], Quoted(T(13)));
  EXPECT_EQ(lines[4], Quoted(T(13)));
  EXPECT_EQ(lines[5], Quoted(T(1) + "Performance:" + T(14)));
  EXPECT_EQ(lines[6], Quoted(T(3) + "Midi Channel" + T(1) + "  1" + T(1) + "GrandPno  " + T(6)));
  EXPECT_EQ(lines[7], Quoted(T(13)));
  EXPECT_EQ(lines[8], Quoted(T(1) + "Multi Parts:" + T(14)));
  // The Part's own example for line 10, byte for byte.
  EXPECT_EQ(lines[9], "\"\t\t\tMidi Channel\t 5\tMulti Part\t\t\t\t\t\t\t\t\t\t\"\r\n");
  EXPECT_EQ(lines[10], Quoted(T(3) + "Midi Channel" + T(1) + " 2" + T(1) + "Name 6    " + T(10)));
  EXPECT_EQ(lines[20], Quoted(T(3) + "Midi Channel" + T(1) + " 16" + T(1) + "Say \"Hi\"  " + T(10)));
  for (int i : {21, 22, 23, 25}) EXPECT_EQ(lines[static_cast<std::size_t>(i)], Quoted(T(13))) << "line " << i + 1;
  EXPECT_EQ(lines[24], Quoted(T(1) + "Layer Pool:" + T(14)));
  EXPECT_EQ(lines[26], Quoted(T(3) + "Pad Lyr 1 " + T(10)));
  EXPECT_EQ(lines[27], Quoted(T(3) + "Bass \"A\"" + T(10)));
  EXPECT_EQ(lines[28], Quoted(T(3) + "Lead" + T(10)));

  // The performance channel in force, in the same three places.
  for (const auto& [channel, text] : {std::pair{9, "  9"}, {10, " 10"}, {16, " 16"}}) {
    in.performanceChannel = channel;
    const std::vector<std::string> with = Lines(BuildWorkspaceText(in));
    ASSERT_EQ(with.size(), 29u);
    EXPECT_EQ(with[6], Quoted(T(3) + "Midi Channel" + T(1) + text + T(1) + "GrandPno  " + T(6)));
  }
}

TEST(WorkspaceText, EmptyPoolShortCaptionsAndCharactersOutsideLatin1) {
  WorkspaceTextInput in = Sample();
  in.path = "/home/J\xC3\xBCrgen/\xE2\x82\xAC.txt";  // ü is Latin-1, € is not
  in.performanceCaption = "Init";
  in.multiCaptions[3] = "";
  in.multiCaptions[4] = std::string("A&\0\xE9", 4);
  in.channelRows[5] = -1;  // no row selected (a channel the list does not have)
  const Bytes bytes = BuildWorkspaceText(in);
  const std::vector<std::string> lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 26u);
  EXPECT_EQ(lines[2], Quoted(T(1) + "/home/J\xFCrgen/?.txt" + T(10)));
  EXPECT_EQ(lines[6], Quoted(T(3) + "Midi Channel" + T(1) + "  1" + T(1) + "Init" + T(6)));
  EXPECT_EQ(lines[12], Quoted(T(3) + "Midi Channel" + T(1) + " 4" + T(1) + T(10)));
  EXPECT_EQ(lines[13], Quoted(T(3) + "Midi Channel" + T(1) + " 5" + T(1) + "A& \xE9" + T(10)));
  EXPECT_EQ(lines[14].substr(0, 20), "\"" + T(3) + "Midi Channel" + T(1) + " 0" + T(1));
  EXPECT_EQ(lines[25], Quoted(T(13)));
  EXPECT_EQ(Text(bytes).substr(Text(bytes).size() - 3), "\"\r\n");
}

Bytes Dump(const Bytes& in) { return BuildSysExTextDump(in); }

TEST(SysExTextDump, TheNineByteMessage) {
  EXPECT_TRUE(Dump(Bytes{}).empty());

  const Bytes in = {0xF0, 0x43, 0x10, 0x4C, 0x08, 0x04, 0x04, 0x00, 0xF7};
  const std::vector<std::string> lines = Lines(Dump(in));
  ASSERT_EQ(lines.size(), 10u);
  // "Sys Ex  ", two blanks, position in hex, two blanks, a blank and the
  // position in decimal, three blanks, a blank and the value in decimal,
  // two blanks, the value in hex, two blanks, the byte itself.
  EXPECT_EQ(lines[0], Quoted("Sys Ex  " "  " "0" "  " " 0" "   " " 240" "  " "F0" "  " "\xF0"));
  EXPECT_EQ(lines[1], Quoted("Sys Ex  " "  " "1" "  " " 1" "   " " 67" "  " "43" "  " "C"));
  EXPECT_EQ(lines[7], Quoted(std::string("Sys Ex  " "  " "7" "  " " 7" "   " " 0" "  " "0" "  ") + '\0'));
  EXPECT_EQ(lines[8], Quoted("Sys Ex  " "  " "8" "  " " 8" "   " " 247" "  " "F7" "  " "\xF7"));
  EXPECT_EQ(lines[9], Quoted(" "));
}

TEST(SysExTextDump, RawBytesPositionsAndTheLimit) {
  // CR, LF and a double quote are written as they are.
  const std::string raw = Text(Dump(Bytes{0x0D, 0x0A, 0x22}));
  EXPECT_EQ(raw, Quoted("Sys Ex    0   0    13  D  \r") + Quoted("Sys Ex    1   1    10  A  \n") +
                     Quoted("Sys Ex    2   2    34  22  \""));

  Bytes in(300, 0x41);
  in[15] = 0xF7;
  in[299] = 0xF7;
  const std::string text = Text(Dump(in));
  EXPECT_NE(text.find(Quoted("Sys Ex    F   15    247  F7  \xF7") + Quoted(" ") +
                      Quoted("Sys Ex    10   16    65  41  A")),
            std::string::npos);
  EXPECT_NE(text.find(Quoted("Sys Ex    FF   255    65  41  A") + Quoted("Sys Ex    100   256    65  41  A")),
            std::string::npos);
  const std::string tail = Quoted("Sys Ex    12B   299    247  F7  \xF7") + Quoted(" ");
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(Lines(Dump(in)).size(), 302u);

  // Of a longer input the first 42001 bytes are listed.
  Bytes big(42001 + 50, 0x00);
  big[42000] = 0x01;
  big[42001] = 0xF7;
  const std::vector<std::string> bigLines = Lines(Dump(big));
  ASSERT_EQ(bigLines.size(), 42001u);
  EXPECT_EQ(bigLines.back(), Quoted("Sys Ex    A410   42000    1  1  \x01"));
}

}  // namespace
}  // namespace qv
