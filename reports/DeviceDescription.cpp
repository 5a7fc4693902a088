#include "DeviceDescription.h"

int DeviceDescription::sourceOf(TRepOutputBin bin)
{
    switch (bin) {
    case TRepOutputBin::First:
    case TRepOutputBin::Upper:
        return 1;
    case TRepOutputBin::Lower:
        return 2;
    case TRepOutputBin::Middle:
        return 3;
    case TRepOutputBin::Manual:
        return 4;
    case TRepOutputBin::Envelope:
        return 5;
    case TRepOutputBin::EnvManual:
        return 6;
    case TRepOutputBin::Auto:
        return 7;
    case TRepOutputBin::Tractor:
        return 8;
    case TRepOutputBin::SmallFormat:
        return 9;
    case TRepOutputBin::LargeFormat:
        return 10;
    case TRepOutputBin::LargeCapacity:
        return 11;
    case TRepOutputBin::Cassette:
    case TRepOutputBin::Last:
        return 14;
    }
    return 7;
}
