#pragma once
// The system status services as the test sets them up.
#include <string>

#include "platform/SystemStatus.h"

namespace pelmora {

class FakeTickCount : public TickCount {
public:
    uint64_t ms = 0;
    uint64_t milliseconds() override { return ms; }
};

class FakeNames : public Names {
public:
    bool computerKnown = true;
    std::string computer = "WORKSTATION";
    bool userKnown = true;
    std::string user = "anna";
    std::string group;

    bool computerName(std::string& name) override
    {
        if (computerKnown) name = computer;
        return computerKnown;
    }
    bool userName(std::string& name) override
    {
        if (userKnown) name = user;
        return userKnown;
    }
    std::string workgroup() override { return group; }
};

class FakeDisplay : public Display {
public:
    bool available = true;
    DisplayMode mode{1920, 1080, 32, 60};

    bool currentMode(DisplayMode& current) override
    {
        if (available) current = mode;
        return available;
    }
};

class FakeAudio : public Audio {
public:
    bool present = true;
    uint32_t support = kVolumeControlCapability;
    bool volumeReadable = true;
    uint32_t volume = 0xFFFFFFFF;
    int volumeQueries = 0;

    bool outputCapabilities(uint32_t& caps) override
    {
        if (present) caps = support;
        return present;
    }
    bool outputVolume(uint32_t& level) override
    {
        ++volumeQueries;
        if (present && volumeReadable) level = volume;
        return present && volumeReadable;
    }
};

class FakePower : public Power {
public:
    bool queryWorks = true;
    PowerStatus status;

    bool systemPowerStatus(PowerStatus& current) override
    {
        if (queryWorks) current = status;
        return queryWorks;
    }
};

}  // namespace pelmora
