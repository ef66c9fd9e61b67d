// The tab strip's drawing helpers: memory device contexts that own their
// bitmaps, border-keeping stretched copies, transparent copies, text in a box
// and the style change of an attached page. Stateless; everything they make
// is owned by the RAII type they return, so nothing is released by hand.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "win/Gdi.h"

namespace tabstrip::mdlTabAPI {

// A memory device context of width x height, compatible with the screen, with
// a bitmap of its own selected in. Throws win::Win32Error naming the call that
// failed: "GetDC调用失败", "CreateCompatibleBitmap调用失败" or
// "CreateCompatibleDC调用失败".
win::MemoryBitmapDC CreateMemDC(int width, int height);

// A memory device context that owns `bitmap` (e.g. a skin from the resources)
// and has it selected in. Throws as CreateMemDC ("GetDC调用失败",
// "CreateCompatibleDC调用失败"); the bitmap is deleted then too.
win::MemoryBitmapDC CreateBitmapDC(HBITMAP bitmap);

// Releases the context and the bitmap it holds (what its destructor does).
void DeleteMemDC(win::MemoryBitmapDC& dc) noexcept;

// Draws the source rectangle (sx, sy, sw, sh) into the destination rectangle
// (x, y, w, h), keeping its border bands (left, top, right, bottom) at their
// size and stretching the rest. With a transparent colour, pixels of that
// colour leave the destination as it was. Returns the result of the final
// copy; 0, with nothing drawn, when any size is 0 or less.
BOOL DrawSlices(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, int left, int top,
                int right, int bottom, std::optional<COLORREF> transparent = std::nullopt);

// The w x h picture DrawSlices copies: the source rectangle with its border
// bands kept and the rest stretched. Empty when any size is 0 or less.
win::MemoryBitmapDC StretchSlices(int w, int h, HDC source, int sx, int sy, int sw, int sh, int left, int top,
                                  int right, int bottom);

// A picture with one colour left out, drawn in two block copies (the mask
// clears where the picture goes, the picture with black where its colour was
// is laid in): what TransparentCopy draws, without the temporary mask that
// call makes each time.
struct KeyedPicture {
  win::MemoryBitmapDC picture;  // black where the left-out colour was
  win::MemoryBitmapDC mask;     // black where the picture shows, white elsewhere
  int width = 0, height = 0;
};

// The width x height block at (sx, sy) of `source` with `colour` left out.
// Throws as CreateMemDC.
KeyedPicture KeyOut(HDC source, int sx, int sy, int width, int height, COLORREF colour);

// Draws the picture at (x, y); pixels of its left-out colour leave the
// destination as it was.
void DrawKeyed(HDC dest, int x, int y, const KeyedPicture& keyed);

// Whether the picture shows in every pixel of the rectangle [x0, x1) x [y0, y1)
// (no pixel of its left-out colour there). False for a rectangle not wholly
// inside the picture.
bool ShowsEverywhere(const KeyedPicture& keyed, int x0, int y0, int x1, int y1);

// Copies a width x height block one to one, leaving out pixels of `colour`.
bool TransparentCopy(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, COLORREF colour);

// Draws `text` into the rectangle (x, y, x + width, y + height) with the
// DrawText `format` flags. The text is drawn as UTF-16, so captions that no
// ANSI code page holds draw too. Returns what DrawText returns.
int DrawTextInBox(HDC dc, std::wstring_view text, int x, int y, int width, int height, UINT format);

// Clears then sets bits of a window's style word (GWL_STYLE or GWL_EXSTYLE);
// writes it only when it changes, and then, when positionFlags is not 0,
// refreshes the frame with SetWindowPos (no move, size, z-order change or
// activation added to those flags). Always returns false.
bool ModifyWindowStyle(HWND hwnd, int index, LONG_PTR clear, LONG_PTR set, UINT positionFlags);

}  // namespace tabstrip::mdlTabAPI
