// The form description text format.

#include <gtest/gtest.h>

#include <limits>

#include "framework/FormParser.h"

namespace {

TFormValue ValueOf(const std::string& text)
{
    return ParseFormDescription("TRoot Root { Value = " + text + " }").Properties.at(0).Value;
}

std::string ErrorOf(const std::string& text)
{
    try {
        ParseFormDescription(text);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return "no error";
}

}  // namespace

TEST(FormParser, ReadsNestedObjectsInOrderWithLines)
{
    const TFormNode root = ParseFormDescription("# comment\n"
                                                "TMainForm MainForm {\n"
                                                "    Caption = \"Quorvel\"   # trailing comment\n"
                                                "    Font.Style = [fsBold]\n"
                                                "    TMainMenu CMenu {\n"
                                                "        TMenuItem MFile { Caption = \"&File\" }\n"
                                                "    }\n"
                                                "    TOpenDialog dlgOpen {}\n"
                                                "}\n");
    EXPECT_EQ(root.ClassName, "TMainForm");
    EXPECT_EQ(root.Name, "MainForm");
    ASSERT_EQ(root.Properties.size(), 2u);
    EXPECT_EQ(root.Properties[0].Path, "Caption");
    EXPECT_EQ(root.Properties[0].Line, 3);
    EXPECT_EQ(root.Properties[1].Path, "Font.Style");
    ASSERT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(root.Children[0].Name, "CMenu");
    EXPECT_EQ(root.Children[0].Children.at(0).Properties.at(0).Value.Text, "&File");
    EXPECT_EQ(root.Children[1].ClassName, "TOpenDialog");
    EXPECT_TRUE(root.Children[1].Properties.empty());
}

TEST(FormParser, ValueKinds)
{
    struct Case {
        const char* Text;
        TFormValue::TKind Kind;
        std::int64_t Integer;
        std::string String;
        std::vector<std::string> Items;
    };
    const Case cases[] = {
        {"283", TFormValue::vkInteger, 283, "", {}},
        {"-11", TFormValue::vkInteger, -11, "", {}},
        {"0x404F", TFormValue::vkInteger, 16463, "", {}},
        {"9223372036854775807", TFormValue::vkInteger, std::numeric_limits<std::int64_t>::max(), "", {}},
        {"-9223372036854775808", TFormValue::vkInteger, std::numeric_limits<std::int64_t>::min(), "", {}},
        {"\"a \\\"b\\\" \\\\ \\t\\x41\"", TFormValue::vkString, 0, "a \"b\" \\ \tA", {}},
        {"\"\"", TFormValue::vkString, 0, "", {}},
        {"clBtnFace", TFormValue::vkIdent, 0, "clBtnFace", {}},
        {"[]", TFormValue::vkSet, 0, "", {}},
        {"[ fsBold ,fsItalic ]", TFormValue::vkSet, 0, "", {"fsBold", "fsItalic"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const TFormValue value = ValueOf(c.Text);
        EXPECT_EQ(value.Kind, c.Kind);
        if (c.Kind == TFormValue::vkInteger) {
            EXPECT_EQ(value.Integer, c.Integer);
        }
        if (c.Kind == TFormValue::vkString || c.Kind == TFormValue::vkIdent) {
            EXPECT_EQ(value.Text, c.String);
        }
        EXPECT_EQ(value.Items, c.Items);
    }
}

TEST(FormParser, MalformedTextIsRefusedWithItsLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "line 1: expected a class name"},
        {"TRoot Root {", "line 1: missing '}'"},
        {"TRoot Root {\n Caption = \"open\n}", "line 2: unterminated string"},
        {"TRoot Root { A = \"\\q\" }", "unknown escape"},
        {"TRoot Root { A = \"\\x4\" }", "two hex digits"},
        {"TRoot Root { A = 9223372036854775808 }", "number too large"},
        {"TRoot Root { A = 0x }", "expected digits"},
        {"TRoot Root { A = 12ab }", "bad character in a number"},
        {"TRoot Root { A = [x, ] }", "expected a set member"},
        {"TRoot Root { A }", "expected '=' or a nested object"},
        {"TRoot Root { A. = 1 }", "expected a name after '.'"},
        {"TRoot Root { A = }", "expected a value"},
        {"TRoot Root {}\nTOther Other {}", "line 2: text after the end"},
        {"TRoot Root { Font.Name Inner {} }", "expected '=' or a nested object"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_NE(ErrorOf(text).find(expected), std::string::npos) << ErrorOf(text);
    }
}

TEST(FormParser, NestingIsBounded)
{
    std::string deep;
    for (int i = 0; i <= MaxFormNesting; ++i)
        deep += "TA A" + std::to_string(i) + " {";
    deep += std::string(MaxFormNesting + 1, '}');
    EXPECT_NE(ErrorOf(deep).find("nested too deeply"), std::string::npos);
}

TEST(FormParser, WrittenDescriptionReadsBackTheSame)
{
    TFormNode root;
    root.ClassName = "TForm";
    root.Name = "Form1";
    root.Properties.push_back(
        {"Caption", {TFormValue::vkString, 0, "quote \" slash \\ tab\t nl\n ctl\x01 high\xE9", {}}, 0});
    root.Properties.push_back({"Left", {TFormValue::vkInteger, -283, "", {}}, 0});
    root.Properties.push_back({"Font.Style", {TFormValue::vkSet, 0, "", {"fsBold", "fsItalic"}}, 0});
    root.Properties.push_back({"Menu", {TFormValue::vkIdent, 0, "CMenu", {}}, 0});
    TFormNode child;
    child.ClassName = "TMainMenu";
    child.Name = "CMenu";
    root.Children.push_back(child);
    const std::string text = WriteFormDescription(root);
    EXPECT_EQ(ParseFormDescription(text), root) << text;
}
