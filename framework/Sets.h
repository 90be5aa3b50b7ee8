#pragma once

// A small set of enumeration values (each below 32), kept as a bit mask.

#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E item : items)
            Include(item);
    }

    static constexpr TSet FromBits(std::uint32_t bits)
    {
        TSet result;
        result.FBits = bits;
        return result;
    }

    constexpr bool Contains(E item) const { return (FBits & Bit(item)) != 0; }
    constexpr TSet& Include(E item)
    {
        FBits |= Bit(item);
        return *this;
    }
    constexpr TSet& Exclude(E item)
    {
        FBits &= ~Bit(item);
        return *this;
    }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr std::uint32_t Bits() const { return FBits; }

    friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }
    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }

private:
    static constexpr std::uint32_t Bit(E item) { return std::uint32_t{1} << static_cast<unsigned>(item); }

    std::uint32_t FBits = 0;
};
