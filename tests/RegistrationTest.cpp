// The program's registration against the program's own form descriptions:
// every class a description names, and every property it sets, is known
// once WinMain's registration has run, so a missing registration fails
// here and not when the form is first opened.

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Registration.h"
#include "framework/ComponentClass.h"
#include "framework/FormParser.h"

namespace {

// What a description needs that the registry lacks. A root is read into
// the form that owns the description, so its properties are the form's.
void CheckNode(const TFormNode& node, const TComponentClass* cls, std::vector<std::string>& problems)
{
    for (const TFormProperty& property : node.Properties) {
        const auto entry = cls->Resolve(property.Path);
        if (!entry || !entry->Readable())
            problems.push_back(node.Name + "." + property.Path + ": no such property of " + cls->Name());
    }
    for (const TFormNode& child : node.Children) {
        const TComponentClass* childClass = FindComponentClass(child.ClassName);
        if (!childClass || !childClass->CanCreate()) {
            problems.push_back(child.Name + ": class " + child.ClassName + " not registered");
            continue;
        }
        CheckNode(child, childClass, problems);
    }
}

std::vector<std::string> Problems(const std::string& text)
{
    std::vector<std::string> problems;
    CheckNode(ParseFormDescription(text), FindComponentClass("TForm"), problems);
    return problems;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
{
    if (!IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<std::string>*>(list)->push_back(name);
    return TRUE;
}

// The form descriptions linked into this program, as the program has them.
std::vector<std::string> DescriptionNames()
{
    std::vector<std::string> names;
    EnumResourceNamesA(nullptr, MAKEINTRESOURCEA(10), CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

std::string Description(const std::string& name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));
    HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes)
        return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, resource));
}

class ProgramRegistration : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterQuorvelClasses(); }
};

TEST_F(ProgramRegistration, EveryDescriptionFileIsLinkedIn)
{
    const std::vector<std::string> linked = DescriptionNames();
    std::istringstream files(QUORVEL_FORM_NAMES);
    std::string file;
    int count = 0;
    while (std::getline(files, file, ',')) {
        ++count;
        bool found = false;
        for (const std::string& name : linked)
            found = found || SameText(name, file);
        EXPECT_TRUE(found) << file << ".qform is not among the program's resources";
    }
    EXPECT_GE(count, 2);
}

TEST_F(ProgramRegistration, EveryClassAndPropertyOfTheDescriptionsIsRegistered)
{
    for (const std::string& name : DescriptionNames()) {
        const std::string text = Description(name);
        ASSERT_FALSE(text.empty()) << name;
        std::vector<std::string> problems;
        ASSERT_NO_THROW(problems = Problems(text)) << name;
        EXPECT_EQ(problems, std::vector<std::string>{}) << name;
    }
}

TEST_F(ProgramRegistration, TheCheckFindsAnUnregisteredClassAndAnUnknownProperty)
{
    EXPECT_EQ(Problems("TSomeForm F {\n Caption = \"x\"\n Colour = clRed\n"
                       " TButton B { Cancel = true }\n TNotAClass N { Left = 1 }\n}"),
              (std::vector<std::string>{"F.Colour: no such property of TForm", "N: class TNotAClass not registered"}));
}

}  // namespace
