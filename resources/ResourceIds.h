// Ids and type names of the program's resources. Included by the resource
// script too, so it holds only preprocessor-friendly definitions.
#pragma once

#define VELMORA_PNG_BACKDROP 101
#define VELMORA_PNG_SPLASH 102
#define VELMORA_ICON_FILE 101
#define VELMORA_GIF_LOGIN_MIN 101
#define VELMORA_GIF_LOGIN_CLOSE 102
#define VELMORA_BMP_MIN 101
#define VELMORA_BMP_MINMAX 102
#define VELMORA_BMP_CLOSE 103
#define VELMORA_BMP_TOOL 104
#define VELMORA_BMP_LOGO 105
#define VELMORA_BMP_TAB_SLANTED 106
#define VELMORA_BMP_TAB_ROUNDED 107
#define VELMORA_BMP_WINDOW_SKIN 108
#define VELMORA_BMP_ANSWER_BUTTONS 109
#define VELMORA_UPDATER 101

#ifndef RC_INVOKED
namespace res {
inline constexpr unsigned short kPngBackdrop = VELMORA_PNG_BACKDROP;
inline constexpr unsigned short kPngSplash = VELMORA_PNG_SPLASH;
inline constexpr unsigned short kIconFile = VELMORA_ICON_FILE;
inline constexpr unsigned short kGifLoginMin = VELMORA_GIF_LOGIN_MIN;
inline constexpr unsigned short kGifLoginClose = VELMORA_GIF_LOGIN_CLOSE;
inline constexpr unsigned short kBmpMin = VELMORA_BMP_MIN;
inline constexpr unsigned short kBmpMinMax = VELMORA_BMP_MINMAX;
inline constexpr unsigned short kBmpClose = VELMORA_BMP_CLOSE;
inline constexpr unsigned short kBmpTool = VELMORA_BMP_TOOL;
inline constexpr unsigned short kBmpLogo = VELMORA_BMP_LOGO;
inline constexpr unsigned short kBmpTabSlanted = VELMORA_BMP_TAB_SLANTED;
inline constexpr unsigned short kBmpTabRounded = VELMORA_BMP_TAB_ROUNDED;
inline constexpr unsigned short kBmpWindowSkin = VELMORA_BMP_WINDOW_SKIN;
inline constexpr unsigned short kBmpAnswerButtons = VELMORA_BMP_ANSWER_BUTTONS;
inline constexpr unsigned short kUpdater = VELMORA_UPDATER;
inline constexpr wchar_t kTypePng[] = L"PNG";
inline constexpr wchar_t kTypeIcon[] = L"ICON";
inline constexpr wchar_t kTypeGif[] = L"GIF";
inline constexpr wchar_t kTypeUpdate[] = L"UPDATE";
}  // namespace res
#endif
