// The errors of the tab model. The model's callers catch TabError; each code
// names the run-time error that the same failure has always raised, so logs and
// messages read alike:
//
//   InvalidArgument  (5)   a position was required and something else was given,
//                          or an item was to be added without a page
//   OutOfRange       (9)   a position outside the range the operation accepts
//   DuplicateKey     (457) the key is already in the collection (in any letter case)
//   KeyNotFound      (5)   no tab has the key
#pragma once

#include <stdexcept>

namespace tabstrip {

enum class TabErrc { InvalidArgument, OutOfRange, DuplicateKey, KeyNotFound };

class TabError : public std::runtime_error {
 public:
  explicit TabError(TabErrc code);
  TabErrc code() const noexcept { return code_; }

 private:
  TabErrc code_;
};

}  // namespace tabstrip
