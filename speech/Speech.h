#pragma once
// The local date and time, and the spoken time played from the program's own WAVE clips.
#include <cstdint>

namespace siborang {

void GetToday(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);
void GetNowTime(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second);
// Plays the clips one after another; returns when the last one has finished.
void SpeakTime(std::uint16_t hour, std::uint16_t minute);
void SpeakNow();
// Starts the memo note's chime and returns at once.
void PlayChime();

}  // namespace siborang
