#include "editor/editor_state.h"

#include <algorithm>
#include <stdexcept>

#include "instrument/multi_params.h"

namespace qv {

namespace {

std::size_t PartIndex(int part) {
  if (!IsMultiPart(part)) throw std::out_of_range("multi part index");
  return static_cast<std::size_t>(part - kFirstMultiPart);
}
}  // namespace

std::string DefaultPartCaption(int part) { return "Multi Part M" + std::to_string(part + 1); }

std::string PartCaptionFor(const std::string& name, int part) {
  std::string caption = name.substr(0, std::min(name.size(), kNameLength));
  caption.resize(kNameLength, ' ');
  return caption + " M" + std::to_string(part + 1);
}

std::string NameInCaption(const std::string& caption) { return caption.substr(0, std::min(caption.size(), kNameLength)); }

std::string ShownName(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
  return text;
}

EditorState::EditorState() {
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) Caption(part) = DefaultPartCaption(part);
  ChannelRows.fill(-1);
  for (LayerBox& box : LayerBoxes) box.text = std::string(9, ' ');
}

std::string& EditorState::Caption(int part) { return Captions[PartIndex(part)]; }
const std::string& EditorState::Caption(int part) const { return Captions[PartIndex(part)]; }
int& EditorState::ChannelRow(int part) { return ChannelRows[PartIndex(part)]; }
int EditorState::ChannelRow(int part) const { return ChannelRows[PartIndex(part)]; }

int EditorState::PartChannel(int part) const {
  const int row = ChannelRows[PartIndex(part)];
  return row >= 0 && row <= 15 ? row : 0;
}

PartVoice EditorState::Voice(int part) const {
  const auto byte = [&](int index) { return static_cast<int>(Model.PartBlk.At(index, kVoiceBlock, part)); };
  return {byte(kVoiceMsbByte), byte(kVoiceLsbByte), byte(kVoicePrgByte)};
}

int EditorState::MultiParamPosition(int part, PartParam which) const {
  const MultiParam& param = ParamOf(which);
  const Byte first = Model.PartBlk.At(param.byte, param.block, part);
  const Byte second = param.kind == SliderKind::Detune ? Model.PartBlk.At(param.byte + 1, param.block, part) : Byte{0};
  return std::clamp(PositionFromByte(param.kind, first, second), param.minimum, param.maximum);
}

std::optional<int> EditorState::EffectTypeRow(Effect effect) const {
  const EffectTypeParam& param = ParamOf(effect);
  const auto& com2 = Model.Performance.Com2;
  const Byte msb = com2[static_cast<std::size_t>(param.msbByte)];
  const Byte lsb = com2[static_cast<std::size_t>(param.msbByte + 1)];
  const std::vector<EffType>& table = param.table();
  std::optional<int> found;  // the last row that matches, should two
  for (std::size_t r = 0; r < table.size(); ++r)
    if (table[r].Msb == msb && table[r].Lsb == lsb) found = static_cast<int>(r);
  return found;
}

LayerBox& EditorState::Layer(int layer) {
  if (layer < 1 || layer > 4) throw std::out_of_range("layer");
  return LayerBoxes[static_cast<std::size_t>(layer - 1)];
}

}  // namespace qv
