// The shell's services, with the shell library loaded when first asked for
// rather than at start-up: it is large, and nothing of it is needed to start.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace win {

// Opens a file, a program or an address as the shell would ("open"); false
// when the shell is missing or refused.
bool ShellOpen(const wchar_t* file, const wchar_t* parameters = nullptr);

// Shell_NotifyIconW; FALSE when the shell is missing.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data);

}  // namespace win
