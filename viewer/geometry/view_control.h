#pragma once
// The controls of the frame tick: which held keys change the model transform, the camera and the
// light, by how much, and the wheel zoom. The window reads the keyboard (GetKeyState) once per
// tick into a HeldKeys and hands it here; everything below is plain arithmetic on the scene, so
// the rules are the same in every build and tested without a window.
//
// Keys act while held: every tick applies one step per held key, so turning and zooming speed
// follows the tick rate.

#include <array>
#include <bitset>
#include <cstdint>

#include "scene/scene.h"

namespace maglorin {

// Virtual-key codes of the controls (the values the keyboard reports).
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyC = 67;
inline constexpr int kKeyK = 75;
inline constexpr int kKeyL = 76;
inline constexpr int kKeyQ = 81;
inline constexpr int kKeyR = 82;
inline constexpr int kKeyS = 83;
inline constexpr int kKeyT = 84;
inline constexpr int kKeyW = 87;
inline constexpr int kKeyX = 88;
inline constexpr int kKeyY = 89;
inline constexpr int kKeyZ = 90;

// Every key a tick looks at; the window samples exactly these.
inline constexpr std::array<int, 18> kControlKeys = {
    kKeyEscape, kKeyPageUp, kKeyPageDown, kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeyC, kKeyK,
    kKeyL,      kKeyQ,      kKeyR,        kKeyS,    kKeyT,  kKeyW,     kKeyX,    kKeyY, kKeyZ};

// The keys held at the moment of one tick, by virtual-key code.
class HeldKeys {
public:
    HeldKeys() = default;
    HeldKeys(std::initializer_list<int> codes) {
        for (int code : codes) Press(code);
    }
    void Press(int code) {
        if (code >= 0 && code < 256) held_.set(static_cast<std::size_t>(code));
    }
    bool IsHeld(int code) const {
        return code >= 0 && code < 256 && held_.test(static_cast<std::size_t>(code));
    }
    bool Any() const { return held_.any(); }

private:
    std::bitset<256> held_;
};

// What a tick asks of the window besides the scene changes.
struct ViewInputResult {
    bool closeRequested = false;      // Escape: close the main window (the program ends)
    bool focalLengthChanged = false;  // Z with a page key changed Camera.FocalLength
};

// One input pass over the held keys (the wheel is separate, see WheelZoom): the model group
// (R rotate, else S scale, else T move), the camera group (Q target, else W eye, else Y roll,
// else Z focal length), the light group (L position, else K direction), then C (default camera),
// X (fitted model transform) and Escape. Sets scene.KeyStep to 5 first.
ViewInputResult ApplyHeldKeys(Scene& scene, const HeldKeys& keys);

// One wheel notch: negative (turned towards the user) zooms in by 0.25, positive zooms out by
// 0.25; the scale never falls below 0.1.
void WheelZoom(Scene& scene, int notch);

// Recomputes Camera.Up from the eye, the target and Roll. Moves the eye one unit along z when it
// sits level with the target, so the camera never looks exactly sideways.
void UpdateCameraUp(Camera& camera);

}  // namespace maglorin
