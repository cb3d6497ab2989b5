// The Win32 host link against the simulated host object, in this process: what goes over the
// wire, how results are read and coerced, and what happens on a thread other than the host's,
// with a host that fails or went away.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation_host.h"
#include "frame/host_dispatch_win32.h"
#include "frame/seams.h"
#include "message_pump.h"
#include "platform/module_lock.h"

namespace {

constexpr DWORD kThreadTimeoutMs = 10000;

// A thread that works with the link as the Multiplier window's thread does, in an apartment of
// its own, while this (the host's) thread pumps messages for it. Pumping lasts until the thread
// has left: the end of a thread's apartment is itself a call into the host's apartment.
class OtherThread {
 public:
  explicit OtherThread(std::function<void()> work) : m_work(std::move(work)) {
    m_thread = ScopedHandle(CreateThread(nullptr, 0, &OtherThread::Main, this, 0, nullptr));
  }
  ~OtherThread() { WaitForSingleObject(m_thread.get(), INFINITE); }
  bool FinishPumping() { return PumpUntilSignalled(m_thread.get(), kThreadTimeoutMs); }

 private:
  static DWORD WINAPI Main(void* self) {
    static_cast<OtherThread*>(self)->m_work();
    return 0;
  }

  std::function<void()> m_work;
  ScopedHandle m_thread;
};

VARIANT Double(double value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_R8;
  V_R8(&v) = value;
  return v;
}

VARIANT Long(LONG value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT OfType(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}

// Holds a BSTR VARIANT for the lifetime of a test case table.
struct BstrVariant {
  explicit BstrVariant(const wchar_t* text) {
    VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text != nullptr ? SysAllocString(text) : nullptr;
  }
  ~BstrVariant() { VariantClear(&value); }
  VARIANT value;
};

class HostLinkWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(RegisterHostProgId());
    host_ = SimulatedHost::Create();
    running_ = std::make_unique<RunningHost>(*host_.get());
    ASSERT_TRUE(running_->IsRunning());
    baseline_ = host_->References();
  }
  void TearDown() override {
    // Each case starts without a connection; one left by an ended thread is dropped unused.
    g_hostDispatch.ReleaseIfAttachedHere();
    g_hostDispatch.Abandon();
    running_.reset();
    host_.Reset();
    RegisterHostProgId();
    CoUninitialize();
  }

  HostLink& link_ = DefaultHostLink();
  ComPtr<SimulatedHost> host_;
  std::unique_ptr<RunningHost> running_;
  LONG baseline_ = 0;
};

TEST_F(HostLinkWin32, CommandsReachTheHostInOrder) {
  ASSERT_TRUE(link_.Connect());
  link_.SendCommand("<MODE:RTTY>");
  link_.SendCommand("<BAUDRATE:45.45>");
  link_.SendCommand("<SP1>");
  link_.SendCommand("");
  link_.Disconnect();
  EXPECT_EQ(host_->Commands(),
            (std::vector<std::string>{"<MODE:RTTY>", "<BAUDRATE:45.45>", "<SP1>", ""}));
  EXPECT_EQ(host_->ProtocolErrors(), 0);
}

TEST_F(HostLinkWin32, TextsCrossInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "expectations written for code page 1252";
  ASSERT_TRUE(link_.Connect());
  link_.SendCommand("\xC5\xE4\xF6 OZ/SM\xD8");
  host_->SetEnteredCallValue(BstrVariant(L"S\u00D6\u00C5ABC").value);
  EXPECT_EQ(link_.GetEnteredCall(), std::optional<std::string>("S\xD6\xC5" + std::string("ABC")));
  link_.Disconnect();
  EXPECT_EQ(host_->WideCommands(), (std::vector<std::wstring>{L"\u00C5\u00E4\u00F6 OZ/SM\u00D8"}));
}

TEST_F(HostLinkWin32, FrequencyIsMember2ReadAsR8) {
  BstrVariant numeric(L"3580000");
  BstrVariant text(L"fourteen MHz");
  struct Case {
    const char* what;
    VARIANT value;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"VT_R8", Double(14085000.0), 14085000.0},
      {"VT_R8 fraction", Double(7035500.5), 7035500.5},
      {"VT_I4", Long(21080000), 21080000.0},
      {"numeric VT_BSTR", numeric.value, 3580000.0},
      {"VT_EMPTY", OfType(VT_EMPTY), 0.0},
      {"VT_NULL", OfType(VT_NULL), std::nullopt},
      {"text VT_BSTR", text.value, std::nullopt},
      {"NaN", Double(std::numeric_limits<double>::quiet_NaN()), std::nullopt},
      {"infinity", Double(std::numeric_limits<double>::infinity()), std::nullopt},
  };
  ASSERT_TRUE(link_.Connect());
  for (const Case& c : cases) {
    host_->SetFrequencyValue(c.value);
    EXPECT_EQ(link_.GetFrequency(), c.expected) << c.what;
  }
  link_.Disconnect();
  EXPECT_EQ(host_->ProtocolErrors(), 0);
}

