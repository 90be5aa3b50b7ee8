#include "app/Registration.h"

#include "components/VXAbout.h"
#include "components/VxDrop.h"
#include "config/VxFormPosition.h"
#include "framework/Forms.h"
#include "help/VxHelpRouter.h"
#include "hexview/VxHexViewer.h"

void RegisterQuorvelClasses()
{
    RegisterFrameworkClasses();
    RegisterHexViewer();
    RegisterDropFiles();
    RegisterFormPosition();
    RegisterHelpRouter();
    RegisterAboutComponents();
}
