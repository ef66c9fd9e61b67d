#include "hooks/HookLink.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace hooks {

namespace detail {

std::size_t HookLink::live_ = 0;

// The thunks. Each is a few bytes of code written once, when a chunk of thunks
// is made, and read-only and executable from then on; binding a thunk to a link
// only writes its data slot, which holds the link and its window. No thunk is on
// the return path, so a link may release its thunk while its own procedure is
// still running.
//
// i386: the window procedure is stdcall with its four arguments on the stack:
//     pop  eax                 ; the caller's return address
//     push dword [slot]        ; the link (the slot's first field)
//     push eax
//     jmp  HookLink::Proc
// so HookLink::Proc runs as a five-argument stdcall procedure and returns
// straight to the caller, popping the link and the four window arguments.
//
// x86-64: the four arguments are in rcx, rdx, r8 and r9, with no room on the
// caller's stack for a fifth, so the thunk puts the slot in place of the window
// handle (the slot holds it) and jumps:
//     mov  rcx, slot
//     mov  rax, HookLink::SlotProc
//     jmp  rax
// and HookLink::SlotProc calls HookLink::Proc with the link and the window. The
// thunk leaves the stack as it found it, so stack walks see the caller's frame.
struct ThunkSlot {
  HookLink* link = nullptr;
  HWND hwnd = nullptr;
};

struct ThunkAccess {
#if defined(__i386__)
  static void* Target() { return reinterpret_cast<void*>(&HookLink::Proc); }
#elif defined(__x86_64__)
  static void* Target() { return reinterpret_cast<void*>(&HookLink::SlotProc); }
#endif
  static LRESULT CallProc(const ThunkSlot& slot, UINT msg, WPARAM wParam, LPARAM lParam) {
    return HookLink::Proc(slot.link, slot.hwnd, msg, wParam, lParam);
  }
};

namespace {

#if defined(__i386__)
constexpr std::size_t kThunkSize = 16;
#elif defined(__x86_64__)
constexpr std::size_t kThunkSize = 32;
#else
#error "window procedure thunks are written for i386 and x86-64 only"
#endif
constexpr std::size_t kThunksPerChunk = 4096;  // 64 or 128 KB of code: whole allocation granules

struct Chunk {
  unsigned char* code = nullptr;
  ThunkSlot slots[kThunksPerChunk] = {};
};

template <typename Value>
void Put(unsigned char* at, Value value) {
  std::memcpy(at, &value, sizeof value);
}

void WriteThunk(unsigned char* thunk, ThunkSlot* slot, std::uintptr_t target) {
#if defined(__i386__)
  thunk[0] = 0x58;  // pop eax
  thunk[1] = 0xFF;  // push dword [imm32]
  thunk[2] = 0x35;
  Put(thunk + 3, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&slot->link)));
  thunk[7] = 0x50;  // push eax
  thunk[8] = 0xE9;  // jmp rel32
  Put(thunk + 9, static_cast<std::uint32_t>(target - reinterpret_cast<std::uintptr_t>(thunk + 13)));
  std::memset(thunk + 13, 0xCC, kThunkSize - 13);  // int3
#elif defined(__x86_64__)
  thunk[0] = 0x48;  // mov rcx, imm64
  thunk[1] = 0xB9;
  Put(thunk + 2, reinterpret_cast<std::uint64_t>(slot));
  thunk[10] = 0x48;  // mov rax, imm64
  thunk[11] = 0xB8;
  Put(thunk + 12, static_cast<std::uint64_t>(target));
  thunk[20] = 0xFF;  // jmp rax
  thunk[21] = 0xE0;
  std::memset(thunk + 22, 0xCC, kThunkSize - 22);  // int3
#endif
}

class ThunkPool {
 public:
  // Binds a free thunk to `link`; false with `error` set when no memory could be had.
  bool Acquire(HookLink* link, HWND hwnd, Chunk*& chunk, unsigned& index, DWORD& error) {
    if (free_.empty() && !Grow(error)) return false;
    chunk = free_.back().chunk;
    index = free_.back().index;
    free_.pop_back();
    chunk->slots[index] = {link, hwnd};
    return true;
  }

  // Freed thunks are handed out again first, so the set of procedure addresses
  // the window system sees stays as small as the number of hooks alive at once.
  void Release(Chunk* chunk, unsigned index) {
    chunk->slots[index].link = nullptr;
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
    for (std::size_t i = 0; i < kThunksPerChunk; ++i) WriteThunk(code + i * kThunkSize, &chunk->slots[i], target);
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

HookLink::HookLink() { ++live_; }

HookLink::~HookLink() {
  if (thunkChunk_) Pool().Release(static_cast<Chunk*>(thunkChunk_), thunkIndex_);
  --live_;
}

WNDPROC HookLink::proc() const {
  return thunkChunk_ ? ThunkPool::Proc(static_cast<const Chunk*>(thunkChunk_), thunkIndex_) : nullptr;
}

HookLink::InstallError HookLink::Install(HWND hwnd, DWORD& error) {
  Chunk* chunk = nullptr;
  unsigned index = 0;
  if (!Pool().Acquire(this, hwnd, chunk, index, error)) return InstallError::NoMemory;
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

#if defined(__x86_64__)
LRESULT CALLBACK HookLink::SlotProc(const void* slot, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ThunkAccess::CallProc(*static_cast<const ThunkSlot*>(slot), msg, wParam, lParam);
}
#endif

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
