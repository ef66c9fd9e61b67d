// One JSON object a line, for the logs of the tests' stand-ins (the browser
// control's, the WebView2 runtime's): JSON strings from UTF-16 text, and lines
// appended to the file an environment variable names.
#pragma once

#include <string>
#include <string_view>

namespace testlog {

// Appends `text` to `out` as a JSON string, quotes included (UTF-16 in,
// UTF-8 out, a lone surrogate as U+FFFD).
void AppendJsonString(std::string& out, std::wstring_view text);

// Appends `line` (a newline is added) to the file the environment variable
// `variable` names now: a Windows path, or a Unix one taken through drive Z:.
// The file is opened for each line, for appending only, so that every line
// lands whole at the end whoever else (another process) writes there, and a
// file a test has deleted meanwhile is made again. No variable: nothing.
void AppendLine(const wchar_t* variable, std::string_view line);

}  // namespace testlog
