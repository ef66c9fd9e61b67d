// What the plain page engine understands of a page's scripts: the calls that
// open a new window (window.open('address')) and the assignments that move
// the page elsewhere (location.href = 'address', location.replace('address')),
// when their address is written out as a string. Nothing is run; an address
// built by the script (a variable, a concatenation) is not recognised. Pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace browser::script {

enum class ActionKind { OpenWindow, Navigate };

struct Action {
  ActionKind kind;
  std::wstring address;  // as written in the script, escapes undone, not resolved
  bool operator==(const Action&) const = default;
};

// The recognised actions of a script (or of an event attribute such as
// onclick, or of a "javascript:" address without its scheme), in order.
// `thisHref` stands for `this.href` inside an element's event attribute.
std::vector<Action> FindActions(std::wstring_view script, std::wstring_view thisHref = {});

}  // namespace browser::script
