// The commands a login page gives the client by navigating to "app://"
// addresses. The tests are made on the whole address text, case-sensitively,
// in this order, and the first that matches wins:
//   contains "app://exitgame"  close the client
//   contains "app://minimize"  minimise the login screen
//   contains "app://loadgame"  open the game: the address is split at every
//                              "|" and the second field is the game address
// Anything else is an ordinary navigation. Fields are used as the browser
// reports them; nothing is decoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class AppCommandKind { None, ExitGame, Minimize, LoadGame };

struct AppCommand {
  AppCommandKind kind = AppCommandKind::None;
  // For LoadGame: the game address; empty when the address names none (no
  // "|" field, or an empty one), which the login window refuses.
  std::wstring gameAddress;
};

AppCommand InterpretAppCommand(std::wstring_view url);

// Splits at every separator, keeping empty fields ("a||b" gives 3 fields).
std::vector<std::wstring> SplitFields(std::wstring_view text, wchar_t separator);

}  // namespace app
