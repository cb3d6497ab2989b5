#include "stats_module.h"

StatsModule::StatsModule(const std::string& path) {
  m_module = LoadLibraryA(path.c_str());
  if (m_module == nullptr) {
    m_error = "LoadLibraryA(\"" + path + "\") failed with error " + std::to_string(GetLastError());
    return;
  }
  Resolve(GetNumberOfSets, "GetNumberOfSets");
  Resolve(GetSetName, "GetSetName");
  Resolve(GetExchgCount0, "GetExchgCount0");
  Resolve(IsValidExchg0, "IsValidExchg0");
  Resolve(ResetStats0, "ResetStats0");
  Resolve(AddData0, "AddData0");
  Resolve(RemoveData0, "RemoveData0");
  Resolve(CheckCall0, "CheckCall0");
  Resolve(GetResult0, "GetResult0");
  Resolve(SetupSet0, "SetupSet0");
}

StatsModule::~StatsModule() {
  if (m_module != nullptr) FreeLibrary(m_module);
}

template <typename Function>
void StatsModule::Resolve(Function& entry, const char* name) {
  // Through the generic function pointer type: FARPROC's own signature has nothing to do with
  // the entry point's.
  entry = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(m_module, name)));
  if (entry == nullptr && m_error.empty()) {
    m_error = std::string("the module does not export ") + name;
  }
}

std::string ProgramDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length < MAX_PATH ? length : 0);
  const std::size_t slash = directory.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
}
