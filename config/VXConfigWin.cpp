#include "config/VXConfig.h"

#include "framework/Exceptions.h"

#include <windows.h>
#include <shlobj.h>

namespace {

unsigned MakerFolderResource = 0;

std::string MakerFolderName()
{
    char Buffer[256];
    const int Length = ::LoadStringA(::GetModuleHandleA(nullptr), MakerFolderResource, Buffer, sizeof Buffer);
    if (Length <= 0)
        throw EOSError(Format("String resource %u is missing from the program", MakerFolderResource), ::GetLastError());
    return std::string(Buffer, static_cast<std::size_t>(Length));
}

std::string ExeName()
{
    std::string Name(MAX_PATH, '\0');
    for (;;) {
        const DWORD Length = ::GetModuleFileNameA(nullptr, Name.data(), static_cast<DWORD>(Name.size()));
        if (Length == 0)
            throw EOSError("GetModuleFileNameA failed", ::GetLastError());
        // A full buffer means the name may have been cut.
        if (Length < Name.size()) {
            Name.resize(Length);
            return Name;
        }
        Name.resize(Name.size() * 2);
    }
}

}  // namespace

void SetMakerFolderResource(unsigned StringId)
{
    MakerFolderResource = StringId;
}

bool GetSpecialFolder(int CSIDL, bool Create, std::string& Path)
{
    char Buffer[MAX_PATH + 1] = {};
    const HRESULT Result =
        ::SHGetFolderPathA(nullptr, CSIDL | (Create ? CSIDL_FLAG_CREATE : 0), nullptr, SHGFP_TYPE_CURRENT, Buffer);
    if (FAILED(Result)) {
        Path.clear();
        return false;
    }
    Path = Buffer;
    if (!Path.empty() && Path.back() == '\\')
        Path.pop_back();
    return true;
}

TVxConfigPlatform VxSystemConfigPlatform()
{
    TVxConfigPlatform Platform;
    Platform.GetSpecialFolder = GetSpecialFolder;
    Platform.MakerFolderName = MakerFolderName;
    Platform.ExeName = ExeName;
    return Platform;
}

TVXConfiguration& Configuration()
{
    // Never destroyed: every change reached the disk when its accessor was
    // released, and nothing may run this late at exit.
    static TVXConfiguration* Instance = nullptr;
    if (Instance == nullptr)
        Instance = new TVXConfiguration(VxSystemConfigPlatform());
    return *Instance;
}
