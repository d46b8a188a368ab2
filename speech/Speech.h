#pragma once
// The local date and time, and the spoken time played from the program's own WAVE clips.
#include <cstdint>

namespace siborang {

void GetToday(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);
void GetNowTime(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second);
// Plays the clips one after another and returns when the last one has finished; meanwhile the
// thread answers what is sent to its windows, and leaves what is posted waiting. False when the
// program or the session ended first, which ends the announcement. An announcement asked for
// while one is playing (from a message sent meanwhile) is not spoken over it.
bool SpeakTime(std::uint16_t hour, std::uint16_t minute);
bool SpeakNow();

// Plays one of the program's clips and returns when it has finished. Tests replace it.
using ClipPlayer = void (*)(const char* clip);
extern ClipPlayer PlayClipToEnd;
// Starts the memo note's chime and returns at once.
void PlayChime();

}  // namespace siborang
