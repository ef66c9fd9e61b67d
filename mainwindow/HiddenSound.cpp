#include "mainwindow/HiddenSound.h"

#include <windows.h>
// The audio interfaces' ids are not in the uuid library: defined here, once
// for the program (selectany).
#include <initguid.h>
#include <audiopolicy.h>
#include <mmdeviceapi.h>

#include <cwchar>
#include <string>

#include "forms/Program.h"

namespace mainwindow {

namespace {
win::ComPtr<ISimpleAudioVolume> g_session;
// True while the session is muted by a hide rather than by the player.
bool g_mutedByHide = false;

// This process's session (GUID_NULL, not shared with other processes) on the
// default playback device.
HRESULT LookUpSession(win::ComPtr<ISimpleAudioVolume>& volume) {
  win::ComPtr<IMMDeviceEnumerator> devices;
  HRESULT hr = ::CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, IID_IMMDeviceEnumerator,
                                  devices.put_void());
  win::ComPtr<IMMDevice> device;
  if (SUCCEEDED(hr)) hr = devices->GetDefaultAudioEndpoint(eRender, eConsole, device.put());
  win::ComPtr<IAudioSessionManager> sessions;
  if (SUCCEEDED(hr)) hr = device->Activate(IID_IAudioSessionManager, CLSCTX_INPROC_SERVER, nullptr, sessions.put_void());
  if (SUCCEEDED(hr)) hr = sessions->GetSimpleAudioVolume(&GUID_NULL, FALSE, volume.put());
  return hr;
}

void Failed(const wchar_t* what, HRESULT hr) {
  // A device that went away: the next hide looks the session up again.
  g_session.reset();
  wchar_t code[12];
  std::swprintf(code, 12, L"%08lX", static_cast<unsigned long>(hr));
  forms::Program::Log(std::wstring(L"sound: the game's sound could not be ") + what + L" (" + code + L")");
}
}  // namespace

win::ComPtr<ISimpleAudioVolume> SoundSession(HRESULT* failure) {
  HRESULT hr = S_OK;
  if (!g_session) hr = LookUpSession(g_session);
  if (failure) *failure = hr;
  return g_session;
}

void SilenceSound() {
  HRESULT hr = S_OK;
  win::ComPtr<ISimpleAudioVolume> session = SoundSession(&hr);
  BOOL muted = FALSE;
  if (SUCCEEDED(hr)) hr = session->GetMute(&muted);
  if (SUCCEEDED(hr) && !muted) hr = session->SetMute(TRUE, nullptr);
  if (FAILED(hr)) return Failed(L"silenced", hr);
  if (!muted) g_mutedByHide = true;
}

void RestoreSound() {
  if (!g_mutedByHide) return;
  g_mutedByHide = false;
  HRESULT hr = S_OK;
  win::ComPtr<ISimpleAudioVolume> session = SoundSession(&hr);
  if (SUCCEEDED(hr)) hr = session->SetMute(FALSE, nullptr);
  if (FAILED(hr)) Failed(L"given back", hr);
}

void ReleaseSound() {
  RestoreSound();
  g_session.reset();
}

}  // namespace mainwindow
