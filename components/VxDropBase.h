#pragma once

// Base classes of the drop library: its component base and its error family.

#include "framework/Component.h"
#include "framework/Exceptions.h"

#include <cstdint>
#include <string>

// An error of the drop library, built from a code of its message table.
class EVxDropException : public Exception {
public:
    explicit EVxDropException(std::int32_t ACode);
    std::int32_t Code;
};

class EVxDropFilesError : public EVxDropException {
public:
    using EVxDropException::EVxDropException;
};

class TVxDropComponent : public TComponent {
public:
    using TComponent::TComponent;

    // The library's version; assignments are ignored and it is never stored.
    std::string Version() const { return "1.02"; }
    void SetVersion(const std::string&) {}
};
