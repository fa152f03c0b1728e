// The hand-off of calls from worker threads to the main (GUI) thread. A worker queues a
// call and waits until the main thread has run it; the main thread runs whatever is
// queued when it checks the queue, both from its event loop and inside its own waits for
// workers, so a wait on a worker that is handing a call over never deadlocks.
#pragma once

#include <functional>

namespace base {

// The thread that initialised the program; the hand-offs run there.
bool IsMainThread();

// Runs Method on the main thread and waits for it to finish; on the main thread itself it
// runs at once. An exception that leaves Method is raised again in the caller.
void Synchronize(const std::function<void()>& Method);

// Main thread only: runs every queued call, waiting up to TimeoutMs (0: not at all) for the
// first one or a SignalMainThread. True when a call ran. Elsewhere it does nothing.
bool CheckSynchronize(int TimeoutMs = 0);

// Ends a CheckSynchronize wait early: a worker that finished calls it.
void SignalMainThread();

// Called on the queuing thread each time a call is queued, so that an event loop can be
// woken to run it; empty to have none.
void SetWakeMainThread(std::function<void()> Hook);

}  // namespace base
