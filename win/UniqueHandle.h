// Move-only owners for Win32 handles: one traits type per kind of handle says
// what "no handle" is and how to release one.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

namespace win {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer h) noexcept : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  pointer get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::invalid(); }

  pointer release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(pointer h = Traits::invalid()) noexcept {
    pointer old = std::exchange(h_, h);
    if (old != Traits::invalid()) Traits::close(old);
  }
  // For out-parameters: releases what is held and exposes the slot.
  pointer* put() noexcept {
    reset();
    return &h_;
  }

 private:
  pointer h_ = Traits::invalid();
};

template <typename T, auto Close, T Invalid = T{}>
struct HandleTraits {
  using type = T;
  static constexpr type invalid() noexcept { return Invalid; }
  static void close(type h) noexcept { Close(h); }
};

namespace detail {
inline void CloseFile(HANDLE h) noexcept { ::CloseHandle(h); }
inline void DeleteGdi(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void DeleteDc(HDC h) noexcept { ::DeleteDC(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void CloseInternet(HINTERNET h) noexcept { ::InternetCloseHandle(h); }
inline void FreeGlobal(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void DestroyWnd(HWND h) noexcept { ::DestroyWindow(h); }
inline void DestroyMenuHandle(HMENU h) noexcept { ::DestroyMenu(h); }
inline void CloseEventLog(HANDLE h) noexcept { ::DeregisterEventSource(h); }
inline void ReleaseModule(HMODULE h) noexcept { ::FreeLibrary(h); }
}  // namespace detail

struct FileTraits {
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type h) noexcept { ::CloseHandle(h); }
};

using UniqueFile = UniqueHandle<FileTraits>;
using UniqueKernelHandle = UniqueHandle<HandleTraits<HANDLE, detail::CloseFile>>;
using UniqueHbitmap = UniqueHandle<HandleTraits<HBITMAP, detail::DeleteGdi>>;
using UniqueHfont = UniqueHandle<HandleTraits<HFONT, detail::DeleteGdi>>;
using UniqueHrgn = UniqueHandle<HandleTraits<HRGN, detail::DeleteGdi>>;
using UniqueHbrush = UniqueHandle<HandleTraits<HBRUSH, detail::DeleteGdi>>;
using UniqueHdc = UniqueHandle<HandleTraits<HDC, detail::DeleteDc>>;
using UniqueHicon = UniqueHandle<HandleTraits<HICON, detail::DestroyIconHandle>>;
using UniqueHinternet = UniqueHandle<HandleTraits<HINTERNET, detail::CloseInternet>>;
using UniqueHglobal = UniqueHandle<HandleTraits<HGLOBAL, detail::FreeGlobal>>;
using UniqueHwnd = UniqueHandle<HandleTraits<HWND, detail::DestroyWnd>>;
using UniqueHmenu = UniqueHandle<HandleTraits<HMENU, detail::DestroyMenuHandle>>;
using UniqueHmodule = UniqueHandle<HandleTraits<HMODULE, detail::ReleaseModule>>;
using UniqueEventSource = UniqueHandle<HandleTraits<HANDLE, detail::CloseEventLog>>;

}  // namespace win
