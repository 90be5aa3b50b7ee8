#pragma once

// THelpRouter takes over the application's help event and sends each help
// request to HTML Help on a compiled help file, to WinHelp, or, in mixed
// mode, context popups to WinHelp and everything else to HTML Help.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Component.h"
#include "framework/Forms.h"
#include "help/VxHelpPaths.h"

enum THelpType : std::uint8_t { htWinhelp, htHTMLhelp, htMixedMode };
enum TShowType : std::uint8_t { stDefault, stMain, stPopup };

// The WinHelp entry the router calls; the real WinHelpA unless replaced.
using TWinHelpFunc = BOOL(WINAPI*)(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData);
extern TWinHelpFunc WinHelpCall;

class THelpRouter : public TComponent {
public:
    // Installs the router as the application's help event; raises Exception
    // when another router is installed.
    explicit THelpRouter(TComponent* AOwner);
    // Puts back the help event that was installed before this router.
    ~THelpRouter() override;

    THelpType HelpType() const { return FHelpType; }
    void SetHelpType(THelpType Value);
    // stMain shows context popups as topics of the main help window.
    TShowType ShowType() const { return FShowType; }
    void SetShowType(TShowType Value) { FShowType = Value; }
    // When set, the help file of every request.
    const std::string& Helpfile() const { return FHelpfile; }
    void SetHelpfile(const std::string& Value) { FHelpfile = Value; }
    // The popup-topics file inside the compiled help file; in mixed mode a
    // ".hlp" name is the WinHelp file of popups instead.
    const std::string& CHMPopupTopics() const { return FCHMPopupTopics; }
    void SetCHMPopupTopics(const std::string& Value) { FCHMPopupTopics = Value; }
    // Kept and stored only.
    bool ValidateID() const { return FValidateID; }
    void SetValidateID(bool Value) { FValidateID = Value; }

    // Asked before anything else; clearing CallHelp ends the routing.
    THelpEvent OnHelp;

private:
    bool RouteHelp(std::uint16_t Command, std::intptr_t Data, bool& CallHelp);
    bool RouteHtmlHelp(std::uint16_t Command, std::intptr_t Data, bool& CallHelp, bool Result);
    bool RouteWinHelp(std::uint16_t Command, std::intptr_t Data);
    void ContextPopup(std::int32_t TopicNumber);
    bool ShowContextPopup(std::int32_t X, std::int32_t Y, std::int32_t TopicNumber);
    TForm* HelpForm() const;
    std::string ResolveHelpFile() const;
    HWND HelpOwnerWindow() const;
    static void CheckSingleInstance();

    THelpEvent FSavedAppOnHelp;
    THelpPoint FPopupPos;
    THelpType FHelpType = htWinhelp;
    TShowType FShowType = stDefault;
    std::string FHelpfile;
    std::string FCHMPopupTopics;
    bool FValidateID = false;
};

// Registers the help router's class table and those it stands on;
// idempotent.
void RegisterHelpRouter();
