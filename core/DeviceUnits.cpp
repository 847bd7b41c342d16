#include "core/DeviceUnits.h"

TDeviceUnits &DeviceUnits()
{
    static TDeviceUnits units;
    return units;
}
