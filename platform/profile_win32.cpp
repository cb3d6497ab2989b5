// kernel32's private-profile functions behind ProfileStore, and the module's default store in
// a Windows build.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/profile.h"

namespace {

class Kernel32Store final : public ProfileStore {
 public:
  std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue,
                   std::string_view file) override {
    char buffer[kBufferSize] = {};
    GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(defaultValue).c_str(), buffer, kBufferSize,
                             std::string(file).c_str());
    return buffer;
  }

  bool Write(std::string_view section, std::string_view key, std::string_view value,
             std::string_view file) override {
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                      std::string(value).c_str(),
                                      std::string(file).c_str()) != FALSE;
  }
};

}  // namespace

ProfileStore& Kernel32ProfileStore() {
  static Kernel32Store store;
  return store;
}

ProfileStore& DefaultProfileStore() { return Kernel32ProfileStore(); }
