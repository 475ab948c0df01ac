// Running a network job that may hang without letting it freeze the caller.
//
// WinInet does not give up by itself on a connect that is never answered (it
// waits for minutes, and closing its handles from another thread does not free
// it), nor on a server that stops sending half-way. So the job runs on a worker
// thread while the caller waits, and the caller stops waiting once the job has
// shown no sign of progress for the stall limit. A slow transfer that keeps
// moving is never cut off; only silence is.
//
// An abandoned worker is left to return whenever WinInet lets it. From the
// moment it is abandoned it must change nothing the caller can see (the log,
// files, the caller's variables), so every such effect goes through
// JobGate::Commit, which refuses once the caller has gone.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

namespace quarrow {

class JobGate {
 public:
  JobGate();
  ~JobGate();
  JobGate(const JobGate&) = delete;
  JobGate& operator=(const JobGate&) = delete;

  // The job is alive: restarts the stall clock.
  void Progress();
  // Runs effect unless the caller has given up on the job; false when it has.
  bool Commit(const std::function<void()>& effect);
  // What to let go of at once should the caller give up while the job holds
  // it (an open file, say); run then by the caller, under the gate. Runs at
  // once when the caller has already gone. An empty function withdraws it.
  void WhenAbandoned(const std::function<void()>& release);

 private:
  friend bool RunWithStallLimit(const std::function<void(JobGate&)>& job, DWORD stallMs);
  DWORD MillisecondsSinceProgress() const;
  bool FinishOrAbandon(bool finished);

  CRITICAL_SECTION m_lock;
  bool m_finished = false;
  bool m_abandoned = false;
  std::function<void()> m_release;
  std::atomic<DWORD> m_lastProgress;
};

// Runs job on a worker thread and waits for it. True when the job ran to its
// end; false when it went stallMs without calling Progress and was abandoned.
// The job must reach outside itself only through the gate (see above).
bool RunWithStallLimit(const std::function<void(JobGate&)>& job, DWORD stallMs);

}  // namespace quarrow
