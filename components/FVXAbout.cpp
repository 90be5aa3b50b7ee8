#include "components/FVXAbout.h"

#include "framework/Application.h"

std::string BuildTypeLine(TVersionBuildFlags Flags)
{
    const std::pair<TVersionBuildFlag, const char*> words[] = {
        {TVersionBuildFlag::vfDebug, "DEBUG "},
        {TVersionBuildFlag::vfPreRelease, "PRERELEASE "},
        {TVersionBuildFlag::vfPrivateBuild, "PRIVATE "},
        {TVersionBuildFlag::vfSpecialBuild, "SPECIAL "},
    };
    std::string line;
    for (const auto& [flag, word] : words)
        if (Flags.Contains(flag))
            line += word;
    return line;
}

void RegisterAboutFormClasses()
{
    RegisterFrameworkClasses();
    RegisterStdControls();
    RegisterExtControls();
    RegisterVersionLabel();
    RegisterLinkLabel();
    RegisterVxButton();
}

TVXAboutForm::TVXAboutForm(TComponent* AOwner) : TForm(AOwner)
{
    Publish("Bevel1", Bevel1);
    Publish("CIcon", CIcon);
    Publish("CProduct", CProduct);
    Publish("CVersion", CVersion);
    Publish("CCopyright", CCopyright);
    Publish("CComment", CComment);
    Publish("Label2", Label2);
    Publish("Label3", Label3);
    Publish("Label4", Label4);
    Publish("CMailURL", CMailURL);
    Publish("CWebURL", CWebURL);
    Publish("BtnOk", BtnOk);
    Publish("FormCreate", &TVXAboutForm::FormCreate);
    try {
        ReadDescription("TVXAboutForm");
    } catch (...) {
        // The components go while the fields they are published in still exist.
        Destroying();
        DestroyHandle();
        DestroyComponents();
        throw;
    }
}

void TVXAboutForm::FormCreate(TComponent*)
{
    CIcon->Icon().Assign(Application->Icon());
    const TVxFileVersionInfo info(Application->ExeName());
    SetCaption("About " + info.StandardKeyValue(9));
    CComment->SetCaption(BuildTypeLine(info.BuildFlags()));
}
