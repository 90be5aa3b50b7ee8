#pragma once

// The About dialog: icon, product name, version, copyright, build type, the
// maker's address and links, built from its form description.

#include <string>

#include "components/VXControls.h"
#include "components/VXVerLabel.h"
#include "components/VxButtons.h"
#include "components/VxFileUtils.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

// "DEBUG ", "PRERELEASE ", "PRIVATE " and "SPECIAL " for the flags present,
// in that order.
std::string BuildTypeLine(TVersionBuildFlags Flags);

class TVXAboutForm : public TForm {
public:
    // Reads the description; a version label that cannot read the version
    // resource makes this raise, with nothing of the form left behind.
    explicit TVXAboutForm(TComponent* AOwner);

    TBevel* Bevel1 = nullptr;
    TImage* CIcon = nullptr;
    TVXVersionLabel* CProduct = nullptr;
    TVXVersionLabel* CVersion = nullptr;
    TVXVersionLabel* CCopyright = nullptr;
    TLabel* CComment = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TVxLinkLabel* CMailURL = nullptr;
    TVxLinkLabel* CWebURL = nullptr;
    TVxButton* BtnOk = nullptr;

    // Icon, title "About <product>" and the build-type line.
    void FormCreate(TComponent* Sender);
};

// Registers every class the About form's description names.
void RegisterAboutFormClasses();
