#include "mainwindow/registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qv {

void RegistryValueText(std::uint32_t type, std::string raw, std::string& value) {
  if (!raw.empty() && raw.back() == '\0') raw.pop_back();
  if (type == kRegString) {
    value = raw;
  } else if (type == kRegDword) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "&h";
    for (auto it = raw.rbegin(); it != raw.rend(); ++it) {
      const auto b = static_cast<unsigned char>(*it);
      if (b >= 16) text += kDigits[b >> 4];
      text += kDigits[b & 0x0F];
    }
    value = text;
  }
}

#ifdef _WIN32

bool ReadRegistryValue(std::uint32_t rootKey, const std::string& keyName, const std::string& valueName,
                       std::string& value) {
  HKEY key = nullptr;
  // Read access is all a lookup needs; asking for more fails for users
  // without administrator rights. The predefined roots are sign-extended
  // handles, as the system headers define them.
  const HKEY root = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(rootKey)));
  if (RegOpenKeyExA(root, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    value.clear();
    return false;
  }
  char buffer[1024];
  DWORD type = 0;
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) !=
      ERROR_SUCCESS) {
    value.clear();
    RegCloseKey(key);
    return false;
  }
  RegistryValueText(type, std::string(buffer, size), value);
  RegCloseKey(key);
  return true;
}

#else

bool ReadRegistryValue(std::uint32_t, const std::string&, const std::string&, std::string& value) {
  value.clear();
  return false;
}

#endif

}  // namespace qv
