#pragma once
// Message boxes and file dialogs. The windows use a Qt implementation; tests
// answer them from a script.

#include <optional>
#include <string>

namespace qv {

inline constexpr const char* kAppTitle = "CS2x Quorvane";

class Prompts {
 public:
  enum class Answer { Ok, Cancel };

  virtual ~Prompts() = default;
  // A box with an OK button. An empty title means the application's title.
  virtual void Message(const std::string& text, const std::string& title = {}) = 0;
  // A question with OK and Cancel and the question icon; closing the box is Cancel.
  virtual Answer Question(const std::string& text, const std::string& title) = 0;
  // An open dialog; nothing when cancelled. filter is "Text (*.ext)|*.ext".
  virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
  // A save dialog; nothing when cancelled.
  virtual std::optional<std::string> SaveFile(const std::string& filter) = 0;
};

}  // namespace qv
