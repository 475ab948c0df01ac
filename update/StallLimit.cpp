#include "update/StallLimit.h"

#include <algorithm>
#include <memory>

namespace quarrow {
namespace {

// Shared by the waiting caller and the worker; whichever lets go last frees it.
struct Job {
  JobGate gate;
  std::function<void(JobGate&)> work;
};

DWORD WINAPI RunJob(void* parameter) {
  std::unique_ptr<std::shared_ptr<Job>> job(static_cast<std::shared_ptr<Job>*>(parameter));
  (*job)->work((*job)->gate);
  return 0;
}

}  // namespace

JobGate::JobGate() : m_lastProgress(::GetTickCount()) { ::InitializeCriticalSection(&m_lock); }

JobGate::~JobGate() { ::DeleteCriticalSection(&m_lock); }

void JobGate::Progress() { m_lastProgress = ::GetTickCount(); }

DWORD JobGate::MillisecondsSinceProgress() const { return ::GetTickCount() - m_lastProgress; }

bool JobGate::Commit(const std::function<void()>& effect) {
  ::EnterCriticalSection(&m_lock);
  bool allowed = !m_abandoned;
  if (allowed) effect();
  ::LeaveCriticalSection(&m_lock);
  return allowed;
}

void JobGate::WhenAbandoned(const std::function<void()>& release) {
  ::EnterCriticalSection(&m_lock);
  if (m_abandoned && release) {
    release();
  } else {
    m_release = release;
  }
  ::LeaveCriticalSection(&m_lock);
}

// The worker marks the end of its job, the caller its giving up; whichever
// comes first under the lock decides. True when the job counts as finished.
bool JobGate::FinishOrAbandon(bool finished) {
  ::EnterCriticalSection(&m_lock);
  if (finished) {
    m_finished = !m_abandoned;
  } else if (!m_finished) {
    m_abandoned = true;
    if (m_release) m_release();
    m_release = nullptr;
  }
  bool result = m_finished;
  ::LeaveCriticalSection(&m_lock);
  return result;
}

bool RunWithStallLimit(const std::function<void(JobGate&)>& job, DWORD stallMs) {
  auto shared = std::make_shared<Job>();
  shared->work = [job](JobGate& gate) {
    job(gate);
    gate.FinishOrAbandon(true);
  };
  auto* forWorker = new std::shared_ptr<Job>(shared);
  HANDLE thread = ::CreateThread(nullptr, 0, RunJob, forWorker, 0, nullptr);
  if (!thread) {
    // No thread to spare: do the job here, unbounded, rather than not at all.
    delete forWorker;
    shared->work(shared->gate);
    return true;
  }
  const DWORD slice = std::min<DWORD>(stallMs, 100);
  bool finished = false;
  for (;;) {
    if (::WaitForSingleObject(thread, slice) == WAIT_OBJECT_0) {
      finished = true;
      break;
    }
    if (shared->gate.MillisecondsSinceProgress() >= stallMs) {
      finished = shared->gate.FinishOrAbandon(false);
      break;
    }
  }
  ::CloseHandle(thread);
  return finished;
}

}  // namespace quarrow
