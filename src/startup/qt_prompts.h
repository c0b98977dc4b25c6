#pragma once
// Message boxes and file dialogs of the windows.

#include <QFileDialog>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "link/prompts.h"

namespace qv {

// "Text (*.ext)|*.ext|Other (*.a;*.b)|*.a;*.b" -> "Text (*.ext);;Other (*.a *.b)";
// the pattern "*.*" becomes "*".
QString QtFileFilter(const std::string& filter);

class QtPrompts : public Prompts {
 public:
  // Boxes and dialogs are centred on `parent` (the active window when none).
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

  void Message(const std::string& text, const std::string& title = {}) override;
  Answer Question(const std::string& text, const std::string& title) override;
  std::optional<std::string> OpenFile(const std::string& filter) override;
  std::optional<std::string> SaveFile(const std::string& filter, const std::string& proposed = {},
                                       const std::string& source = {}) override;

 private:
  QWidget* Parent() const;
  std::optional<std::string> RunFileDialog(QFileDialog::AcceptMode mode, const std::string& filter,
                                          const std::string& proposed, const std::string& source);
  QPointer<QWidget> parent_;
  std::string lastPath_;  // the last choice in any dialog
};

}  // namespace qv
