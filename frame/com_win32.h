// Owners for the Win32 and COM resources of the host link: an interface pointer, a BSTR, a
// VARIANT and a kernel handle. Each frees what it owns exactly once, on the thread that drops
// it; none of them synchronises anything.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <utility>

// One reference to a COM interface. Copying adds a reference, destruction releases it.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : m_p(other.m_p) {
    if (m_p != nullptr) m_p->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already holds.
  static ComPtr Adopt(T* p) {
    ComPtr owner;
    owner.m_p = p;
    return owner;
  }

  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  void Reset() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // Gives up the reference without releasing it: the caller now owns it (or abandons it).
  T* Detach() { return std::exchange(m_p, nullptr); }
  // For an out-parameter that receives a new reference; releases the one held first.
  T** Receive() {
    Reset();
    return &m_p;
  }

 private:
  T* m_p = nullptr;
};

// A BSTR freed with SysFreeString. Null is a valid, empty BSTR.
class ScopedBstr {
 public:
  explicit ScopedBstr(BSTR text = nullptr) : m_text(text) {}
  ScopedBstr(ScopedBstr&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}
  ScopedBstr& operator=(ScopedBstr other) noexcept {
    std::swap(m_text, other.m_text);
    return *this;
  }
  ~ScopedBstr() { SysFreeString(m_text); }

  BSTR get() const { return m_text; }
  // Hands the string to a VARIANT or another owner.
  BSTR Release() { return std::exchange(m_text, nullptr); }

 private:
  BSTR m_text;
};

// A VARIANT initialised empty and cleared with VariantClear, which frees what it holds.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&m_value); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  ~ScopedVariant() { VariantClear(&m_value); }

  VARIANT* get() { return &m_value; }
  const VARIANT& value() const { return m_value; }

 private:
  VARIANT m_value;
};

// A kernel handle closed with CloseHandle; null and INVALID_HANDLE_VALUE hold nothing.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle = nullptr) : m_handle(handle) {}
  ScopedHandle(ScopedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  ScopedHandle& operator=(ScopedHandle other) noexcept {
    std::swap(m_handle, other.m_handle);
    return *this;
  }
  ~ScopedHandle() {
    if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  }

  HANDLE get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE m_handle;
};
