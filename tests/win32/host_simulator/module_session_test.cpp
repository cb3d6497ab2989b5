// Stats.dll loaded by the simulated host, as the host loads it: the mode commands it sends
// through the host's automation object, what it holds of that object, and what loading it
// leaves behind (no file, no window).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation_host.h"
#include "operator.h"
#include "stats_module.h"

namespace {

const std::vector<std::string> kModeCommands = {"<MODE:RTTY>", "<BAUDRATE:45.45>"};

std::vector<std::string> Twice(const std::vector<std::string>& commands) {
  std::vector<std::string> twice = commands;
  twice.insert(twice.end(), commands.begin(), commands.end());
  return twice;
}

class ModuleSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(RegisterHostProgId());
    host_ = SimulatedHost::Create();
  }
  void TearDown() override {
    running_.reset();
    host_.Reset();
    RegisterHostProgId();
    CoUninitialize();
  }

  void StartHost() {
    running_ = std::make_unique<RunningHost>(*host_.get());
    ASSERT_TRUE(running_->IsRunning());
  }

  static std::unique_ptr<StatsModule> Load() {
    auto module = std::make_unique<StatsModule>(ProgramDirectory() + "Stats.dll");
    EXPECT_TRUE(module->IsLoaded()) << module->Error();
    return module;
  }

  // Unloads and makes sure the library really left the process: the next Load starts afresh.
  static void Unload(std::unique_ptr<StatsModule>& module) {
    module.reset();
    EXPECT_EQ(GetModuleHandleA("Stats.dll"), nullptr);
  }

  ComPtr<SimulatedHost> host_;
  std::unique_ptr<RunningHost> running_;
};

TEST_F(ModuleSession, ModeCommandsAreSentOncePerLoad) {
  StartHost();
  std::unique_ptr<StatsModule> module = Load();
  ASSERT_TRUE(module->IsLoaded());
  for (int i = 0; i < 3; ++i) EXPECT_NE(module->GetResult0(nullptr), nullptr);
  EXPECT_EQ(host_->Commands(), kModeCommands);
  Unload(module);

  module = Load();
  ASSERT_TRUE(module->IsLoaded());
  module->GetResult0(nullptr);
  module->GetResult0(nullptr);
  Unload(module);
  EXPECT_EQ(host_->Commands(), Twice(kModeCommands));
  EXPECT_EQ(host_->ProtocolErrors(), 0);
}

TEST_F(ModuleSession, WithoutARunningHostTheCommandsWaitForIt) {
  struct Case {
    const char* what;
    bool registered;
  };
  for (const Case c : {Case{"not running", true}, Case{"not registered", false}}) {
    host_ = SimulatedHost::Create();
    if (!c.registered) {
      ASSERT_TRUE(UnregisterHostProgId());
    }
    std::unique_ptr<StatsModule> module = Load();
    ASSERT_TRUE(module->IsLoaded());
    module->GetResult0(nullptr);
    module->GetResult0(nullptr);
    EXPECT_TRUE(host_->Commands().empty()) << c.what;

    ASSERT_TRUE(RegisterHostProgId());
    StartHost();
    module->GetResult0(nullptr);
    EXPECT_EQ(host_->Commands(), kModeCommands) << c.what;
    module->GetResult0(nullptr);
    EXPECT_EQ(host_->Commands(), kModeCommands) << c.what;
    Unload(module);
    running_.reset();
  }
}

TEST_F(ModuleSession, UnloadReleasesTheHostObject) {
  StartHost();
  const LONG before = host_->References();
  std::unique_ptr<StatsModule> module = Load();
  ASSERT_TRUE(module->IsLoaded());
  module->GetResult0(nullptr);
  EXPECT_EQ(host_->References(), before + 1);
  Unload(module);
  EXPECT_EQ(host_->References(), before);
}

TEST_F(ModuleSession, AFailingHostNeitherEndsNorStallsTheCall) {
  for (const HRESULT failure : {DISP_E_EXCEPTION, RPC_E_DISCONNECTED, RPC_E_SERVERFAULT}) {
    running_.reset();
    host_ = SimulatedHost::Create();
    StartHost();
    host_->FailEveryCall(failure);
    std::unique_ptr<StatsModule> module = Load();
    ASSERT_TRUE(module->IsLoaded());
    const ULONGLONG start = GetTickCount64();
    EXPECT_NE(module->GetResult0(nullptr), nullptr) << std::hex << failure;
    EXPECT_NE(module->GetResult0(nullptr), nullptr) << std::hex << failure;
    EXPECT_LT(GetTickCount64() - start, 2000u) << std::hex << failure;
    // Both commands were tried once; a refused command is not tried again.
    EXPECT_EQ(host_->FailedCalls(), 2) << std::hex << failure;
    EXPECT_TRUE(host_->Commands().empty()) << std::hex << failure;
    Unload(module);
  }
}

TEST_F(ModuleSession, AHostThatClosedWhileConnectedIsLetGoAtUnload) {
  StartHost();
  std::unique_ptr<StatsModule> module = Load();
  ASSERT_TRUE(module->IsLoaded());
  module->GetResult0(nullptr);
  // The host closes its object and drops it; the module holds the last reference.
  running_.reset();
  CoDisconnectObject(static_cast<IDispatch*>(host_.get()), 0);
  SimulatedHost* raw = host_.get();
  raw->AddRef();
  host_.Reset();
  EXPECT_EQ(raw->Release(), 1u);
  EXPECT_NE(module->GetResult0(nullptr), nullptr);
  Unload(module);
}

// A folder of its own, made the current directory for the lifetime of the object.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "stats_load_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(m_path.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, m_previous);
    SetCurrentDirectoryA(m_path.c_str());
  }
  ~ScratchDirectory() {
    SetCurrentDirectoryA(m_previous);
    for (const std::string& name : Entries()) DeleteFileA((m_path + "\\" + name).c_str());
    RemoveDirectoryA(m_path.c_str());
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

 private:
  std::string m_path;
  char m_previous[MAX_PATH] = {};
};

std::vector<HWND> Handles(const std::vector<TopLevelWindow>& windows) {
  std::vector<HWND> handles;
  for (const TopLevelWindow& window : windows) handles.push_back(window.window);
  return handles;
}

TEST_F(ModuleSession, LoadingOpensNoFileAndShowsNoWindow) {
  ScratchDirectory scratch;
  const std::vector<HWND> before = Handles(ProcessTopLevelWindows(/*visibleOnly=*/false));
  std::unique_ptr<StatsModule> module = Load();
  ASSERT_TRUE(module->IsLoaded());
  EXPECT_EQ(module->GetNumberOfSets(), 1);
  EXPECT_STREQ(module->GetSetName(0), "SKOLP-NY-RTTY (C)");
  EXPECT_EQ(Handles(ProcessTopLevelWindows(/*visibleOnly=*/false)), before);
  EXPECT_TRUE(scratch.Entries().empty());
  Unload(module);
  EXPECT_TRUE(scratch.Entries().empty());
}

}  // namespace
