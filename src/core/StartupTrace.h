#pragma once
// A timeline of start-up, off unless PELMORA_TRACE_STARTUP is set: each mark
// then prints "start-up: <ms> ms (processor <ms>) <phase>" to stderr, the
// process's processor time beside the milliseconds, these counted
// from the moment the variable holds (seconds since the epoch, as bash's
// $EPOCHREALTIME gives them: `PELMORA_TRACE_STARTUP=$EPOCHREALTIME pelmora`)
// or, when it holds anything else, from the first mark.
namespace pelmora {

void markStartup(const char* phase);

}  // namespace pelmora
