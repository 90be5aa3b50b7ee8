// The per-user folder set aside for the end-to-end tests: put back as it
// was, also after an earlier run was killed while it was aside.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "tests/EndToEndData/EndToEndSupport.h"

using namespace EndToEnd;

namespace {

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "(missing)";
}

enum TState { stNone, stEmpty, stUsers, stProgramsLeftover };

struct TCase {
    const char* Name;
    TState Aside;  // left by an earlier run, or none
    TState Folder;  // the per-user folder before the test
    TState After;  // the per-user folder afterwards
};

void PrintTo(const TCase& c, std::ostream* out)
{
    *out << c.Name;
}

const TCase Cases[] = {
    {"a user's folder comes back", stNone, stUsers, stUsers},
    {"no folder stays none", stNone, stNone, stNone},
    {"killed run, user's folder aside, program's left", stUsers, stProgramsLeftover, stUsers},
    {"killed run, user's folder aside, nothing left", stUsers, stNone, stUsers},
    {"killed run without a user's folder", stEmpty, stProgramsLeftover, stNone},
};

class FirstRun : public ::testing::TestWithParam<TCase> {
protected:
    void SetUp() override
    {
        char appData[MAX_PATH + 1] = {};
        ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData), S_OK);
        Folder = std::string(appData) + "\\Talmore";
        Aside = Folder + ".endtoend-aside";
        // Whatever lies there now is kept out of the way of this test.
        Keep = Folder + ".firstrun-test-" + std::to_string(::GetCurrentProcessId());
        KeepAside = Keep + "-aside";
        ASSERT_TRUE(!Exists(Folder) || ::MoveFileA(Folder.c_str(), Keep.c_str()));
        ASSERT_TRUE(!Exists(Aside) || ::MoveFileA(Aside.c_str(), KeepAside.c_str()));
    }

    void TearDown() override
    {
        for (const std::string& path : {Folder, Aside}) {
            for (const char* name : {"\\User.ini", "\\Quorvel.ini"})
                ::DeleteFileA((path + name).c_str());
            ::RemoveDirectoryA(path.c_str());
        }
        if (Exists(Keep)) {
            EXPECT_TRUE(::MoveFileA(Keep.c_str(), Folder.c_str()));
        }
        if (Exists(KeepAside)) {
            EXPECT_TRUE(::MoveFileA(KeepAside.c_str(), Aside.c_str()));
        }
    }

    static void Make(const std::string& path, TState state)
    {
        if (state == stNone)
            return;
        ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
        if (state == stUsers)
            WriteText(path + "\\User.ini", "[font]\nname=user's own\n");
        if (state == stProgramsLeftover)
            WriteText(path + "\\Quorvel.ini", "[font]\nname=from a test\n");
    }

    std::string Folder, Aside, Keep, KeepAside;
};

TEST_P(FirstRun, StartsWithoutTheFolderAndLeavesItAsItWas)
{
    const TCase& c = GetParam();
    Make(Aside, c.Aside);
    Make(Folder, c.Folder);
    {
        TFirstRun run;
        ASSERT_EQ(run.Folder(), Folder) << "not set aside";
        EXPECT_FALSE(Exists(Folder)) << "the program would not start as on a first run";
        // What the program saves on closing.
        ASSERT_TRUE(::CreateDirectoryA(Folder.c_str(), nullptr));
        WriteText(Folder + "\\Quorvel.ini", "[font]\nname=saved by the program\n");
    }
    EXPECT_FALSE(Exists(Aside)) << "the set-aside folder is still there";
    EXPECT_FALSE(Exists(Folder + "\\Quorvel.ini")) << "what the program saved is kept";
    if (c.After == stUsers) {
        EXPECT_EQ(ReadText(Folder + "\\User.ini"), "[font]\nname=user's own\n");
    } else {
        EXPECT_FALSE(Exists(Folder)) << "a folder appeared that was not there";
    }

    // A second run finds everything in order again.
    TFirstRun again;
    EXPECT_EQ(again.Folder(), Folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, FirstRun, ::testing::ValuesIn(Cases), [](const ::testing::TestParamInfo<TCase>& param) {
    std::string name;
    for (const char* p = param.param.Name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p)))
            name += *p;
    return name;
});

}  // namespace
