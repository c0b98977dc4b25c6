#include "cs2x_emulator.h"

#include <cstdio>

#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "wire_time.h"

namespace qv::test {

Cs2xEmulator::Cs2xEmulator(FakeMidiBackend& backend) : backend_(backend) {
  // The performance blocks: start address and number of data bytes.
  blocks_.push_back({kModelCs, 0x50, 0x00, 0x00, std::vector<Byte>(26, 0)});
  blocks_.push_back({kModelCs, 0x60, 0x00, 0x00, std::vector<Byte>(52, 0)});
  blocks_.push_back({kModelCs, 0x60, 0x00, 0x40, std::vector<Byte>(23, 0)});
  blocks_.push_back({kModelCs, 0x60, 0x00, 0x60, std::vector<Byte>(9, 0)});
  for (Byte l = 1; l <= 4; ++l) blocks_.push_back({kModelCs, 0x60, l, 0x00, std::vector<Byte>(45, 0)});
  // The XG multi parts 0..15, each as the default part on its own channel.
  for (int p = 0; p < 16; ++p) {
    for (int b = 0; b < 5; ++b) {
      Byte msg[80] = {};
      WriteDefaultBlock(b, static_cast<Byte>(p), static_cast<Byte>(p), msg);
      const int len = kBlkLen[static_cast<std::size_t>(b)];
      blocks_.push_back({kModelXg, msg[6], msg[7], msg[8], std::vector<Byte>(msg + 9, msg + len - 2)});
    }
  }
  LoadPerformance(0x40, 0);
  backend_.onSend = [this](const Bytes& m) {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(m);
    wake_.notify_all();
  };
  thread_ = std::thread([this] { Run(); });
}

Cs2xEmulator::~Cs2xEmulator() {
  backend_.onSend = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    wake_.notify_all();
  }
  thread_.join();
}

void Cs2xEmulator::SimulateWire() {
  wireMicrosPerByte = 320;
  backend_.sendMicrosPerByte = 320;
}

Cs2xEmulator::Block* Cs2xEmulator::Find(Byte model, Byte a1, Byte a2, Byte a3, int* offset) {
  for (Block& b : blocks_) {
    if (b.model != model || b.a1 != a1 || b.a2 != a2 || a3 < b.a3) continue;
    const int k = a3 - b.a3;
    if (k < static_cast<int>(b.data.size())) {
      if (offset) *offset = k;
      return &b;
    }
  }
  return nullptr;
}
const Cs2xEmulator::Block* Cs2xEmulator::Find(Byte model, Byte a1, Byte a2, Byte a3, int* offset) const {
  return const_cast<Cs2xEmulator*>(this)->Find(model, a1, a2, a3, offset);
}

Byte Cs2xEmulator::Param(Byte model, Byte a1, Byte a2, Byte a3) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int k = 0;
  const Block* b = Find(model, a1, a2, a3, &k);
  return b ? b->data[static_cast<std::size_t>(k)] : 0;
}

void Cs2xEmulator::SetParam(Byte model, Byte a1, Byte a2, Byte a3, Byte value) {
  std::lock_guard<std::mutex> lock(mutex_);
  int k = 0;
  if (Block* b = Find(model, a1, a2, a3, &k)) b->data[static_cast<std::size_t>(k)] = value;
}

void Cs2xEmulator::SetPerformanceName(const std::string& name) {
  std::string padded = (name + "        ").substr(0, 8);
  for (int i = 0; i < 8; ++i) SetParam(kModelCs, 0x60, 0x00, static_cast<Byte>(i), static_cast<Byte>(padded[i]));
}

std::string Cs2xEmulator::PerformanceName() const {
  std::string name;
  for (int i = 0; i < 8; ++i) name += static_cast<char>(Param(kModelCs, 0x60, 0x00, static_cast<Byte>(i)));
  return name;
}

void Cs2xEmulator::SetLayerSwitch(int layer, Byte value) {
  SetParam(kModelCs, 0x60, static_cast<Byte>(layer), 0x16, value);
}

Bytes Cs2xEmulator::BulkDump(Byte model, Byte a1, Byte a2, Byte a3) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int k = 0;
  const Block* b = Find(model, a1, a2, a3, &k);
  if (!b || k != 0) return {};
  const int n = static_cast<int>(b->data.size());
  Bytes m = {0xF0, 0x43, 0x00, model, static_cast<Byte>(n / 128), static_cast<Byte>(n % 128), a1, a2, a3};
  m.insert(m.end(), b->data.begin(), b->data.end());
  m.push_back(0);
  m.push_back(0xF7);
  StoreBulkChecksum(m.data(), m.size());
  return m;
}

