#include "frame/host_dispatch_win32.h"

#include <utility>

#include "platform/module_lock.h"

HostDispatch g_hostDispatch;

namespace {

// Frees the strings of the exception information an Invoke returned; when the host deferred
// filling it in, it is filled in first so that nothing it allocated is lost.
void FreeExceptionInfo(HRESULT invokeResult, EXCEPINFO& exception) {
  if (invokeResult == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr) {
    exception.pfnDeferredFillIn(&exception);
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  exception = EXCEPINFO{};
}

}  // namespace

// No lock here: ExitInstance has stopped the window's thread before the module's objects are
// destroyed, so the unloading thread is the only one left in the module.
HostDispatch::~HostDispatch() { Drop(std::move(m_dispatch), m_ownerThreadId); }

void HostDispatch::Attach(ComPtr<IDispatch> dispatch) {
  const DWORD self = GetCurrentThreadId();
  ScopedHandle selfHandle(OpenThread(SYNCHRONIZE, FALSE, self));
  ComPtr<IDispatch> previous;
  DWORD previousOwner = 0;
  {
    ModuleLockGuard lock(g_moduleLock);
    previous = std::exchange(m_dispatch, std::move(dispatch));
    previousOwner = std::exchange(m_ownerThreadId, self);
    std::swap(m_ownerThread, selfHandle);
  }
  Drop(std::move(previous), previousOwner);
}

void HostDispatch::ReleaseIfAttachedHere() {
  ComPtr<IDispatch> mine;
  {
    ModuleLockGuard lock(g_moduleLock);
    if (m_ownerThreadId != GetCurrentThreadId()) return;
    mine = std::move(m_dispatch);
    m_ownerThreadId = 0;
    m_ownerThread = ScopedHandle();
  }
  mine.Reset();
}

void HostDispatch::Abandon() {
  m_dispatch.Detach();
  m_ownerThreadId = 0;
}

bool HostDispatch::IsUsableHere() const {
  ModuleLockGuard lock(g_moduleLock);
  return m_dispatch && m_ownerThreadId == GetCurrentThreadId();
}

HRESULT HostDispatch::Invoke(DISPID member, WORD kind, VARIANT* argument, VARIANT* result) const {
  ComPtr<IDispatch> dispatch;
  {
    ModuleLockGuard lock(g_moduleLock);
    if (!m_dispatch) return CO_E_OBJNOTCONNECTED;
    if (m_ownerThreadId != GetCurrentThreadId()) return RPC_E_WRONG_THREAD;
    dispatch = m_dispatch;
  }
  DISPPARAMS parameters{};
  parameters.rgvarg = argument;
  parameters.cArgs = argument != nullptr ? 1 : 0;
  EXCEPINFO exception{};
  UINT argumentError = 0;
  const HRESULT hr = dispatch->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                                      result, &exception, &argumentError);
  FreeExceptionInfo(hr, exception);
  return hr;
}

void HostDispatch::Drop(ComPtr<IDispatch> dispatch, DWORD owner) {
  if (owner == GetCurrentThreadId()) {
    dispatch.Reset();
  } else {
    dispatch.Detach();
  }
}
