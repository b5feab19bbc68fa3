#pragma once

#include <cstdint>
#include <initializer_list>

namespace fenu {

/// The members of the drawing area's option set; the value is the bit number.
enum class TDXDrawOption : uint8_t {
    doFullScreen = 0,
    doNoWindowChange = 1,
    doAllowReboot = 2,
    doWaitVBlank = 3,
    doAllowPalette256 = 4,
    doSystemMemory = 5,
    doStretch = 6,
    doCenter = 7,
    doFlip = 8,
    do3D = 9,
    doDirectX7Mode = 10,
    doRetainedMode = 11,
    doHardware = 12,
    doSelectDriver = 13,
    doZBuffer = 14,
};

/// A set of TDXDrawOption; bit n of Bits() is the member with value n.
class TDXDrawOptions {
public:
    constexpr TDXDrawOptions() = default;
    constexpr TDXDrawOptions(std::initializer_list<TDXDrawOption> members) {
        for (TDXDrawOption member : members)
            bits_ = static_cast<uint16_t>(bits_ | Bit(member));
    }

    constexpr uint16_t Bits() const { return bits_; }
    constexpr bool Contains(TDXDrawOption member) const { return (bits_ & Bit(member)) != 0; }
    constexpr void Include(TDXDrawOption member) {
        bits_ = static_cast<uint16_t>(bits_ | Bit(member));
    }
    constexpr void Exclude(TDXDrawOption member) {
        bits_ = static_cast<uint16_t>(bits_ & ~Bit(member));
    }
    constexpr void Exclude(std::initializer_list<TDXDrawOption> members) {
        for (TDXDrawOption member : members)
            Exclude(member);
    }
    friend constexpr bool operator==(TDXDrawOptions, TDXDrawOptions) = default;

private:
    static constexpr uint16_t Bit(TDXDrawOption member) {
        return static_cast<uint16_t>(1u << static_cast<unsigned>(member));
    }
    uint16_t bits_ = 0;
};

/// The options of a new drawing area (and of the game's).
inline constexpr TDXDrawOptions DefaultDXDrawOptions{
    TDXDrawOption::doAllowReboot,  TDXDrawOption::doWaitVBlank, TDXDrawOption::doCenter,
    TDXDrawOption::doDirectX7Mode, TDXDrawOption::doHardware,   TDXDrawOption::doSelectDriver};

/// The options in force after Options is set to asked: while not initialized they
/// follow asked (without the members that only full-screen or 3-D use); while
/// initialized only doWaitVBlank, doStretch and doCenter can change.
TDXDrawOptions EffectiveDXDrawOptions(TDXDrawOptions asked, TDXDrawOptions current,
                                      bool initialized);

} // namespace fenu
