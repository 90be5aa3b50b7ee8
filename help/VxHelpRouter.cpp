#include "help/VxHelpRouter.h"

#include "framework/Application.h"
#include "framework/ClassTable.h"
#include "framework/Exceptions.h"
#include "help/VxHtmlHelpApi.h"

TWinHelpFunc WinHelpCall = ::WinHelpA;

namespace {

// The WinHelp command that opens a tab of the help finder; not every set of
// system headers declares it.
constexpr std::uint16_t HELP_TAB_COMMAND = 15;

THelpRouter* LiveRouter = nullptr;
std::string CurrentHelpPath;
HH_POPUP PopupRecord{};

// The help library reads the popup text even when a topic number is given,
// so it gets an empty text rather than a null pointer.
const char EmptyPopupText[] = "";
const char PopupFont[] = "MS Sans Serif, 8";

// The data word as the caller gave it: a number or a text's address.
ULONG_PTR DataWord(std::intptr_t Data)
{
    return static_cast<ULONG_PTR>(Data);
}

// Context numbers are 32-bit; they travel in the low half of Data.
std::int32_t DataNumber(std::intptr_t Data)
{
    return static_cast<std::int32_t>(Data);
}

}  // namespace

THelpRouter::THelpRouter(TComponent* AOwner) : TComponent(AOwner)
{
    CheckSingleInstance();
    FSavedAppOnHelp = Application->OnHelp;
    Application->OnHelp = [this](std::uint16_t Command, std::intptr_t Data, bool& CallHelp) {
        return RouteHelp(Command, Data, CallHelp);
    };
    LiveRouter = this;
    FShowType = stDefault;
    FCHMPopupTopics = "CSHelp.txt";
}

THelpRouter::~THelpRouter()
{
    if (LiveRouter == this) {
        Application->OnHelp = FSavedAppOnHelp;
        LiveRouter = nullptr;
    }
}

void THelpRouter::SetHelpType(THelpType Value)
{
    if (Value != FHelpType)
        FHelpType = Value;
}

void THelpRouter::CheckSingleInstance()
{
    if (LiveRouter)
        throw Exception("Multiple instances of THelpRouter are not allowed");
}

TForm* THelpRouter::HelpForm() const
{
    if (Screen) {
        if (TForm* form = Screen->ActiveForm())
            return form;
        if (TForm* form = Screen->ActiveCustomForm())
            return form;
    }
    return dynamic_cast<TForm*>(Owner());
}

std::string THelpRouter::ResolveHelpFile() const
{
    if (!FHelpfile.empty())
        return FHelpfile;
    const TForm* form = HelpForm();
    if (form && form->HandleAllocated() && !form->HelpFile().empty())
        return form->HelpFile();
    return Application->HelpFile();
}

HWND THelpRouter::HelpOwnerWindow() const
{
    TForm* form = HelpForm();
    if (form && form->HandleAllocated())
        return form->Handle();
    return Application->Handle();
}

bool THelpRouter::RouteHelp(std::uint16_t Command, std::intptr_t Data, bool& CallHelp)
{
    bool Result = false;
    if (OnHelp)
        Result = OnHelp(Command, Data, CallHelp);
    if (CallHelp && FSavedAppOnHelp)
        Result = FSavedAppOnHelp(Command, Data, CallHelp);
    if (!CallHelp)
        return Result;

    CurrentHelpPath = ResolveHelpFile();
    if (FShowType == stMain) {
        if (Command == HELP_CONTEXTPOPUP)
            Command = HELP_CONTEXT;
        else if (Command == HELP_SETPOPUP_POS)
            Command = 0;
    }
    const bool popupCommand = Command == HELP_CONTEXTPOPUP || Command == HELP_SETPOPUP_POS;
    if (FHelpType == htHTMLhelp || (FHelpType == htMixedMode && !popupCommand))
        return RouteHtmlHelp(Command, Data, CallHelp, Result);
    Result = RouteWinHelp(Command, Data);
    CallHelp = false;
    return Result;
}

