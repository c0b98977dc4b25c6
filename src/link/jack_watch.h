#pragma once
// The backend's own client on a JACK server. It watches what RtMidi does not
// tell: the server's shutdown notice, and the clients and ports that go
// away. It counts the server's periods, by which a send knows that RtMidi's
// output buffer is being drained. And it owns the program's input port, so
// that every event arrives as the server delivers it (RtMidi would hold all
// later events inside an unfinished SysEx).

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

#include "instrument/bytes.h"

struct _jack_client;
struct _jack_port;

namespace qv {

class JackWatch {
 public:
  using Events = std::function<void(const Byte* data, std::size_t length)>;

  // Opens a client named clientName (or the server's variant of it); Ready()
  // tells whether that worked. onLoss runs on a thread of JACK's.
  JackWatch(const std::string& clientName, std::function<void()> onLoss);
  // Closes the client, unless the server has gone: then nothing waits.
  ~JackWatch();
  JackWatch(const JackWatch&) = delete;
  JackWatch& operator=(const JackWatch&) = delete;

  bool Ready() const { return client_ != nullptr; }
  bool ServerGone() const { return serverGone_.load(); }
  // Whether a port of that full name exists now.
  bool PortExists(const std::string& name);
  // The ports whose going counts as a loss ("" for none).
  void Watch(const std::string& outPort, const std::string& inPort);
  // Whether a watched port was seen to go since Watch.
  bool OutGone() const { return outGone_.load(); }
  bool InGone() const { return inGone_.load(); }

  // Periods the server has run since the client was opened, and one period.
  unsigned long Cycles() const { return cycles_.load(); }
  std::chrono::microseconds Period() const { return period_; }

  // The input port: made and connected from `source`; events go to `events`
  // on the server's thread. Returns false when that fails.
  bool OpenInput(const std::string& portName, const std::string& source, Events events);
  void CloseInput();
  // No call of onLoss begins after this returns; one in progress has ended.
  void Silence();

 private:
  static void OnShutdown(int code, const char* reason, void* self);
  static void OnClient(const char* name, int registered, void* self);
  static void OnPort(unsigned id, int registered, void* self);
  static int OnProcess(unsigned frames, void* self);
  void Lost();

  _jack_client* client_ = nullptr;
  _jack_port* inPort_ = nullptr;
  std::mutex lossMutex_;  // held while onLoss_ runs
  std::function<void()> onLoss_;
  std::atomic<bool> serverGone_{false};
  std::atomic<bool> outGone_{false}, inGone_{false};
  std::atomic<unsigned long> cycles_{0};
  std::chrono::microseconds period_{0};

  std::mutex namesMutex_;  // the watched names, read by JACK's notification thread
  std::string outPortName_, inPortName_;

  std::mutex eventsMutex_;  // taken by the process thread for each period's events
  Events events_;
};

}  // namespace qv
