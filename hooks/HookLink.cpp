#include "hooks/HookLink.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace hooks {

namespace {
std::size_t g_liveLinks = 0;
}  // namespace

std::size_t LiveHookCount() { return g_liveLinks; }

namespace detail {

static_assert(sizeof(void*) == 4, "the window procedure thunks are 32-bit x86 code");

// The thunks. Each one is
//     pop  eax                 ; the caller's return address
//     push dword [context]     ; the link, read from a data slot of its own
//     push eax
//     jmp  HookLink::Proc
// so HookLink::Proc runs as a five-argument stdcall procedure and returns
// straight to the caller, popping the link and the four window arguments. The
// code is written once when a chunk of thunks is made and is read-only and
// executable from then on; binding a thunk to a link only writes its data slot.
// The thunk is not on the return path, so a link may release its thunk while its
// own procedure is still running.
struct ThunkAccess {
  static void* Target() { return reinterpret_cast<void*>(&HookLink::Proc); }
};

namespace {

constexpr std::size_t kThunkSize = 16;
constexpr std::size_t kThunksPerChunk = 4096;  // 64 KB of code: one allocation granule

struct Chunk {
  unsigned char* code = nullptr;
  HookLink* contexts[kThunksPerChunk] = {};
};

void Put32(unsigned char* at, std::uint32_t value) { std::memcpy(at, &value, sizeof value); }

class ThunkPool {
 public:
  // Binds a free thunk to `link`; false with `error` set when no memory could be had.
  bool Acquire(HookLink* link, Chunk*& chunk, unsigned& index, DWORD& error) {
    if (free_.empty() && !Grow(error)) return false;
    chunk = free_.back().chunk;
    index = free_.back().index;
    free_.pop_back();
    chunk->contexts[index] = link;
    return true;
  }

  // Freed thunks are handed out again first, so the set of procedure addresses
  // the window system sees stays as small as the number of hooks alive at once.
  void Release(Chunk* chunk, unsigned index) {
    chunk->contexts[index] = nullptr;
    free_.push_back({chunk, index});
  }

  static WNDPROC Proc(const Chunk* chunk, unsigned index) {
    return reinterpret_cast<WNDPROC>(chunk->code + index * kThunkSize);
  }

 private:
  struct Slot {
    Chunk* chunk;
    unsigned index;
  };

  bool Grow(DWORD& error) {
    std::unique_ptr<Chunk> chunk(new (std::nothrow) Chunk);
    if (!chunk) {
      error = ERROR_NOT_ENOUGH_MEMORY;
      return false;
    }
    const SIZE_T bytes = kThunkSize * kThunksPerChunk;
    auto* code = static_cast<unsigned char*>(::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!code) {
      error = ::GetLastError();
      return false;
    }
    const auto target = reinterpret_cast<std::uintptr_t>(ThunkAccess::Target());
    for (std::size_t i = 0; i < kThunksPerChunk; ++i) {
      unsigned char* thunk = code + i * kThunkSize;
      thunk[0] = 0x58;  // pop eax
      thunk[1] = 0xFF;  // push dword [imm32]
      thunk[2] = 0x35;
      Put32(thunk + 3, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&chunk->contexts[i])));
      thunk[7] = 0x50;  // push eax
      thunk[8] = 0xE9;  // jmp rel32
      Put32(thunk + 9, static_cast<std::uint32_t>(target - reinterpret_cast<std::uintptr_t>(thunk + 13)));
      std::memset(thunk + 13, 0xCC, kThunkSize - 13);  // int3
    }
    DWORD old = 0;
    if (!::VirtualProtect(code, bytes, PAGE_EXECUTE_READ, &old)) {
      error = ::GetLastError();
      ::VirtualFree(code, 0, MEM_RELEASE);
      return false;
    }
    ::FlushInstructionCache(::GetCurrentProcess(), code, bytes);
    chunk->code = code;
    try {
      free_.reserve(free_.size() + kThunksPerChunk);
      chunks_.reserve(chunks_.size() + 1);
    } catch (const std::bad_alloc&) {
      ::VirtualFree(code, 0, MEM_RELEASE);
      error = ERROR_NOT_ENOUGH_MEMORY;
      return false;
    }
    for (std::size_t i = kThunksPerChunk; i-- > 0;) free_.push_back({chunk.get(), static_cast<unsigned>(i)});
    chunks_.push_back(std::move(chunk));
    return true;
  }

  std::vector<std::unique_ptr<Chunk>> chunks_;
  std::vector<Slot> free_;
};

// Thunks may still be called while the process ends, so the pool is never destroyed.
ThunkPool& Pool() {
  static ThunkPool* pool = new ThunkPool;
  return *pool;
}

}  // namespace

HookLink::HookLink() { ++g_liveLinks; }

HookLink::~HookLink() {
  if (thunkChunk_) Pool().Release(static_cast<Chunk*>(thunkChunk_), thunkIndex_);
  --g_liveLinks;
}

WNDPROC HookLink::proc() const {
  return thunkChunk_ ? ThunkPool::Proc(static_cast<const Chunk*>(thunkChunk_), thunkIndex_) : nullptr;
}

HookLink::InstallError HookLink::Install(HWND hwnd, DWORD& error) {
  Chunk* chunk = nullptr;
  unsigned index = 0;
  if (!Pool().Acquire(this, chunk, index, error)) return InstallError::NoMemory;
  thunkChunk_ = chunk;
  thunkIndex_ = index;
  hwnd_ = hwnd;
  // Known before the thunk goes in, so that no message can ever find it unset.
  previous_ = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  ::SetLastError(0);
  const LONG_PTR previous = ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc()));
  if (!previous) {
    error = ::GetLastError();
    Pool().Release(chunk, index);
    thunkChunk_ = nullptr;
    hwnd_ = nullptr;
    previous_ = nullptr;
    return InstallError::SetWindowLong;
  }
  previous_ = reinterpret_cast<WNDPROC>(previous);
  return InstallError::None;
}

void HookLink::ShutDown() {
  if (state_.ShutDown()) Release();
}

void HookLink::Release() {
  if (!state_.windowDestroyed() && ::IsWindow(hwnd_)) {
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) != proc()) return;
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  }
  delete this;
}

LRESULT CALLBACK HookLink::Proc(HookLink* link, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // A thunk whose link has gone is never installed on a window; answer as a plain window would.
  if (!link) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  link->state_.Enter();
  LRESULT result;
  if (link->state_.shutDown()) {
    result = link->CallPrevious(hwnd, msg, wParam, lParam);
  } else {
    HWND routedWindow = hwnd;
    UINT routedMsg = msg;
    WPARAM routedWParam = wParam;
    LPARAM routedLParam = lParam;
    result = link->Route(routedWindow, routedMsg, routedWParam, routedLParam);
  }
  const bool destroyed = msg == WM_NCDESTROY;
  if (destroyed) link->OnWindowDestroyed();
  if (link->state_.Leave(destroyed)) link->Release();
  return result;
}

}  // namespace detail
}  // namespace hooks
