// The host's automation object, simulated: an IDispatch that answers the three members of
// "Tulm2.Application" the module uses, and its registration as the running host.
//
// Members: 2, property get: the frequency in Hz (VT_R8 unless a test scripts another type);
// 8, method taking one VT_I4 that must be 5: the call being entered (VT_BSTR unless scripted
// otherwise); 16, method taking one VT_BSTR: a command, recorded in the order received.
// A call outside that contract (another member, kind, argument count or type) is refused and
// counted as a protocol error, so a test can tell that the module spoke the protocol exactly.
//
// All members are safe to call from any thread: COM calls the object on the apartment that
// registered it, tests script and inspect it from theirs.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "frame/com_win32.h"

class SimulatedHost final : public IDispatch {
 public:
  static constexpr DISPID kFrequency = 2;
  static constexpr DISPID kEnteredCall = 8;
  static constexpr DISPID kCommand = 16;

  static ComPtr<SimulatedHost> Create();

  // What member 2 answers: a VT_R8 frequency, or any value (a test of type coercion).
  void SetFrequency(double hz);
  void SetFrequencyValue(const VARIANT& value);
  // What member 8 answers: the call as a BSTR converted from the ANSI code page, or any value.
  void SetEnteredCall(const std::string& call);
  void SetEnteredCallValue(const VARIANT& value);

  // Makes every member call fail with `hr` (S_OK: answer again). DISP_E_EXCEPTION comes with
  // exception information whose strings the caller must free.
  void FailEveryCall(HRESULT hr);

  // Runs during every member call, before it is answered, on the thread COM calls it on.
  void SetOnCall(std::function<void(DISPID)> onCall);

  // The commands received so far, converted to the ANSI code page, in order.
  std::vector<std::string> Commands() const;
  // The same as wide strings, as they arrived.
  std::vector<std::wstring> WideCommands() const;
  // Member calls answered, failed on purpose, and refused for breaking the contract.
  int AnsweredCalls() const;
  int FailedCalls() const;
  int ProtocolErrors() const;
  // The object's reference count now.
  LONG References() const;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID, WORD kind,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

 private:
  SimulatedHost();
  ~SimulatedHost();
  HRESULT Answer(DISPID member, WORD kind, const DISPPARAMS& parameters, VARIANT* result);

  std::atomic<LONG> m_references{1};
  mutable std::mutex m_mutex;  // guards everything below
  VARIANT m_frequency;
  VARIANT m_enteredCall;
  HRESULT m_failure = S_OK;
  std::function<void(DISPID)> m_onCall;
  std::vector<std::wstring> m_commands;
  int m_answered = 0;
  int m_failed = 0;
  int m_protocolErrors = 0;
};

// The class the simulator registers the ProgID "Tulm2.Application" for.
extern const CLSID kSimulatedHostClsid;

// Registers "Tulm2.Application" with kSimulatedHostClsid under HKLM\Software\Classes, which is
// where Wine 8 looks (it does not merge HKCU\Software\Classes into HKEY_CLASSES_ROOT). The
// registration stays until UnregisterHostProgId. False when the registry refused.
bool RegisterHostProgId();
bool UnregisterHostProgId();

// The object registered as the running host (RegisterActiveObject, strong) until Revoke or
// destruction; GetActiveObject then finds it. Registered on the constructing thread, which
// must have initialised COM and must pump messages for calls from other apartments.
class RunningHost {
 public:
  explicit RunningHost(SimulatedHost& host);
  RunningHost(const RunningHost&) = delete;
  RunningHost& operator=(const RunningHost&) = delete;
  ~RunningHost();

  bool IsRunning() const { return m_registered; }
  void Revoke();

 private:
  DWORD m_cookie = 0;
  bool m_registered = false;
};
