// An outside program that opens a page in the client through its DDE topic,
// as an ANSI program would:
//   ddesend SERVICE TOPIC TEXT [COUNT]
// Exit 0: the client accepted the command; 3: it answered that it did not
// process it; 1: no conversation could be opened.
// With COUNT, a burst in one conversation: TEXT followed by 0, 1, ...
// COUNT-1, one execute each, as fast as the client answers. It prints how
// many were processed and refused; exit 0 when every one was answered either
// way, 4 when one was not (a time-out or a lost conversation).
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

std::string Ansi(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.data(), size, nullptr, nullptr);
  return ansi;
}
}  // namespace

int wmain(int argc, wchar_t** wargv) {
  if (argc < 4) return 2;
  const std::string args[] = {Ansi(wargv[1]), Ansi(wargv[2]), Ansi(wargv[3])};
  DWORD instance = 0;
  if (::DdeInitializeA(&instance, &Ignore, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 1;
  HSZ service = ::DdeCreateStringHandleA(instance, args[0].c_str(), CP_WINANSI);
  HSZ topic = ::DdeCreateStringHandleA(instance, args[1].c_str(), CP_WINANSI);
  HCONV conv = ::DdeConnect(instance, service, topic, nullptr);
  int code = 1;
  if (conv && argc > 4) {
    const int count = _wtoi(wargv[4]);
    int processed = 0, refused = 0;
    code = 0;
    for (int i = 0; i < count; ++i) {
      std::string text = args[2] + std::to_string(i);
      DWORD result = 0;
      if (::DdeClientTransaction(reinterpret_cast<BYTE*>(text.data()), static_cast<DWORD>(text.size() + 1), conv,
                                 nullptr, 0, XTYP_EXECUTE, 20000, &result)) {
        ++processed;
      } else if (::DdeGetLastError(instance) == DMLERR_NOTPROCESSED) {
        ++refused;
      } else {
        std::printf("execute %d not answered (DDEML error %u)\n", i, ::DdeGetLastError(instance));
        code = 4;
        break;
      }
    }
    std::printf("processed=%d refused=%d\n", processed, refused);
    ::DdeDisconnect(conv);
  } else if (conv) {
    std::string text = args[2];
    DWORD result = 0;
    HDDEDATA done = ::DdeClientTransaction(reinterpret_cast<BYTE*>(text.data()), static_cast<DWORD>(text.size() + 1),
                                           conv, nullptr, 0, XTYP_EXECUTE, 20000, &result);
    code = done ? 0 : 3;
    if (!done) std::printf("not processed (DDEML error %u)\n", ::DdeGetLastError(instance));
    ::DdeDisconnect(conv);
  } else {
    std::printf("no conversation (DDEML error %u)\n", ::DdeGetLastError(instance));
  }
  ::DdeFreeStringHandle(instance, service);
  ::DdeFreeStringHandle(instance, topic);
  ::DdeUninitialize(instance);
  return code;
}
