// A page that can live in a tab: in this program a form whose window the tab
// strip takes into its page container (the browser page). The tab model holds
// pages through std::shared_ptr<ITabForm>: the item that shows a page owns it,
// and anyone else who keeps a pointer shares it.
#pragma once

#include <windows.h>

namespace tabstrip {

class IuTab;
class CTabItem;

class ITabForm {
 public:
  virtual ~ITabForm() = default;

  // The page's top-level window (a page that is a form loads itself to have one).
  virtual HWND hWnd() = 0;

  // The model hands the page its strip and its item; the page keeps both, not
  // owning them. Called once by CTabItems::Add and once more each time an
  // item's page is set. Implement is null while the item belongs to no strip.
  // When the model lets go of the page (its tab was removed, its item replaced
  // it or was destroyed) it calls Initialize(nullptr, nullptr): the page must
  // then forget both, since neither may outlive that call.
  virtual void Initialize(IuTab* Implement, CTabItem* Item) = 0;

  // Reloads the page's content.
  virtual void RefreshPage() = 0;

  // The strip has brought this page to the front (its tab selected) or left
  // it behind another: a page engine that renders while covered stops.
  virtual void PageShown(bool /*shown*/) {}

  // Closes the page exactly as closing its window does: a form runs its
  // query-unload and unload steps with the close command as the reason and
  // destroys its window. A page that is not loaded stays unloaded. Returns false
  // when the page refused and still has its window; the model then destroys
  // that window itself, because a page whose tab is gone must not linger.
  virtual bool UnloadPage() = 0;
};

}  // namespace tabstrip
