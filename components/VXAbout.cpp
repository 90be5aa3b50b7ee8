#include "components/VXAbout.h"

#include <memory>

#include "components/FVXAbout.h"
#include "framework/ClassTable.h"

void TVXAboutBox::Execute()
{
    const std::unique_ptr<TVXAboutForm> form(new TVXAboutForm(this));
    form->ShowModal();
}

void RegisterAboutComponents()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterAboutFormClasses();
    RegisterComponentClass<TVXAboutBox, TComponent>("TVXAboutBox");
}
