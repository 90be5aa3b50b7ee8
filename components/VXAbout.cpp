#include "components/VXAbout.h"

#include <memory>

#include "components/FVXAbout.h"
#include "framework/FormReader.h"
#include "framework/FormWriter.h"

void TVXAboutBox::Execute()
{
    const std::unique_ptr<TVXAboutForm> form(new TVXAboutForm(this));
    form->ShowModal();
}

void RegisterAboutBox()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterComponentClass<TVXAboutBox>("TVXAboutBox");
    RegisterWriterClass<TVXAboutBox>("TVXAboutBox");
}

static const bool AboutBoxRegistered = (RegisterAboutBox(), true);
