// Whole-file writes that never leave a half-written file behind.
#pragma once

#include <span>
#include <string>

namespace win {

// Writes `bytes` to a sibling temporary file of this process's own and then
// moves it over `path`, so `path` holds either its old content or exactly
// `bytes`; the temporary file never stays behind. Several processes may write
// the same file at once. Throws Win32Error naming the file.
void ReplaceFileContents(const std::wstring& path, std::span<const std::byte> bytes);

}  // namespace win
