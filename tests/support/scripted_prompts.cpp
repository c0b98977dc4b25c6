#include "scripted_prompts.h"

namespace qv::test {

std::vector<std::string> ScriptedPrompts::Messages() const {
  std::vector<std::string> out;
  for (const auto& s : shown)
    if (s.kind == "message") out.push_back(s.text);
  return out;
}

void ScriptedPrompts::Message(const std::string& text, const std::string& title) {
  shown.push_back({"message", text, title, {}, {}});
}

Prompts::Answer ScriptedPrompts::Question(const std::string& text, const std::string& title) {
  shown.push_back({"question", text, title, {}, {}});
  if (answers.empty()) return Answer::Ok;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> ScriptedPrompts::OpenFile(const std::string& filter) {
  shown.push_back({"open", filter, {}, {}, {}});
  if (openFiles.empty()) return std::nullopt;
  auto f = openFiles.front();
  openFiles.pop_front();
  return f;
}

std::optional<std::string> ScriptedPrompts::SaveFile(const std::string& filter, const std::string& proposed,
                                                    const std::string& source) {
  shown.push_back({"save", filter, {}, proposed, source});
  if (saveFiles.empty()) return std::nullopt;
  auto f = saveFiles.front();
  saveFiles.pop_front();
  return f;
}

}  // namespace qv::test
