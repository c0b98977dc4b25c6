#include "files/file_names.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace qv {

namespace {

// The pattern of pair `index`; empty when there is none.
std::string PatternOf(const std::string& filter, int index) {
  if (index < 0) return {};
  std::size_t start = 0;
  for (int field = 0; field < 2 * index + 1; ++field) {
    start = filter.find('|', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  return filter.substr(start, filter.find('|', start) - start);
}

// Where a path's file name starts.
std::size_t NameStart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// The extension of a path's file name, without its dot; empty when the name
// holds no dot.
std::string ExtensionOf(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  return dot == std::string::npos || dot < NameStart(path) ? std::string() : path.substr(dot + 1);
}

bool SameLetters(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

std::string FilterExtension(const std::string& filter, int index) {
  const std::string pattern = PatternOf(filter, index);
  if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0) return {};
  const std::string extension = pattern.substr(2);
  if (extension.find_first_of("*?;. ") != std::string::npos) return {};
  return extension;
}

std::string WithExtension(const std::string& typed, const std::string& extension) {
  if (extension.empty()) return typed;
  const std::string name = typed.substr(NameStart(typed));
  const std::string ending = "." + extension;
  if (name.size() >= ending.size() && SameLetters(name.substr(name.size() - ending.size()), ending)) return typed;
  return typed + (!name.empty() && name.back() == '.' ? extension : ending);
}

DialogStart StartOfDialog(const std::string& lastPath, const std::string& filter) {
  if (lastPath.empty()) return {};
  const std::filesystem::path last(lastPath);
  DialogStart start{last.parent_path().string(), {}};
  const std::string own = FilterExtension(filter, 0);
  if (!own.empty() && SameLetters(ExtensionOf(lastPath), own)) start.file = lastPath;
  return start;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace qv
