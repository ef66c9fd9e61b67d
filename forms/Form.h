// A form: one top-level window with the life cycle the rest of the program is
// written against. Load creates the window and runs Form_Load, then
// Form_Resize unless Form_Load already changed the size; Unload asks
// Form_QueryUnload and Form_Unload (either may cancel) and destroys the window;
// the same object can be loaded again. At log-off or shutdown the system's
// question is answered by Form_QueryUnload (UnloadMode::AppWindows), and the
// form unloads when the session ends. One instance of each form exists, reached
// through TheForm<T>(), which creates it and runs Form_Initialize on first use.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/Label.h"
#include "forms/Surface.h"
#include "forms/WindowBase.h"

namespace forms {

enum class StartUpPosition { Manual, CenterScreen };
enum class ScaleMode { Twips, Pixels };

// Why a form is being unloaded (the values the query-unload step receives).
enum class UnloadMode { ControlMenu = 0, Code = 1, AppWindows = 2, TaskManager = 3, Owner = 5 };

struct FormDesign {
  std::wstring caption;
  int left = 0, top = 0;                  // pixels, for StartUpPosition::Manual
  int clientWidth = 0, clientHeight = 0;  // pixels
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  bool showInTaskbar = true;
  StartUpPosition startUp = StartUpPosition::Manual;
  COLORREF backColor = RGB(255, 255, 255);
  ScaleMode scaleMode = ScaleMode::Twips;
  bool autoRedraw = false;  // keep what is drawn in a retained surface
};

class Form : public WindowBase {
 public:
  explicit Form(FormDesign design);
  ~Form() override;

  // The window; reading it loads the form, as any use of a form does.
  HWND hWnd();
  bool IsLoaded() const noexcept { return loaded_; }
  bool Visible() const noexcept;

  void Load();
  void Show();
  // Shows the form and waits, with the other windows of the program disabled,
  // until it is hidden or unloaded.
  void ShowModal();
  void Hide();
  // Returns false when the query-unload or unload step cancelled.
  bool Unload(UnloadMode mode = UnloadMode::Code);

  void SetCaption(const std::wstring& caption);
  std::wstring Caption() const;
  COLORREF BackColor() const noexcept { return design_.backColor; }

  // Client size in the form's scale units.
  double ScaleWidth() const;
  double ScaleHeight() const;
  double ToScale(int pixels) const;

  // The window's place on the screen in twips (15 to a pixel), and a move to a
  // new one; the window is repainted.
  struct Place {
    double left = 0, top = 0, width = 0, height = 0;
  };
  Place WindowPlace() const;
  void Move(double left, double top, double width, double height);
  bool Minimized() const;

  // The pointer shown over the form's own surface (a system cursor such as
  // IDC_SIZEWE); null for the window class's.
  void SetMousePointer(const wchar_t* systemCursor) noexcept { mousePointer_ = systemCursor; }

  // A windowless label, drawn on every paint over the form's surface and under
  // its controls; it lasts until the form unloads.
  Label& AddLabel(const RECT& box, const std::wstring& caption, HFONT font = nullptr);
  const std::vector<std::unique_ptr<Label>>& labels() const noexcept { return labels_; }

  // The retained surface of an AutoRedraw form (null otherwise).
  Surface* surface() noexcept { return design_.autoRedraw ? &surface_ : nullptr; }

  // For TheForm<T>() only.
  void RunInitialize();

 protected:
  virtual void Form_Initialize() {}
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
  virtual void Form_Unload(bool& /*cancel*/) {}
  virtual void Form_Resize() {}
  virtual void Form_Paint() {}
  virtual void Form_MouseDown(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
  virtual void Form_MouseMove(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
  virtual void Form_MouseUp(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone() override;
  const FormDesign& design() const noexcept { return design_; }

 private:
  void Centre();
  // Unload, with or without the query-unload step.
  bool UnloadSteps(UnloadMode mode, bool query);
  // The query-unload step for the end of the session; true when not cancelled.
  bool QueryEndSession();
  void Unloaded();
  void MouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);

  FormDesign design_;
  const wchar_t* mousePointer_ = nullptr;
  Surface surface_;
  std::vector<std::unique_ptr<Label>> labels_;
  bool initialized_ = false;
  bool loaded_ = false;
  bool loading_ = false;
  bool resizedSinceLoad_ = false;
  bool unloading_ = false;
};

template <typename T>
T& TheForm() {
  static T form;
  form.RunInitialize();
  return form;
}

}  // namespace forms
