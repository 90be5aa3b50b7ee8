#pragma once

// The identity of a registered component class, kept as plain function
// pointers so that registries can compare classes without knowing them.
// Window-free.

#include <type_traits>

#include "framework/Component.h"

class TClassIdentity {
public:
    template <class T>
    static TClassIdentity Of()
    {
        static_assert(std::is_base_of_v<TComponent, T>, "only components have a class identity");
        return TClassIdentity(&Matches<T>, &Throw<T>, &Catches<T>);
    }

    // True when `c` is an instance of this class or of one derived from it.
    bool Accepts(const TComponent* c) const { return FMatcher(c); }
    // True when `other` is this class or derives from it.
    bool IsBaseOf(const TClassIdentity& other) const { return FCatcher(other.FThrower); }

private:
    using TMatcher = bool (*)(const TComponent*);
    // Throws a null pointer of the class; the catching side tells whether it
    // converts to its own class, which is how derivation is told apart
    // without an instance.
    using TThrower = void (*)();
    using TCatcher = bool (*)(TThrower);

    TClassIdentity(TMatcher matcher, TThrower thrower, TCatcher catcher)
        : FMatcher(matcher), FThrower(thrower), FCatcher(catcher)
    {
    }

    template <class T>
    static bool Matches(const TComponent* c)
    {
        return dynamic_cast<const T*>(c) != nullptr;
    }
    template <class T>
    static void Throw()
    {
        throw static_cast<T*>(nullptr);
    }
    template <class T>
    static bool Catches(TThrower thrower)
    {
        try {
            thrower();
        } catch (T*) {
            return true;
        } catch (...) {
            return false;
        }
        return false;
    }

    TMatcher FMatcher;
    TThrower FThrower;
    TCatcher FCatcher;
};
