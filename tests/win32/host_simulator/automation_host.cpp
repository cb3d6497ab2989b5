#include "automation_host.h"

#include <oleauto.h>

#include <cstring>
#include <utility>

// {8AB8E31A-9E60-4903-901A-D9960BC9490E}
const CLSID kSimulatedHostClsid = {
    0x8ab8e31a, 0x9e60, 0x4903, {0x90, 0x1a, 0xd9, 0x96, 0x0b, 0xc9, 0x49, 0x0e}};

namespace {

constexpr char kProgIdKey[] = "Software\\Classes\\Tulm2.Application";
constexpr char kClsidKey[] = "Software\\Classes\\CLSID\\{8AB8E31A-9E60-4903-901A-D9960BC9490E}";
constexpr char kClsidText[] = "{8AB8E31A-9E60-4903-901A-D9960BC9490E}";

std::string WideToAnsi(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

BSTR AnsiToBstr(const std::string& narrow) {
  const int size = static_cast<int>(narrow.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, nullptr, 0);
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length > 0 ? length : 0));
  if (wide != nullptr && length > 0) {
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, wide, length);
  }
  return wide;
}

bool SetDefaultValue(const char* key, const char* value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG written =
      RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>(strlen(value) + 1));
  RegCloseKey(handle);
  return written == ERROR_SUCCESS;
}

// Deletes `key` with its subkeys; a key that is not there counts as deleted.
bool DeleteTree(const char* key) {
  const LONG tree = RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
  if (tree == ERROR_FILE_NOT_FOUND) return true;
  if (tree != ERROR_SUCCESS) return false;
  const LONG self = RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
  return self == ERROR_SUCCESS || self == ERROR_FILE_NOT_FOUND;
}

}  // namespace

ComPtr<SimulatedHost> SimulatedHost::Create() {
  return ComPtr<SimulatedHost>::Adopt(new SimulatedHost());
}

SimulatedHost::SimulatedHost() {
  VariantInit(&m_frequency);
  V_VT(&m_frequency) = VT_R8;
  V_R8(&m_frequency) = 0.0;
  VariantInit(&m_enteredCall);
  V_VT(&m_enteredCall) = VT_BSTR;
  V_BSTR(&m_enteredCall) = SysAllocString(L"");
}

SimulatedHost::~SimulatedHost() {
  VariantClear(&m_frequency);
  VariantClear(&m_enteredCall);
}

void SimulatedHost::SetFrequency(double hz) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = hz;
  SetFrequencyValue(value);
}

void SimulatedHost::SetFrequencyValue(const VARIANT& value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  // VariantCopy only reads its source, whatever its declaration says.
  VariantCopy(&m_frequency, const_cast<VARIANT*>(&value));
}

void SimulatedHost::SetEnteredCall(const std::string& call) {
  ScopedVariant value;
  V_VT(value.get()) = VT_BSTR;
  V_BSTR(value.get()) = AnsiToBstr(call);
  SetEnteredCallValue(value.value());
}

void SimulatedHost::SetEnteredCallValue(const VARIANT& value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  VariantCopy(&m_enteredCall, const_cast<VARIANT*>(&value));
}

void SimulatedHost::FailEveryCall(HRESULT hr) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failure = hr;
}

void SimulatedHost::SetOnCall(std::function<void(DISPID)> onCall) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_onCall = std::move(onCall);
}

std::vector<std::string> SimulatedHost::Commands() const {
  std::vector<std::string> commands;
  for (const std::wstring& command : WideCommands()) commands.push_back(WideToAnsi(command));
  return commands;
}

std::vector<std::wstring> SimulatedHost::WideCommands() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_commands;
}

int SimulatedHost::AnsweredCalls() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_answered;
}

int SimulatedHost::FailedCalls() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_failed;
}

int SimulatedHost::ProtocolErrors() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_protocolErrors;
}

LONG SimulatedHost::References() const { return m_references.load(); }

