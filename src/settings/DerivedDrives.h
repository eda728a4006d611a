#pragma once
// Turns the stored drive choice into the drives the widget monitors.
#include <cstdint>
#include <string>

#include "platform/Drives.h"

namespace pelmora {

struct CurrentDrives {
    std::string first;   // first character is the drive letter; empty = none
    std::string second;  // empty = not monitored
};

// Drive1 empty: the first fixed drive from A to Z. NrDrives 2 with Drive2
// empty: the first fixed drive other than the first. NrDrives 1: no second.
CurrentDrives deriveDrives(const std::string& drive1, const std::string& drive2, int32_t nrDrives,
                           Drives& drives);

}  // namespace pelmora
