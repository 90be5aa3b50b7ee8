#include "components/VxFileUtils.h"
#include "components/VxFileUtilsWin.h"

#include <gtest/gtest.h>

namespace {

// Build paths are host paths; Wine shows the host's root as drive Z:.
std::string WindowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path.starts_with('\\') ? "Z:" + path : path;
}

std::string OwnFileName()
{
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    return std::string(name, length);
}

void ExpectProgramVersion(const TVxFileVersionInfo& info)
{
    EXPECT_EQ(info.StandardKeyValue(9), "Quorvel");
    EXPECT_EQ(info.StandardKeyValue(2), "Talmore");
    EXPECT_EQ(info.StandardKeyValue(8), "Quorvel.exe");
    EXPECT_EQ(info.StandardKeyValue(5), "Quorvel");
    EXPECT_EQ(info.StandardKeyValue(4), QV_VERSION_TEXT);
    EXPECT_EQ(info.StandardKeyValue(10), QV_VERSION_TEXT);
    EXPECT_NE(info.StandardKeyValue(3), "");
    EXPECT_TRUE(info.StandardKeyValue(6).starts_with("Copyright")) << info.StandardKeyValue(6);
    EXPECT_EQ(info.StandardKeyValue(11), "");
    EXPECT_EQ(info.StringTableLanguages(), std::vector<std::uint32_t>{0x04E40409});
    EXPECT_EQ(info.TranslationList(), std::vector<std::uint32_t>{0x04E40409});

    TVxFixedFileInfo block{};
    info.FixedBlock(block);
    EXPECT_EQ(block.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(block.dwFileVersionMS, QV_VERSION_MS);
    EXPECT_EQ(block.dwFileVersionLS, QV_VERSION_LS);
    EXPECT_EQ(block.dwProductVersionMS, QV_VERSION_MS);
    EXPECT_EQ(block.dwProductVersionLS, QV_VERSION_LS);
    EXPECT_EQ(block.dwFileType, static_cast<std::uint32_t>(VFT_APP));
    const TVersionBuildFlags expected =
        QV_DEBUG_BUILD ? TVersionBuildFlags{TVersionBuildFlag::vfDebug} : TVersionBuildFlags{};
    EXPECT_EQ(info.BuildFlags().Bits(), expected.Bits());
}

std::string ErrorOf(const std::string& fileName)
{
    try {
        TVxFileVersionInfo info(fileName);
    } catch (const EVxFileVersionInfoError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(VersionInfoFile, ReadsTheProgramsVersionResourceFromAnExecutable)
{
    ExpectProgramVersion(TVxFileVersionInfo(OwnFileName()));
}

#ifdef QV_APP_EXE
TEST(VersionInfoFile, ReadsTheBuiltProgramsOwnResource)
{
    ExpectProgramVersion(TVxFileVersionInfo(WindowsPath(QV_APP_EXE)));
}
#endif

TEST(VersionInfoFile, FilesWithoutVersionInformationAreRefused)
{
    EXPECT_EQ(ErrorOf(WindowsPath(QV_NO_RESOURCE_EXE)), "File contains no version information");
    EXPECT_EQ(ErrorOf(OwnFileName() + ".missing"), "File contains no version information");
}

DWORD WINAPI FixedSize(LPCSTR, LPDWORD handle)
{
    *handle = 0;
    return 256;
}

BOOL WINAPI AccessDenied(LPCSTR, DWORD, DWORD, LPVOID)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI FailsWithoutCode(LPCSTR, DWORD, DWORD, LPVOID)
{
    SetLastError(0);
    return FALSE;
}

TEST(VersionInfoFile, FailedReadAfterASizeIsAnOSError)
{
    try {
        ReadVersionResource("any", {FixedSize, AccessDenied});
        FAIL() << "no error";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
        const std::string prefix = "System Error.  Code: 5.\r\n";
        ASSERT_TRUE(e.Message().starts_with(prefix)) << e.Message();
        const std::string text = e.Message().substr(prefix.size());
        EXPECT_FALSE(text.empty());
        EXPECT_GT(static_cast<unsigned char>(text.back()), ' ') << "trailing line break kept";
    }
    try {
        ReadVersionResource("any", {FixedSize, FailsWithoutCode});
        FAIL() << "no error";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message(), "A call to an OS function failed");
    }
}

}  // namespace
