#pragma once
// The processor identification instruction and time-stamp counter of x86
// processors, shared by every system's processor identity. On other
// processors there is neither: no name, no counter.
#include <cstdint>
#include <string>

namespace pelmora {

// True where the identification instruction exists (x86 and x86-64 builds).
bool hasIdentificationInstruction();

// The brand string of the extended leaves, else a family and model name by
// vendor (ProcessorNames.h), else "Unknown".
std::string identifiedProcessorName();

bool hasTimeStampCounter();
uint64_t readTimeStampCounter();  // 0 without one

}  // namespace pelmora
