#pragma once
// The backend's own client on a JACK server. It watches what RtMidi does not
// tell: the server's shutdown notice, and the clients and ports that go
// away. It counts the server's periods, by which a send knows that RtMidi's
// output buffer is being drained and every wait knows that the server still
// runs: a server that ran no period for a second (stopped, or hung) is
// waited for no longer. And it owns the program's input port, so
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

  // How long a server may run no period before it counts as stalled. A
  // server starved by a busy machine still runs its periods, late; this is
  // far beyond any lateness.
  static constexpr std::chrono::milliseconds kStallTime{1000};
  // Whether the server has run no period for kStallTime. A request to such a
  // server (a port's or a client's closing) would wait for as long as it
  // hangs.
  bool Stalled() const;
  // Waits for the server's next period; false, without waiting on, once the
  // server is gone or stalled. A request made right after one is answered.
  bool NextPeriod();

  // The input port: made and connected from `source`; events go to `events`
  // on the server's thread. Returns false when that fails.
  bool OpenInput(const std::string& portName, const std::string& source, Events events);
  // Closes the port on the server when it runs its periods; false when the
  // port was left registered (the server is gone or stalled). Either way no
  // events are handed on any more.
  bool CloseInput();
  // Forgets the port without a word to the server.
  void DropInput();
  // No call of onLoss begins after this returns; one in progress has ended.
  void Silence();

 private:
  static void OnShutdown(int code, const char* reason, void* self);
  static void OnClient(const char* name, int registered, void* self);
  static void OnPort(unsigned id, int registered, void* self);
  static int OnProcess(unsigned frames, void* self);
  void Lost();
  // Hands no more events on; returns the input port, now forgotten.
  _jack_port* TakeInput();

  _jack_client* client_ = nullptr;
  _jack_port* inPort_ = nullptr;
  std::mutex lossMutex_;  // held while onLoss_ runs
  std::function<void()> onLoss_;
  std::atomic<bool> serverGone_{false};
  std::atomic<bool> outGone_{false}, inGone_{false};
  std::atomic<unsigned long> cycles_{0};
  std::atomic<std::chrono::steady_clock::rep> lastPeriod_{0};  // when the last period ran
  std::chrono::microseconds period_{0};

  std::mutex namesMutex_;  // the watched names, read by JACK's notification thread
  std::string outPortName_, inPortName_;

  std::mutex eventsMutex_;  // taken by the process thread for each period's events
  Events events_;
};

}  // namespace qv