TEST_F(HostLinkWin32, EnteredCallIsMember8TakingFive) {
  BstrVariant call(L"SM5ABC");
  BstrVariant empty(L"");
  BstrVariant nullText(nullptr);
  struct Case {
    const char* what;
    VARIANT value;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"call", call.value, "SM5ABC"},    {"empty BSTR", empty.value, ""},
      {"null BSTR", nullText.value, ""}, {"VT_EMPTY", OfType(VT_EMPTY), ""},
      {"VT_I4", Long(42), "42"},         {"VT_NULL", OfType(VT_NULL), std::nullopt},
  };
  ASSERT_TRUE(link_.Connect());
  for (const Case& c : cases) {
    host_->SetEnteredCallValue(c.value);
    EXPECT_EQ(link_.GetEnteredCall(), c.expected) << c.what;
  }
  link_.Disconnect();
  // The simulator refuses member 8 unless it comes as a method with one VT_I4 of 5.
  EXPECT_EQ(host_->ProtocolErrors(), 0);
}

TEST_F(HostLinkWin32, TheConnectionHoldsExactlyOneReference) {
  ASSERT_TRUE(link_.Connect());
  link_.Disconnect();
  EXPECT_EQ(host_->References(), baseline_ + 1);
  // A second connection replaces the first; the replaced reference is released.
  ASSERT_TRUE(link_.Connect());
  link_.Disconnect();
  EXPECT_EQ(host_->References(), baseline_ + 1);
  g_hostDispatch.ReleaseIfAttachedHere();
  EXPECT_EQ(host_->References(), baseline_);
}

TEST_F(HostLinkWin32, WithoutAHostNothingIsCalled) {
  struct Case {
    const char* what;
    bool registered;
  };
  for (const Case c : {Case{"not running", true}, Case{"not registered", false}}) {
    running_->Revoke();
    if (!c.registered) {
      ASSERT_TRUE(UnregisterHostProgId());
    }
    EXPECT_FALSE(link_.Connect()) << c.what;
    link_.SendCommand("<MODE:RTTY>");
    EXPECT_EQ(link_.GetFrequency(), std::nullopt) << c.what;
    EXPECT_EQ(link_.GetEnteredCall(), std::nullopt) << c.what;
    link_.Disconnect();
    EXPECT_FALSE(g_hostDispatch.IsUsableHere()) << c.what;
    ASSERT_TRUE(RegisterHostProgId());
  }
  EXPECT_TRUE(host_->Commands().empty());
  EXPECT_EQ(host_->AnsweredCalls() + host_->FailedCalls(), 0);
}

TEST_F(HostLinkWin32, AFailingHostYieldsNothingAndIsNotRetried) {
  for (const HRESULT failure : {DISP_E_EXCEPTION, RPC_E_DISCONNECTED, E_FAIL}) {
    running_.reset();
    host_ = SimulatedHost::Create();
    running_ = std::make_unique<RunningHost>(*host_.get());
    host_->FailEveryCall(failure);
    ASSERT_TRUE(link_.Connect()) << std::hex << failure;
    link_.SendCommand("<MODE:RTTY>");
    EXPECT_EQ(link_.GetFrequency(), std::nullopt) << std::hex << failure;
    EXPECT_EQ(link_.GetEnteredCall(), std::nullopt) << std::hex << failure;
    link_.Disconnect();
    EXPECT_EQ(host_->FailedCalls(), 3) << std::hex << failure;
    EXPECT_TRUE(host_->Commands().empty()) << std::hex << failure;
  }
}

TEST_F(HostLinkWin32, NoLockIsHeldWhileTheHostAnswers) {
  std::vector<DISPID> lockedDuring;
  host_->SetOnCall([&](DISPID member) {
    bool free = false;
    std::thread([&] {
      free = g_moduleLock.try_lock();
      if (free) g_moduleLock.unlock();
    }).join();
    if (!free) lockedDuring.push_back(member);
  });
  ASSERT_TRUE(link_.Connect());
  link_.SendCommand("<SP1>");
  link_.GetFrequency();
  link_.GetEnteredCall();
  link_.Disconnect();
  EXPECT_EQ(host_->AnsweredCalls(), 3);
  EXPECT_TRUE(lockedDuring.empty());
}

