// The game's sound while the boss key hides the game window. The page views
// play through the process's own audio session (its default session on the
// default playback device); a hide mutes that session and the next show
// unmutes it, unless the player had muted it before the hide.
#pragma once

#include <windows.h>

#include "win/ComPtr.h"

struct ISimpleAudioVolume;  // <audiopolicy.h>

namespace mainwindow {

// Mutes the session; when it cannot (no playback device), the window hides
// all the same and the program's log says so.
void SilenceSound();
// Unmutes the session if SilenceSound muted it.
void RestoreSound();
// The main window unloads: the sound comes back and the session is let go.
void ReleaseSound();

// The session that hides and shows work on: looked up on first use and kept,
// so that each works on the same one (null when there is none; `failure`
// then says why).
win::ComPtr<ISimpleAudioVolume> SoundSession(HRESULT* failure = nullptr);

}  // namespace mainwindow
