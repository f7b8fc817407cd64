#pragma once

#include <cstdint>
#include <initializer_list>

namespace retrove {

// A set of up to 32 members of an enumeration, bit i standing for ordinal i,
// so that a set can be stored and read back as a plain bit mask.
template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E member : members) FBits |= Bit(member);
  }

  static constexpr TSet FromBits(uint32_t bits) {
    TSet result;
    result.FBits = bits;
    return result;
  }

  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr bool Contains(E member) const { return (FBits & Bit(member)) != 0; }

  constexpr TSet& Include(E member) {
    FBits |= Bit(member);
    return *this;
  }
  constexpr TSet& Exclude(E member) {
    FBits &= ~Bit(member);
    return *this;
  }

  friend constexpr TSet operator|(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
  friend constexpr TSet operator&(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
  friend constexpr bool operator==(TSet a, TSet b) = default;

private:
  static constexpr uint32_t Bit(E member) { return uint32_t{1} << static_cast<unsigned>(member); }

  uint32_t FBits = 0;
};

}  // namespace retrove