void Cs2xEmulator::LoadPerformance(Byte bankLsb, Byte program) {
  // A recognisable performance for each choice: its name tells bank and
  // program, its layers are all on.
  char name[16];
  std::snprintf(name, sizeof name, "B%02XP%03d ", bankLsb, program);
  for (Block& b : blocks_)
    if (b.model == kModelCs)
      for (std::size_t i = 0; i < b.data.size(); ++i) b.data[i] = static_cast<Byte>((i * 7 + program) % 128);
  Block* com1 = Find(kModelCs, 0x60, 0x00, 0x00, nullptr);
  for (int i = 0; i < 8; ++i) com1->data[static_cast<std::size_t>(i)] = static_cast<Byte>(name[i]);
  for (Byte l = 1; l <= 4; ++l) Find(kModelCs, 0x60, l, 0x00, nullptr)->data[0x16] = 1;
  Find(kModelCs, 0x50, 0x00, 0x00, nullptr)->data[0] = 0;
}

std::vector<Bytes> Cs2xEmulator::Received() {
  WaitIdle();
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

void Cs2xEmulator::ClearReceived() {
  WaitIdle();
  std::lock_guard<std::mutex> lock(mutex_);
  received_.clear();
}

void Cs2xEmulator::WaitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void Cs2xEmulator::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) return;
    Bytes m = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    received_.push_back(m);
    lock.unlock();
    Handle(m);
    lock.lock();
    busy_ = false;
    idle_.notify_all();
  }
}

void Cs2xEmulator::Reply(const Bytes& m) {
  if (m.empty()) return;
  const std::chrono::microseconds delay = replyDelay;
  if (delay.count() > 0) std::this_thread::sleep_for(delay);
  if (foreignBeforeReply) backend_.Deliver({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
  Bytes reply = m;
  if (corruptChecksum) reply[reply.size() - 2] ^= 0x01;
  if (shortReplies && reply.size() > 16) {
    reply.erase(reply.end() - 7, reply.end() - 2);
  }
  if (const int micros = wireMicrosPerByte; micros > 0)
    WaitWireTime(std::chrono::microseconds(micros * static_cast<int>(reply.size())));
  backend_.Deliver(reply);
}

void Cs2xEmulator::Handle(const Bytes& m) {
  std::size_t i = 0;
  while (i < m.size()) {
    const Byte status = m[i];
    if (status == 0xF0) {
      std::size_t end = i;
      while (end < m.size() && m[end] != 0xF7) ++end;
      if (end >= m.size()) return;
      const Bytes sx(m.begin() + static_cast<long>(i), m.begin() + static_cast<long>(end) + 1);
      i = end + 1;
      if (sx.size() < 8 || sx[1] != 0x43) continue;
      const Byte type = sx[2] & 0xF0, model = sx[3];
      if (type == 0x20 && sx.size() == 8) {
        if (!silent) Reply(BulkDump(model, sx[4], sx[5], sx[6]));
      } else if (type == 0x10 && sx.size() >= 9) {
        for (std::size_t k = 7; k + 1 < sx.size(); ++k)
          SetParam(model, sx[4], sx[5], static_cast<Byte>(sx[6] + (k - 7)), sx[k]);
      } else if (type == 0x00 && sx.size() >= 11) {
        const std::size_t n = static_cast<std::size_t>(sx[4]) * 128 + sx[5];
        if (sx.size() != n + 11 || BulkChecksum(sx.data(), sx.size()) != sx[sx.size() - 2]) continue;
        for (std::size_t k = 0; k < n; ++k) SetParam(model, sx[6], sx[7], static_cast<Byte>(sx[8] + k), sx[9 + k]);
      }
      continue;
    }
    // Channel messages: a performance selection is B0 00 3F B0 20 ll C0 pp.
    if (status == 0xB0 && i + 7 < m.size() + 0 && m[i + 1] == 0x00 && m[i + 3] == 0xB0 && m[i + 4] == 0x20 &&
        m[i + 6] == 0xC0) {
      std::lock_guard<std::mutex> lock(mutex_);
      selectedBankLsb = m[i + 5];
      selectedProgram = m[i + 7];
      LoadPerformance(m[i + 5], m[i + 7]);
      i += 8;
      continue;
    }
    i += (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
  }
}

}  // namespace qv::test