TEST_F(HostLinkWin32, AnotherThreadReachesTheHostWhileTheHostThreadPumps) {
  host_->SetFrequency(14085000.0);
  host_->SetEnteredCall("OH0XX");
  std::optional<double> frequency;
  std::optional<std::string> call;
  bool connected = false;
  OtherThread window([&] {
    connected = link_.Connect();
    link_.SendCommand("<SP1>");
    frequency = link_.GetFrequency();
    call = link_.GetEnteredCall();
    // What a thread does before it ends: its apartment, and with it the proxy, goes away.
    g_hostDispatch.ReleaseIfAttachedHere();
    CoUninitialize();
  });
  ASSERT_TRUE(window.FinishPumping());
  EXPECT_TRUE(connected);
  EXPECT_EQ(frequency, 14085000.0);
  EXPECT_EQ(call, std::optional<std::string>("OH0XX"));
  EXPECT_EQ(host_->Commands(), std::vector<std::string>{"<SP1>"});
}

TEST_F(HostLinkWin32, TheInterfaceServesOnlyTheThreadThatConnected) {
  ASSERT_TRUE(link_.Connect());
  std::optional<double> frequency = 1.0;
  std::optional<std::string> call = "";
  bool usable = true;
  OtherThread other([&] {
    CoInitialize(nullptr);
    usable = g_hostDispatch.IsUsableHere();
    link_.SendCommand("<SP1>");
    frequency = link_.GetFrequency();
    call = link_.GetEnteredCall();
    CoUninitialize();
  });
  ASSERT_TRUE(other.FinishPumping());
  EXPECT_FALSE(usable);
  EXPECT_EQ(frequency, std::nullopt);
  EXPECT_EQ(call, std::nullopt);
  EXPECT_EQ(host_->AnsweredCalls(), 0);
  // The connecting thread keeps its connection.
  link_.SendCommand("<MODE:RTTY>");
  link_.Disconnect();
  EXPECT_EQ(host_->Commands(), std::vector<std::string>{"<MODE:RTTY>"});
}

TEST_F(HostLinkWin32, DisconnectReleasesTheInterfaceWhenItEndsTheApartment) {
  // The host's thread had COM before: the interface outlives the connection.
  ASSERT_TRUE(link_.Connect());
  link_.Disconnect();
  EXPECT_TRUE(g_hostDispatch.IsUsableHere());
  g_hostDispatch.ReleaseIfAttachedHere();

  // A thread without COM of its own: its apartment ends with Disconnect.
  bool connected = false;
  bool usableAfter = true;
  OtherThread bare([&] {
    connected = link_.Connect();
    link_.SendCommand("<MODE:RTTY>");
    link_.Disconnect();
    usableAfter = g_hostDispatch.IsUsableHere();
  });
  ASSERT_TRUE(bare.FinishPumping());
  EXPECT_TRUE(connected);
  EXPECT_FALSE(usableAfter);
  EXPECT_EQ(host_->Commands(), std::vector<std::string>{"<MODE:RTTY>"});
}

TEST_F(HostLinkWin32, AHostThatWentAwayYieldsNothingToAnotherThread) {
  host_->SetFrequency(7030000.0);
  HANDLE connected = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE hostGone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ScopedHandle connectedOwner(connected), hostGoneOwner(hostGone);
  std::optional<double> before, after;
  std::optional<std::string> call = "";
  OtherThread window([&] {
    link_.Connect();
    before = link_.GetFrequency();
    SetEvent(connected);
    WaitForSingleObject(hostGone, kThreadTimeoutMs);
    link_.SendCommand("<SP1>");
    after = link_.GetFrequency();
    call = link_.GetEnteredCall();
    g_hostDispatch.ReleaseIfAttachedHere();
    CoUninitialize();
  });
  ASSERT_TRUE(PumpUntilSignalled(connected, kThreadTimeoutMs));
  // The host closes: its object leaves the table of running objects and cuts its clients off.
  running_->Revoke();
  CoDisconnectObject(static_cast<IDispatch*>(host_.get()), 0);
  SetEvent(hostGone);
  ASSERT_TRUE(window.FinishPumping());
  EXPECT_EQ(before, 7030000.0);
  EXPECT_EQ(after, std::nullopt);
  EXPECT_EQ(call, std::nullopt);
  EXPECT_TRUE(host_->Commands().empty());
}

TEST_F(HostLinkWin32, ATakeOverAfterTheConnectingThreadEndedCallsNothingOfIt) {
  OtherThread first([&] { link_.Connect(); });  // ends without releasing, apartment and all
  ASSERT_TRUE(first.FinishPumping());
  std::optional<double> stale = 1.0;
  OtherThread second([&] {
    CoInitialize(nullptr);
    stale = link_.GetFrequency();
    CoUninitialize();
  });
  ASSERT_TRUE(second.FinishPumping());
  EXPECT_EQ(stale, std::nullopt);
  host_->SetFrequency(28074000.0);
  ASSERT_TRUE(link_.Connect());
  EXPECT_EQ(link_.GetFrequency(), 28074000.0);
  link_.Disconnect();
}

}  // namespace
