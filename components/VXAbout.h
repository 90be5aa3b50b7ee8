#pragma once

// The About box component: Execute shows the About dialog modally.

#include "framework/Component.h"

class TVXAboutBox : public TComponent {
public:
    explicit TVXAboutBox(TComponent* AOwner) : TComponent(AOwner) {}

    // Builds the About form, shows it modally and destroys it. A failure to
    // build it (no version resource) reaches the caller; nothing is shown.
    void Execute();
};

// Registers the About box's class table and those of every class its form
// is made of; idempotent.
void RegisterAboutComponents();
