#pragma once

// The form description text format, window-free.
//
//   # comment to the end of the line
//   TMainForm MainForm {
//       Caption = "Quorvel"          strings: "..." with \" \\ \n \t \xHH
//       Left = 283                   integers: decimal or 0x hex, may be negative
//       Color = clBtnFace            identifiers: constants, enumerations,
//       Font.Style = [fsBold]        true/false, components and handlers
//       OnCreate = FormCreate        sets: [a, b, c]
//       TVxHexViewer CHex {          nested component: class, name, body
//           Align = alClient
//       }
//   }
//
// One root object per description; property names may be dotted paths.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Exceptions.h"

struct TFormValue {
    enum TKind { vkInteger, vkString, vkIdent, vkSet };
    TKind Kind = vkInteger;
    std::int64_t Integer = 0;
    std::string Text;  // string contents or identifier
    std::vector<std::string> Items;  // set members

    friend bool operator==(const TFormValue&, const TFormValue&) = default;
};

struct TFormProperty {
    std::string Path;
    TFormValue Value;
    int Line = 0;

    friend bool operator==(const TFormProperty& a, const TFormProperty& b)
    {
        return a.Path == b.Path && a.Value == b.Value;
    }
};

struct TFormNode {
    std::string ClassName;
    std::string Name;
    std::vector<TFormProperty> Properties;
    std::vector<TFormNode> Children;
    int Line = 0;

    friend bool operator==(const TFormNode& a, const TFormNode& b)
    {
        return a.ClassName == b.ClassName && a.Name == b.Name && a.Properties == b.Properties &&
               a.Children == b.Children;
    }
};

// Objects nest at most this deep.
constexpr int MaxFormNesting = 64;

// Raises EReadError "Form description line N: ..." on malformed text.
TFormNode ParseFormDescription(const std::string& text);

// Writes a node in the same format; parsing the result gives the node back.
std::string WriteFormDescription(const TFormNode& node);