HRESULT SimulatedHost::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG SimulatedHost::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG SimulatedHost::Release() {
  const LONG left = --m_references;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT SimulatedHost::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT SimulatedHost::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT SimulatedHost::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return DISP_E_UNKNOWNNAME;
}

HRESULT SimulatedHost::Invoke(DISPID member, REFIID riid, LCID, WORD kind, DISPPARAMS* parameters,
                              VARIANT* result, EXCEPINFO* exception, UINT*) {
  std::function<void(DISPID)> onCall;
  HRESULT failure = S_OK;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    onCall = m_onCall;
    failure = m_failure;
  }
  if (onCall) onCall(member);
  if (failure != S_OK) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_failed;
    if (failure == DISP_E_EXCEPTION && exception != nullptr) {
      *exception = EXCEPINFO{};
      exception->scode = RPC_E_DISCONNECTED;
      exception->bstrSource = SysAllocString(L"Tulm2.Application");
      exception->bstrDescription = SysAllocString(L"The host is closing.");
      exception->bstrHelpFile = SysAllocString(L"tulm.chm");
    }
    return failure;
  }
  const DISPPARAMS none{};
  const HRESULT hr = IsEqualIID(riid, IID_NULL)
                         ? Answer(member, kind, parameters != nullptr ? *parameters : none, result)
                         : DISP_E_UNKNOWNINTERFACE;
  std::lock_guard<std::mutex> lock(m_mutex);
  if (SUCCEEDED(hr)) {
    ++m_answered;
  } else {
    ++m_protocolErrors;
  }
  return hr;
}

HRESULT SimulatedHost::Answer(DISPID member, WORD kind, const DISPPARAMS& parameters,
                              VARIANT* result) {
  if (parameters.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  switch (member) {
    case kFrequency: {
      if ((kind & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
      if (parameters.cArgs != 0) return DISP_E_BADPARAMCOUNT;
      if (result == nullptr) return E_POINTER;
      std::lock_guard<std::mutex> lock(m_mutex);
      return VariantCopy(result, &m_frequency);
    }
    case kEnteredCall: {
      if ((kind & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
      if (parameters.cArgs != 1) return DISP_E_BADPARAMCOUNT;
      const VARIANT& argument = parameters.rgvarg[0];
      if (V_VT(&argument) != VT_I4 || V_I4(&argument) != 5) return DISP_E_TYPEMISMATCH;
      if (result == nullptr) return E_POINTER;
      std::lock_guard<std::mutex> lock(m_mutex);
      return VariantCopy(result, &m_enteredCall);
    }
    case kCommand: {
      if ((kind & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
      if (parameters.cArgs != 1) return DISP_E_BADPARAMCOUNT;
      const VARIANT& argument = parameters.rgvarg[0];
      if (V_VT(&argument) != VT_BSTR) return DISP_E_TYPEMISMATCH;
      std::lock_guard<std::mutex> lock(m_mutex);
      m_commands.emplace_back(V_BSTR(&argument), SysStringLen(V_BSTR(&argument)));
      return S_OK;
    }
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

bool RegisterHostProgId() {
  return SetDefaultValue((std::string(kProgIdKey) + "\\CLSID").c_str(), kClsidText) &&
         SetDefaultValue((std::string(kClsidKey) + "\\ProgID").c_str(), "Tulm2.Application");
}

bool UnregisterHostProgId() {
  const bool progId = DeleteTree(kProgIdKey);
  const bool clsid = DeleteTree(kClsidKey);
  return progId && clsid;
}

RunningHost::RunningHost(SimulatedHost& host) {
  m_registered = SUCCEEDED(RegisterActiveObject(static_cast<IDispatch*>(&host), kSimulatedHostClsid,
                                                ACTIVEOBJECT_STRONG, &m_cookie));
}

RunningHost::~RunningHost() { Revoke(); }

void RunningHost::Revoke() {
  if (!m_registered) return;
  RevokeActiveObject(m_cookie, nullptr);
  m_registered = false;
}
