#include "framework/FormParser.h"

#include <cctype>
#include <limits>

#include "framework/Exceptions.h"

namespace {

bool IsIdentStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IsIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class TParser {
public:
    explicit TParser(const std::string& text) : FText(text) {}

    TFormNode ParseFile()
    {
        SkipBlanks();
        TFormNode root = ParseObject(1);
        SkipBlanks();
        if (FPos < FText.size())
            Fail("text after the end of the description");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EReadError(Format("Form description line %d: %s", FLine, what.c_str()));
    }

    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }

    void SkipBlanks()
    {
        while (!AtEnd()) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '#') {
                while (!AtEnd() && FText[FPos] != '\n')
                    ++FPos;
            } else {
                return;
            }
        }
    }

    std::string ParseIdent(const char* what)
    {
        SkipBlanks();
        if (!IsIdentStart(Peek()))
            Fail(std::string("expected ") + what);
        const std::size_t start = FPos;
        while (!AtEnd() && IsIdentChar(FText[FPos]))
            ++FPos;
        return FText.substr(start, FPos - start);
    }

    std::string ParsePath()
    {
        std::string path = ParseIdent("a property name");
        while (Peek() == '.') {
            ++FPos;
            if (!IsIdentStart(Peek()))
                Fail("expected a name after '.'");
            path += '.';
            path += ParseIdent("a property name");
        }
        return path;
    }

    void Expect(char c)
    {
        SkipBlanks();
        if (Peek() != c)
            Fail(std::string("expected '") + c + "'");
        ++FPos;
    }

    TFormNode ParseObject(int depth)
    {
        if (depth > MaxFormNesting)
            Fail("objects nested too deeply");
        TFormNode node;
        node.Line = FLine;
        node.ClassName = ParseIdent("a class name");
        node.Name = ParseIdent("a component name");
        Expect('{');
        for (;;) {
            SkipBlanks();
            if (AtEnd())
                Fail("missing '}'");
            if (Peek() == '}') {
                ++FPos;
                return node;
            }
            const int line = FLine;
            const std::size_t start = FPos;
            std::string first = ParsePath();
            SkipBlanks();
            if (Peek() == '=') {
                ++FPos;
                node.Properties.push_back(TFormProperty{std::move(first), ParseValue(), line});
            } else if (first.find('.') == std::string::npos && IsIdentStart(Peek())) {
                FPos = start;
                FLine = line;
                node.Children.push_back(ParseObject(depth + 1));
            } else {
                Fail("expected '=' or a nested object");
            }
        }
    }

    TFormValue ParseValue()
    {
        SkipBlanks();
        TFormValue value;
        const char c = Peek();
        if (c == '"') {
            value.Kind = TFormValue::vkString;
            value.Text = ParseString();
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            value.Kind = TFormValue::vkInteger;
            value.Integer = ParseInteger();
        } else if (IsIdentStart(c)) {
            value.Kind = TFormValue::vkIdent;
            value.Text = ParseIdent("a value");
        } else if (c == '[') {
            ++FPos;
            value.Kind = TFormValue::vkSet;
            SkipBlanks();
            if (Peek() == ']') {
                ++FPos;
                return value;
            }
            for (;;) {
                value.Items.push_back(ParseIdent("a set member"));
                SkipBlanks();
                if (Peek() == ']') {
                    ++FPos;
                    break;
                }
                Expect(',');
            }
        } else {
            Fail("expected a value");
        }
        return value;
    }

    std::int64_t ParseInteger()
    {
        const bool negative = Peek() == '-';
        if (negative)
            ++FPos;
        int base = 10;
        if (Peek() == '0' && FPos + 1 < FText.size() && (FText[FPos + 1] == 'x' || FText[FPos + 1] == 'X')) {
            base = 16;
            FPos += 2;
        }
        // Magnitudes up to 2^63 so that the most negative value is accepted.
        const std::uint64_t limit = std::uint64_t{1} << 63;
        std::uint64_t magnitude = 0;
        int digits = 0;
        for (int d; !AtEnd() && (d = HexDigit(FText[FPos])) >= 0 && d < base; ++FPos, ++digits) {
            if (magnitude > (limit - static_cast<std::uint64_t>(d)) / static_cast<std::uint64_t>(base))
                Fail("number too large");
            magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        }
        if (digits == 0)
            Fail("expected digits");
        if (IsIdentChar(Peek()))
            Fail("bad character in a number");
        if (!negative && magnitude == limit)
            Fail("number too large");
        if (negative)
            return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                                      : -static_cast<std::int64_t>(magnitude);
        return static_cast<std::int64_t>(magnitude);
    }

    std::string ParseString()
    {
        ++FPos;  // opening quote
        std::string text;
        for (;;) {
            if (AtEnd() || Peek() == '\n')
                Fail("unterminated string");
            char c = FText[FPos++];
            if (c == '"')
                return text;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (AtEnd())
                Fail("unterminated string");
            c = FText[FPos++];
            switch (c) {
            case '"': text += '"'; break;
            case '\\': text += '\\'; break;
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            case 't': text += '\t'; break;
            case 'x': {
                const int high = FPos < FText.size() ? HexDigit(FText[FPos]) : -1;
                const int low = FPos + 1 < FText.size() ? HexDigit(FText[FPos + 1]) : -1;
                if (high < 0 || low < 0)
                    Fail("expected two hex digits after \\x");
                text += static_cast<char>(high * 16 + low);
                FPos += 2;
                break;
            }
            default: Fail(std::string("unknown escape \\") + c);
            }
        }
    }

    const std::string& FText;
    std::size_t FPos = 0;
    int FLine = 1;
};

std::string QuoteString(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string result = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            result += '\\';
            result += c;
        } else if (c == '\n') {
            result += "\\n";
        } else if (c == '\t') {
            result += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            result += "\\x";
            result += digits[byte >> 4];
            result += digits[byte & 15];
        } else {
            result += c;
        }
    }
    return result + '"';
}

std::string ValueText(const TFormValue& value)
{
    switch (value.Kind) {
    case TFormValue::vkInteger: return std::to_string(value.Integer);
    case TFormValue::vkString: return QuoteString(value.Text);
    case TFormValue::vkIdent: return value.Text;
    case TFormValue::vkSet: {
        std::string text = "[";
        for (std::size_t i = 0; i < value.Items.size(); ++i)
            text += (i ? ", " : "") + value.Items[i];
        return text + "]";
    }
    }
    return {};
}

void WriteNode(const TFormNode& node, int depth, std::string& out)
{
    const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    out += indent + node.ClassName + " " + node.Name + " {\n";
    for (const TFormProperty& property : node.Properties)
        out += indent + "    " + property.Path + " = " + ValueText(property.Value) + "\n";
    for (const TFormNode& child : node.Children)
        WriteNode(child, depth + 1, out);
    out += indent + "}\n";
}

}  // namespace

TFormNode ParseFormDescription(const std::string& text)
{
    return TParser(text).ParseFile();
}

std::string WriteFormDescription(const TFormNode& node)
{
    std::string out;
    WriteNode(node, 0, out);
    return out;
}
