// Stats.dll loaded the way the host loads a contest module: LoadLibraryA, the ten entry points
// looked up by their plain export names, FreeLibrary at the end.
#pragma once

#include <windows.h>

#include <string>

#include "frame/entry_points.h"

class StatsModule {
 public:
  // Loads the module at `path`; see IsLoaded and Error.
  explicit StatsModule(const std::string& path);
  StatsModule(const StatsModule&) = delete;
  StatsModule& operator=(const StatsModule&) = delete;
  // Unloads it (FreeLibrary).
  ~StatsModule();

  // True when the library loaded and exports all ten names.
  bool IsLoaded() const { return m_error.empty(); }
  // Why it is not loaded.
  const std::string& Error() const { return m_error; }
  HMODULE Handle() const { return m_module; }

  // The entry points, named by their plain export names, typed by the module's own
  // declarations. Null when the module is not loaded.
  decltype(&::GetNumberOfSets) GetNumberOfSets = nullptr;
  decltype(&::GetSetName) GetSetName = nullptr;
  decltype(&::StatsGetExchgCount0) GetExchgCount0 = nullptr;
  decltype(&::StatsIsValidExchg0) IsValidExchg0 = nullptr;
  decltype(&::ResetStats0) ResetStats0 = nullptr;
  decltype(&::AddData0) AddData0 = nullptr;
  decltype(&::RemoveData0) RemoveData0 = nullptr;
  decltype(&::CheckCallFunc0) CheckCall0 = nullptr;
  decltype(&::GetResult0) GetResult0 = nullptr;
  decltype(&::SetupSet0) SetupSet0 = nullptr;

 private:
  template <typename Function>
  void Resolve(Function& entry, const char* name);

  HMODULE m_module = nullptr;
  std::string m_error;
};

// The folder of the running program, with a trailing backslash: the build puts Stats.dll
// there.
std::string ProgramDirectory();
