#pragma once
// Millimetre and device-unit conversions for the page build, remembered: every field converts
// its line's position, its row heights and its style's line height, and the same few values
// come back over and over, while each conversion rounds in extended precision.
#include "platform/metafile/PageGeometry.h"

#include <cstdint>
#include <cstring>

class TDeviceUnits {
public:
    int MmToDevY(float mm, int dpiY)
    {
        uint32_t bits;
        std::memcpy(&bits, &mm, sizeof bits);
        Entry &e = toDev_[(bits ^ (bits >> 11) ^ (bits >> 19)) & (kSlots - 1)];
        if (!e.used || e.bits != bits || e.dpi != dpiY) {
            e = {bits, dpiY, platform::MmToDevY(mm, dpiY), true};
        }
        return e.value;
    }
    float DevToMmY(int d, int dpiY)
    {
        if (d < 0 || d >= kKnownDev)
            return platform::DevToMmY(d, dpiY);
        if (dpiY != dpi_) {
            dpi_ = dpiY;
            std::memset(known_, 0, sizeof known_);
        }
        if (!known_[d]) {
            toMm_[d] = platform::DevToMmY(d, dpiY);
            known_[d] = true;
        }
        return toMm_[d];
    }

private:
    struct Entry {
        uint32_t bits = 0;
        int dpi = 0;
        int value = 0;
        bool used = false;
    };
    static constexpr int kSlots = 1024;
    static constexpr int kKnownDev = 4096;
    Entry toDev_[kSlots];
    float toMm_[kKnownDev] = {};
    bool known_[kKnownDev] = {};
    int dpi_ = platform::kReferenceDpi;
};

// The one table of the page build (single-threaded, like the build itself).
TDeviceUnits &DeviceUnits();
