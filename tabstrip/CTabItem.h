// One tab of the strip: its caption, its page, its close-button and sizing
// flags, the place the strip's layout gave it, and whatever the host keeps with
// it. An item made by CTabItems::Add belongs to the strip before any of its
// properties is set; an item made directly belongs to none, and its setters
// then tell no strip.
#pragma once

#include <any>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "tabstrip/ITabForm.h"
#include "tabstrip/IuTab.h"

namespace tabstrip {

class CTabItem {
 public:
  CTabItem() = default;
  CTabItem(const CTabItem&) = delete;
  CTabItem& operator=(const CTabItem&) = delete;
  // An item owns its page: one that still holds a page unloads it
  // (ITabForm::UnloadPage) and then lets it go.
  ~CTabItem();

  // The text on the tab. Setting it repaints the strip at once.
  const std::wstring& Caption() const noexcept { return caption_; }
  void SetCaption(std::wstring value);

  // The page shown while this tab is selected. Setting it hands the page this
  // item (ITabForm::Initialize) and the strip the page (IuTab::ChangeForm); a
  // page that it replaces is let go, and unloaded if nobody else holds it.
  const std::shared_ptr<ITabForm>& Form() const noexcept { return form_; }
  void SetForm(std::shared_ptr<ITabForm> value);

  // True: the tab has no close glyph and cannot be closed from the strip.
  bool HideButton() const noexcept { return hideButton_; }
  void SetHideButton(bool value);

  // The tab's x within the tab area and its width, in pixels, from the strip's layout.
  std::int32_t Left() const noexcept { return left_; }
  std::int32_t Width() const noexcept { return width_; }

  // True: the tab keeps the full tab width of its style instead of sharing the free width.
  bool LockSize() const noexcept { return lockSize_; }
  void SetLockSize(bool value);

  // Any value the host keeps with the tab; an object is kept by reference when
  // it is stored as a std::shared_ptr.
  const std::any& ItemData() const noexcept { return itemData_; }
  void SetItemData(std::any value) { itemData_ = std::move(value); }

 private:
  friend class CTabItems;
  friend struct TabStripAccess;

  // The strip this item reports to; not owning.
  void SetOwner(IuTab* owner) noexcept { owner_ = owner; }
  // The layout's place of the tab.
  void SetBounds(std::int32_t left, std::int32_t width) noexcept {
    left_ = left;
    width_ = width;
  }
  // The page window's style word from before the page went into the strip.
  std::int32_t WindowStyle() const noexcept { return windowStyle_; }
  void SetWindowStyle(std::int32_t style) noexcept { windowStyle_ = style; }

  // The page leaves the item; nobody is told.
  std::shared_ptr<ITabForm> TakeForm() noexcept { return std::exchange(form_, nullptr); }
  // Unloads a page as closing its window does, destroys its window if it
  // refused, and tells it that it is in no tab any more.
  static void ClosePage(ITabForm& page) noexcept;
  // Tells a page that it is in no tab any more; one that nobody else holds is
  // unloaded first, since nothing could ever show it again.
  static void LetGo(std::shared_ptr<ITabForm> page) noexcept;

  std::wstring caption_;
  std::shared_ptr<ITabForm> form_;
  std::int32_t windowStyle_ = 0;
  bool hideButton_ = false;
  IuTab* owner_ = nullptr;
  std::int32_t left_ = 0;
  std::int32_t width_ = 0;
  bool lockSize_ = false;
  std::any itemData_;
};

}  // namespace tabstrip