bool THelpRouter::RouteHtmlHelp(std::uint16_t Command, std::intptr_t Data, bool& CallHelp, bool Result)
{
    // Nothing is loaded just to be closed.
    if (!HtmlHelpLoaded() && Command == HELP_QUIT) {
        CallHelp = false;
        return true;
    }
    // Without the library the framework's own help takes the request.
    if (!HtmlHelpAvailable())
        return Result;

    CurrentHelpPath = ChangeHelpFileExt(CurrentHelpPath, ".chm");
    const char* file = CurrentHelpPath.c_str();
    CallHelp = false;
    switch (Command) {
    case HELP_CONTEXT: return CallHtmlHelp(nullptr, file, HH_HELP_CONTEXT, DataWord(Data)) != nullptr;
    case HELP_QUIT: return CallHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0) != nullptr;
    case HELP_CONTENTS:
    case HELP_FINDER: return CallHtmlHelp(nullptr, file, HH_DISPLAY_TOC, 0) != nullptr;
    case HELP_TAB_COMMAND:
        return CallHtmlHelp(nullptr, file, Data == 0 ? HH_DISPLAY_TOC : HH_DISPLAY_INDEX, 0) != nullptr;
    case HELP_KEY:
    case HELP_PARTIALKEY: return CallHtmlHelp(nullptr, file, HH_DISPLAY_INDEX, DataWord(Data)) != nullptr;
    case HELP_CONTEXTPOPUP: ContextPopup(DataNumber(Data)); return true;
    case HELP_SETPOPUP_POS: FPopupPos = UnpackHelpPoint(DataNumber(Data)); return false;
    default: return false;
    }
}

bool THelpRouter::RouteWinHelp(std::uint16_t Command, std::intptr_t Data)
{
    if (Command == 0)
        return true;
    if (Command == HELP_CONTEXTPOPUP && FHelpType == htMixedMode && LowerAscii(HelpFileExt(FCHMPopupTopics)) == ".hlp")
        CurrentHelpPath = MixedPopupHelpFile(CurrentHelpPath, FCHMPopupTopics);
    const std::string file = ChangeHelpFileExt(CurrentHelpPath, ".hlp");
    return WinHelpCall(HelpOwnerWindow(), file.c_str(), Command, DataWord(Data)) != 0;
}

void THelpRouter::ContextPopup(std::int32_t TopicNumber)
{
    if (FPopupPos == THelpPoint{}) {
        POINT cursor{};
        if (::GetCursorPos(&cursor))
            FPopupPos = {cursor.x, cursor.y};
    }
    ShowContextPopup(FPopupPos.X, FPopupPos.Y, TopicNumber);
    FPopupPos = {};
}

bool THelpRouter::ShowContextPopup(std::int32_t X, std::int32_t Y, std::int32_t TopicNumber)
{
    if (!HtmlHelpAvailable())
        return false;
    PopupRecord = {};
    PopupRecord.cbStruct = sizeof(HH_POPUP);
    PopupRecord.hinst = nullptr;
    PopupRecord.idString = static_cast<UINT>(TopicNumber);
    PopupRecord.pszText = EmptyPopupText;
    PopupRecord.pt = {X, Y};
    PopupRecord.clrForeground = 0x1FFFFFFF;
    PopupRecord.clrBackground = 0x1FFFFFFF;
    PopupRecord.rcMargins = {-1, -1, -1, -1};
    PopupRecord.pszFont = PopupFont;
    const auto record = reinterpret_cast<DWORD_PTR>(&PopupRecord);

    if (TopicNumber == 0)
        return CallHtmlHelp(HelpOwnerWindow(), nullptr, HH_DISPLAY_TEXT_POPUP, record) != nullptr;
    if (FCHMPopupTopics.empty())
        FCHMPopupTopics = "CSHelp.txt";
    CurrentHelpPath = ChangeHelpFileExt(ResolveHelpFile(), ".chm") + "::/" + FCHMPopupTopics;
    return CallHtmlHelp(HelpOwnerWindow(), CurrentHelpPath.c_str(), HH_DISPLAY_TEXT_POPUP, record) != nullptr;
}

void RegisterHelpRouter()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    RegisterEnum<THelpType>({{"htWinhelp", htWinhelp}, {"htHTMLhelp", htHTMLhelp}, {"htMixedMode", htMixedMode}});
    RegisterEnum<TShowType>({{"stDefault", stDefault}, {"stMain", stMain}, {"stPopup", stPopup}});
    RegisterComponentClass<THelpRouter, TComponent>("THelpRouter")
        .Property("HelpType", &THelpRouter::SetHelpType)
        .Property("ShowType", &THelpRouter::SetShowType)
        .Property("Helpfile", &THelpRouter::SetHelpfile)
        .Property("CHMPopupTopics", &THelpRouter::SetCHMPopupTopics)
        .Property("ValidateID", &THelpRouter::SetValidateID)
        .Property("OnHelp", [](THelpRouter* router, THelpEvent handler) { router->OnHelp = std::move(handler); });
}
