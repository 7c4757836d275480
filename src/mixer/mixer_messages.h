#pragma once

namespace qmx::mixer {

inline constexpr const char* kOpenFailed =
    "Error! Unable to open a Mixer Device. Program will be terminated.";
inline constexpr const char* kLineInfoFailed = "Error! Unable to get Mixer Line information.";
inline constexpr const char* kLineControlsFailed =
    "Error! Unable to retriev the controls associated with an audio line .";
inline constexpr const char* kVolumeReadFailed = "Error! Can't get Mixer Control Details.";
inline constexpr const char* kMuteReadFailed = "Error! Unable to get Mixer Control Details.";
inline constexpr const char* kWriteFailed = "Error! Unable to set Mixer Control Details.";

}  // namespace qmx::mixer
