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
  // It opens on the last file chosen in any dialog when that file has the
  // extension of the filter's first pair, otherwise on its folder.
  virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
  // A save dialog; nothing when cancelled. It opens on `proposed` when given,
  // otherwise as an open dialog does. A name typed without the extension the
  // chosen pair names, if it names one, gets it (see WithExtension), and the
  // question before replacing a file names the file as it will be written.
  // `source` is the file the save is made from, which it never replaces: a
  // name leading to it is handed back without that question, for the caller
  // to refuse.
  virtual std::optional<std::string> SaveFile(const std::string& filter, const std::string& proposed = {},
                                               const std::string& source = {}) = 0;
};

}  // namespace qv
