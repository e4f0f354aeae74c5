// A small set over an enumeration whose values are bit numbers, as the stored
// formats keep them: the raw bits are the value that files and masks hold.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace pagora {

template <typename E, typename Bits = std::uint32_t>
class TSet {
public:

  constexpr TSet() noexcept = default;
  constexpr TSet(std::initializer_list<E> values) noexcept {
    for (E v : values) Include(v);
  }
  [[nodiscard]] static constexpr TSet FromRaw(Bits raw) noexcept {
    TSet s;
    s.bits_ = raw;
    return s;
  }

  [[nodiscard]] constexpr Bits Raw() const noexcept { return bits_; }
  [[nodiscard]] constexpr bool Contains(E v) const noexcept { return (bits_ & Bit(v)) != 0; }
  [[nodiscard]] constexpr bool Empty() const noexcept { return bits_ == 0; }
  constexpr TSet& Include(E v) noexcept { bits_ |= Bit(v); return *this; }
  constexpr TSet& Exclude(E v) noexcept { bits_ &= ~Bit(v); return *this; }
  constexpr TSet& Set(E v, bool on) noexcept { return on ? Include(v) : Exclude(v); }

  friend constexpr TSet operator|(TSet a, TSet b) noexcept { return FromRaw(a.bits_ | b.bits_); }
  friend constexpr TSet operator&(TSet a, TSet b) noexcept { return FromRaw(a.bits_ & b.bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) noexcept { return FromRaw(a.bits_ & ~b.bits_); }
  friend constexpr bool operator==(TSet a, TSet b) noexcept { return a.bits_ == b.bits_; }

private:
  static constexpr Bits Bit(E v) noexcept {
    return static_cast<Bits>(Bits{1} << static_cast<unsigned>(v));
  }
  Bits bits_ = 0;
};

}  // namespace pagora
