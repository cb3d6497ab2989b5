// The host link of Stats.dll: a COM client of the running host object "Tulm2.Application",
// through g_hostDispatch. Member 2 is the frequency (property), 8 the call being entered
// (method taking 5), 16 a command (method taking a text).
//
// Nothing here throws or reports a failure to its caller beyond "no value": the host's object
// may be gone at any moment (the host closing, a broken connection), and neither the host's
// call nor the window's thread may end because of it.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "frame/com_win32.h"
#include "frame/host_dispatch_win32.h"
#include "frame/seams.h"

namespace {

constexpr wchar_t kHostProgId[] = L"Tulm2.Application";
constexpr DISPID kFrequencyMember = 2;
constexpr DISPID kEnteredCallMember = 8;
constexpr DISPID kCommandMember = 16;
constexpr LONG kEnteredCallArgument = 5;

// Connect's COM initialisations on this thread that Disconnect has not balanced yet, one bit
// each, innermost lowest: set when that CoInitialize succeeded and so needs a CoUninitialize.
// Trivial thread-locals only: the module can be unloaded while its threads live on.
constexpr int kMaxInitDepth = 32;
thread_local uint32_t t_initSucceeded = 0;
thread_local int t_initDepth = 0;
// The depth of the initialisation that created this thread's apartment, 0 when none did: when
// it is balanced the apartment ends, and every interface obtained in it with it.
thread_local int t_apartmentDepth = 0;

void RecordInit(HRESULT hr) {
  if (t_initDepth == kMaxInitDepth) return;
  ++t_initDepth;
  t_initSucceeded = (t_initSucceeded << 1) | (SUCCEEDED(hr) ? 1u : 0u);
  if (hr == S_OK) t_apartmentDepth = t_initDepth;
}

ScopedBstr AnsiToBstr(const std::string& text) {
  if (text.empty()) return ScopedBstr(SysAllocString(L""));
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return ScopedBstr();
  ScopedBstr wide(SysAllocStringLen(nullptr, static_cast<UINT>(wideLength)));
  if (wide.get() == nullptr) return wide;
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.get(), wideLength);
  return wide;
}

std::string BstrToAnsi(BSTR text) {
  const int wideLength = static_cast<int>(SysStringLen(text));
  if (wideLength == 0) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, wideLength, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

// Brings a result to the type the module relies on; false when it cannot be converted.
bool Coerce(VARIANT* value, VARTYPE type) {
  if (V_VT(value) == type) return true;
  return SUCCEEDED(VariantChangeType(value, value, 0, type));
}

class ComHostLink final : public HostLink {
 public:
  bool Connect() override {
    CLSID clsid{};
    const HRESULT found = CLSIDFromProgID(kHostProgId, &clsid);
    RecordInit(CoInitialize(nullptr));
    if (FAILED(found)) return false;
    ComPtr<IUnknown> running;
    if (FAILED(GetActiveObject(clsid, nullptr, running.Receive())) || !running) return false;
    ComPtr<IDispatch> dispatch;
    const HRESULT asked =
        running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Receive()));
    running.Reset();
    if (FAILED(asked) || !dispatch) return false;
    g_hostDispatch.Attach(std::move(dispatch));
    return true;
  }

  void Disconnect() override {
    if (t_initDepth == 0) return;
    const bool succeeded = (t_initSucceeded & 1u) != 0;
    if (t_initDepth == t_apartmentDepth) {
      g_hostDispatch.ReleaseIfAttachedHere();
      t_apartmentDepth = 0;
    }
    t_initSucceeded >>= 1;
    --t_initDepth;
    if (succeeded) CoUninitialize();
  }

  void SendCommand(const std::string& command) override {
    try {
      ScopedVariant argument;
      V_VT(argument.get()) = VT_BSTR;
      V_BSTR(argument.get()) = AnsiToBstr(command).Release();
      if (V_BSTR(argument.get()) == nullptr) return;
      g_hostDispatch.Invoke(kCommandMember, DISPATCH_METHOD, argument.get(), nullptr);
    } catch (...) {
    }
  }

  std::optional<double> GetFrequency() override {
    ScopedVariant result;
    if (FAILED(
            g_hostDispatch.Invoke(kFrequencyMember, DISPATCH_PROPERTYGET, nullptr, result.get()))) {
      return std::nullopt;
    }
    if (!Coerce(result.get(), VT_R8)) return std::nullopt;
    // A frequency that is not a number would turn every use of it into nonsense.
    if (!std::isfinite(V_R8(result.get()))) return std::nullopt;
    return V_R8(result.get());
  }

  std::optional<std::string> GetEnteredCall() override {
    try {
      ScopedVariant argument;
      V_VT(argument.get()) = VT_I4;
      V_I4(argument.get()) = kEnteredCallArgument;
      ScopedVariant result;
      if (FAILED(g_hostDispatch.Invoke(kEnteredCallMember, DISPATCH_METHOD, argument.get(),
                                       result.get()))) {
        return std::nullopt;
      }
      if (!Coerce(result.get(), VT_BSTR)) return std::nullopt;
      return BstrToAnsi(V_BSTR(result.get()));
    } catch (...) {
      return std::nullopt;
    }
  }
};

}  // namespace

HostLink& DefaultHostLink() {
  static ComHostLink link;
  return link;
}
