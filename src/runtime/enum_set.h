#pragma once
// A set of the members of an enumeration (at most 64), for option properties such as a dialog's Options.
#include <cstdint>
#include <initializer_list>

template <typename E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members)
    {
        for (E e : members)
            Include(e);
    }

    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TEnumSet& Include(E e)
    {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TEnumSet& Exclude(E e)
    {
        bits_ &= ~Bit(e);
        return *this;
    }
    // Includes the member when on is true, excludes it otherwise.
    constexpr TEnumSet& Set(E e, bool on) { return on ? Include(e) : Exclude(e); }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
    std::uint64_t bits_ = 0;
};
