// HostDispatch: the module's connection to the host's automation object, a dispatch driver
// that holds at most one IDispatch reference and invokes members through it.
//
// g_hostDispatch is its one instance, a module-wide object from load to unload, shared by the
// host's thread and the Multiplier window's thread and guarded by g_moduleLock. No COM call is
// made while the lock is held: a call copies the interface under the lock and invokes it after.
//
// An interface pointer is valid only in the apartment that obtained it, and both threads of the
// module are single-threaded apartments of their own. So the interface is invoked and released
// only on the thread that attached it: there a call goes through, on any other thread it yields
// nothing. Replacing or dropping the interface on another thread abandons the old reference (it
// leaks) instead of calling into an apartment that may already have ended with its thread.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "frame/com_win32.h"

class HostDispatch {
 public:
  HostDispatch() = default;
  HostDispatch(const HostDispatch&) = delete;
  HostDispatch& operator=(const HostDispatch&) = delete;
  // Unload: releases the interface when the unloading thread attached it, else abandons it.
  ~HostDispatch();

  // Takes over `dispatch`, one reference obtained on the calling thread, in place of the
  // interface held (released on its own thread, abandoned on any other).
  void Attach(ComPtr<IDispatch> dispatch);

  // Releases the interface now when the calling thread attached it: before that thread's
  // apartment ends. Does nothing on any other thread.
  void ReleaseIfAttachedHere();

  // Forgets the interface without calling into it, and without taking the lock: for process
  // exit, when the other threads and their apartments are gone, possibly holding the lock.
  void Abandon();

  // Whether the calling thread can invoke the host through the interface held.
  bool IsUsableHere() const;

  // IDispatch::Invoke of `member` with the given kind (DISPATCH_METHOD, DISPATCH_PROPERTYGET)
  // and at most one argument (null for none); `result` may be null. Exception information the
  // host returns is freed here. Fails with CO_E_OBJNOTCONNECTED without an interface and with
  // RPC_E_WRONG_THREAD on a thread that did not attach it, without calling anything.
  HRESULT Invoke(DISPID member, WORD kind, VARIANT* argument, VARIANT* result) const;

 private:
  // Releases `dispatch` when `owner` is the calling thread, else abandons it; outside the lock.
  static void Drop(ComPtr<IDispatch> dispatch, DWORD owner);

  ComPtr<IDispatch> m_dispatch;  // guarded by g_moduleLock
  DWORD m_ownerThreadId = 0;     // guarded by g_moduleLock
  // An open handle to the attaching thread keeps its identifier from being given to a new
  // thread, which would otherwise pass for the owner after the old apartment is gone.
  ScopedHandle m_ownerThread;  // guarded by g_moduleLock
};

extern HostDispatch g_hostDispatch;
