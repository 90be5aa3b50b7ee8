#include "framework/InstanceProc.h"

#include <cstdint>
#include <cstring>

#include "framework/SysError.h"

namespace {

constexpr SIZE_T CodeSize = 32;

template <class V>
unsigned char* Emit(unsigned char* at, V value)
{
    std::memcpy(at, &value, sizeof value);
    return at + sizeof value;
}

}  // namespace

TInstanceProc::TInstanceProc(void* data, WNDPROC target)
    : FCode(static_cast<unsigned char*>(::VirtualAlloc(nullptr, CodeSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
{
    ThrowLastErrorIf(!FCode, "VirtualAlloc");
    const auto targetAddress = reinterpret_cast<std::uintptr_t>(target);
    unsigned char* p = FCode;
#if defined(_M_IX86) || defined(__i386__)
    // stdcall: the window handle is the first stack argument, above the
    // return address. mov dword ptr [esp+4], data; jmp target
    p = Emit<std::uint32_t>(p, 0x042444C7);
    p = Emit(p, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data)));
    p = Emit<std::uint8_t>(p, 0xE9);
    p = Emit(p, static_cast<std::uint32_t>(targetAddress - reinterpret_cast<std::uintptr_t>(p + 4)));
#elif defined(_M_X64) || defined(__x86_64__)
    // The window handle arrives in rcx. mov rcx, data; mov rax, target; jmp rax
    p = Emit<std::uint16_t>(p, 0xB948);
    p = Emit(p, reinterpret_cast<std::uint64_t>(data));
    p = Emit<std::uint16_t>(p, 0xB848);
    p = Emit(p, static_cast<std::uint64_t>(targetAddress));
    p = Emit<std::uint16_t>(p, 0xE0FF);
#else
#error "no window procedure thunk for this processor"
#endif
    DWORD previous = 0;
    if (!::VirtualProtect(FCode, CodeSize, PAGE_EXECUTE_READ, &previous)) {
        const DWORD error = ::GetLastError();
        ::VirtualFree(FCode, 0, MEM_RELEASE);
        RaiseOSError("VirtualProtect", error);
    }
    ::FlushInstructionCache(::GetCurrentProcess(), FCode, CodeSize);
}

TInstanceProc::~TInstanceProc()
{
    ::VirtualFree(FCode, 0, MEM_RELEASE);
}
