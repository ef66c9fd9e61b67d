// A hook link that routes a window's messages by two message tables (before
// and after the window's own procedure) to an owner: what the records of
// CSubclass and the entries of cFormSubclass share.
#pragma once

#include <cstddef>

#include "hooks/HookLink.h"
#include "hooks/MessageTable.h"

namespace hooks::detail {

template <typename Owner>
struct TableLink : HookLink {
  TableLink(Owner* owner, std::size_t tableLimit) : owner(owner), before(tableLimit), after(tableLimit) {}

  using HookLink::Install;

  // Ends routing for good: no owner, empty tables.
  void Detach() {
    owner = nullptr;
    before.Clear();
    after.Clear();
  }

  // Detaches and lets the link leave the window; the caller must not touch it afterwards.
  void Unhook() {
    Detach();
    ShutDown();
  }

  Owner* owner;
  MessageTable before;
  MessageTable after;
};

}  // namespace hooks::detail
