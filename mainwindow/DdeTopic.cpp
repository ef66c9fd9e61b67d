#include "mainwindow/DdeTopic.h"

#include <vector>

#include "forms/Program.h"
#include "mainwindow/DdeText.h"

namespace mainwindow {

namespace {
// DDEML's callback carries no pointer of ours: the one running topic.
DdeTopic* g_topic = nullptr;

std::wstring DecodeExecute(const std::vector<unsigned char>& bytes) {
  if (LooksLikeUtf16(bytes.data(), bytes.size())) {
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  }
  const int size = static_cast<int>(bytes.size());
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  const int chars = ::MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(chars), L'\0');
  if (chars > 0) ::MultiByteToWideChar(CP_ACP, 0, text, size, wide.data(), chars);
  return wide;
}
}  // namespace

DdeTopic::~DdeTopic() { Stop(); }

bool DdeTopic::Start(const wchar_t* service, const wchar_t* topic) {
  Stop();
  const DWORD flags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                      CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
  if (::DdeInitializeW(&instance_, &DdeTopic::Callback, flags, 0) != DMLERR_NO_ERROR) {
    instance_ = 0;
    forms::Program::Log(L"DDE: the topic cannot be offered (DdeInitialize failed)");
    return false;
  }
  g_topic = this;
  service_ = ::DdeCreateStringHandleW(instance_, service, CP_WINUNICODE);
  topic_ = ::DdeCreateStringHandleW(instance_, topic, CP_WINUNICODE);
  if (!service_ || !topic_ || !::DdeNameService(instance_, service_, nullptr, DNS_REGISTER)) {
    forms::Program::Log(L"DDE: the service name cannot be registered");
    Stop();
    return false;
  }
  return true;
}

void DdeTopic::Stop() {
  if (!instance_) return;
  if (service_) ::DdeNameService(instance_, service_, nullptr, DNS_UNREGISTER);
  if (service_) ::DdeFreeStringHandle(instance_, service_);
  if (topic_) ::DdeFreeStringHandle(instance_, topic_);
  ::DdeUninitialize(instance_);
  instance_ = 0;
  service_ = topic_ = nullptr;
  if (g_topic == this) g_topic = nullptr;
}

HDDEDATA CALLBACK DdeTopic::Callback(UINT type, UINT, HCONV, HSZ hsz1, HSZ, HDDEDATA data, ULONG_PTR,
                                     ULONG_PTR) {
  DdeTopic* self = g_topic;
  if (!self) return nullptr;
  switch (type) {
    case XTYP_CONNECT:
      // hsz1 the topic; DDEML has already matched the service (hsz2) to the registered name.
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(::DdeCmpStringHandles(hsz1, self->topic_) == 0));
    case XTYP_EXECUTE:
      if (::DdeCmpStringHandles(hsz1, self->topic_) != 0) return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
      return self->OnExecute(data);
  }
  return nullptr;
}

HDDEDATA DdeTopic::OnExecute(HDDEDATA data) {
  const DWORD size = ::DdeGetData(data, nullptr, 0, 0);
  std::vector<unsigned char> bytes(size);
  if (size) ::DdeGetData(data, bytes.data(), size, 0);
  const std::optional<std::wstring> address = ExecuteAddress(DecodeExecute(bytes));
  if (!address) {
    forms::Program::Log(L"DDE: an execute string that is no address was refused");
    return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
  }
  bool accepted = true;
  const bool ran = forms::RunHandler(L"DDE execute", [&] { Execute(*address, accepted); });
  return reinterpret_cast<HDDEDATA>(ran && accepted ? DDE_FACK : DDE_FNOTPROCESSED);
}

}  // namespace mainwindow
