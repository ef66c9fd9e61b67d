// A DDE source: the program offers one topic under its service name, and an
// outside program's execute string on that topic is raised as Execute. The
// topic is served through DDEML on the user-interface thread; one topic in
// the program at a time.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>

#include "forms/Event.h"

namespace mainwindow {

// The service the main window's topic is offered under: the program's name.
inline constexpr wchar_t kDdeService[] = L"Velmora";
inline constexpr wchar_t kDdeTopic[] = L"OrvaneDDE";

class DdeTopic {
 public:
  DdeTopic() = default;
  ~DdeTopic();
  DdeTopic(const DdeTopic&) = delete;
  DdeTopic& operator=(const DdeTopic&) = delete;

  // Registers the service and starts answering on the topic; false when DDEML
  // refused (the topic is then simply absent).
  bool Start(const wchar_t* service, const wchar_t* topic);
  void Stop();

  // The address an execute string carried; accepted = false answers the
  // client that the command was not processed.
  forms::Event<const std::wstring& /*address*/, bool& /*accepted*/> Execute;

 private:
  static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                    ULONG_PTR data1, ULONG_PTR data2);
  HDDEDATA OnExecute(HDDEDATA data);

  DWORD instance_ = 0;
  HSZ service_ = nullptr;
  HSZ topic_ = nullptr;
};

}  // namespace mainwindow
