#include "speech/ClipSequence.h"

namespace siborang {

std::vector<std::string> ClipSequence(std::uint16_t hour, std::uint16_t minute) {
    std::vector<std::string> clips;

    // The hour is spoken on a 12-hour dial: 0 and 12 are both twelve.
    unsigned h = hour;
    if (h > 12) h -= 12;
    if (h == 0) h = 12;
    const std::string hourText = std::to_string(h);
    const std::string minuteText = std::to_string(minute);

    char digit = hourText[0];
    if (hourText.size() == 2) {
        clips.emplace_back("___Hour10");
        digit = hourText[1];
    }
    if (digit != '0') clips.push_back(std::string("___Hour") + digit);
    clips.emplace_back("___Hours");
    if (minute == 0) return clips;

    // Tens: "ten" alone for 10-19, digit then "ten" for 20-59; a zero unit adds nothing.
    digit = minuteText[0];
    if (minuteText.size() == 2) {
        if (digit != '1') clips.push_back(std::string("___Minute") + digit);
        clips.emplace_back("___Minute10");
        digit = minuteText[1];
    }
    if (digit != '0') clips.push_back(std::string("___Minute") + digit);
    clips.emplace_back("___Minute");
    return clips;
}

}  // namespace siborang
