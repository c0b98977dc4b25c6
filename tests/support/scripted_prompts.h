#pragma once
// Message boxes and file dialogs answered from a script, with a record of
// every box shown.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/prompts.h"

namespace qv::test {

class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    std::string kind;  // "message", "question", "open", "save"
    std::string text;  // the box's text, or the dialog's filter
    std::string title;
    std::string proposed;  // the name a save dialog was asked to propose
    std::string source;    // the file a save dialog was told its save is made from
  };

  // Answers given in order; when a queue is empty a question is answered OK
  // and a file dialog is cancelled.
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> openFiles;
  std::deque<std::optional<std::string>> saveFiles;

  std::vector<Shown> shown;
  std::vector<std::string> Messages() const;  // texts of the OK boxes
  void Clear() { shown.clear(); }

  void Message(const std::string& text, const std::string& title = {}) override;
  Answer Question(const std::string& text, const std::string& title) override;
  std::optional<std::string> OpenFile(const std::string& filter) override;
  std::optional<std::string> SaveFile(const std::string& filter, const std::string& proposed = {},
                                       const std::string& source = {}) override;
};

}  // namespace qv::test
