#include "app/LoadResourceImage.h"

#include "win/Error.h"
#include "win/Resource.h"

namespace app {

win::StreamImage LoadResourceImage(WORD id, const wchar_t* type) {
  try {
    return win::StreamImage::FromBytes(win::ResourceBytes(id, type));
  } catch (const win::Win32Error&) {
    return {};  // a missing picture leaves the window empty; start-up goes on
  }
}

}  // namespace app
