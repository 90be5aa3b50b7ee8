#include "tests/HelpData/HtmlHelpStandIn.h"

#include <gtest/gtest.h>

namespace {

template <class F>
F Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

TStandInLog::TStandInLog()
{
    const HMODULE module = ::GetModuleHandleA("HHCTRL.OCX");
    EXPECT_NE(module, nullptr) << "no help library loaded";
    if (!module)
        return;
    FCount = Entry<TStandInCallCount>(module, "StandInCallCount");
    FGet = Entry<TStandInGetCall>(module, "StandInGetCall");
    FReset = Entry<TStandInReset>(module, "StandInReset");
    FSetResult = Entry<TStandInSetResult>(module, "StandInSetResult");
    EXPECT_TRUE(FCount && FGet && FReset && FSetResult) << "the loaded help library is not the stand-in";
}

int TStandInLog::Count() const
{
    return FCount ? FCount() : -1;
}

TStandInCall TStandInLog::Call(int index) const
{
    TStandInCall call{};
    EXPECT_TRUE(FGet && FGet(index, &call)) << "no call " << index;
    return call;
}

void TStandInLog::Reset() const
{
    if (FReset)
        FReset();
}

void TStandInLog::SetResult(HWND result) const
{
    if (FSetResult)
        FSetResult(result);
}

std::string TestFolder()
{
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void InstallHelpLibrary(const char* dllName)
{
    const std::string folder = TestFolder();
    ASSERT_TRUE(::CopyFileA((folder + dllName).c_str(), (folder + "HHCTRL.OCX").c_str(), FALSE))
        << "cannot copy " << dllName << ": " << ::GetLastError();
}

void RemoveHelpLibrary()
{
    const std::string target = TestFolder() + "HHCTRL.OCX";
    if (!::DeleteFileA(target.c_str())) {
        ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "cannot remove " << target;
    }
}
