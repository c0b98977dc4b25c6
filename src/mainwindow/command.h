#pragma once
// A user command: what one menu item, button press or release, list choice,
// slider release, check box click or drop does. Within a command each MIDI
// error box (same operation words, same code) shows once.
//
// Every handler that a user's action runs is connected through AsCommand:
//   connect(action, &QAction::triggered, this, AsCommand(session, [this] { ... }));
// Commands nest: a handler that runs another handler stays one command.

#include <type_traits>
#include <utility>

#include "editor/session.h"

namespace qv {

// Calls `handler` with the signal's arguments when it takes them, else with none.
template <typename F, typename... Args>
void CallHandler(F& handler, [[maybe_unused]] Args&&... args) {
  if constexpr (std::is_invocable_v<F&, Args&&...>)
    handler(std::forward<Args>(args)...);
  else
    handler();
}

// `handler` wrapped so that each call is one command of the editor. The
// wrapper takes whatever the signal carries and passes it on when the
// handler wants it.
template <typename F>
auto AsCommand(Session& editor, F handler) {
  return [&editor, handler = std::move(handler)](auto&&... args) mutable {
    Session::CommandScope command(editor);
    CallHandler(handler, std::forward<decltype(args)>(args)...);
  };
}

}  // namespace qv
