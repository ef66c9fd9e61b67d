// The second signature on an update: a client that carries an Authenticode
// signature is replaced only by a package that carries a valid one from the
// same publisher, so that whoever would install a program of their own needs
// the operator's code-signing certificate as well as the update key.
#pragma once

#include <string>

namespace updater {

// True when `package` may replace `client` as far as code signing goes:
// `client` carries no Authenticode signature (nothing is asked of the
// package), or `package` carries a valid one whose signing certificate has the
// same subject as the client's. Otherwise false, and `why` says why.
bool SamePublisher(const std::wstring& client, const std::wstring& package, std::wstring& why);

}  // namespace updater
