#pragma once
// A new empty folder of its own under the system's temporary folder, for one
// test: tests that run side by side never share one.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace qv::test {

inline std::filesystem::path NewTempFolder(const std::string& prefix) {
  std::string name = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (!mkdtemp(name.data())) throw std::runtime_error("no temporary folder for " + prefix);
  return name;
}

}  // namespace qv::test
