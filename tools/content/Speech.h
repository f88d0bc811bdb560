#pragma once
// Spoken text for the sample content: the question voices are the question's words as espeak-ng
// (an external program, Debian package espeak-ng) speaks them, mono at 22,050 Hz. The same text,
// length and espeak-ng always give the same samples.
#include <cstddef>
#include <string>
#include <vector>

namespace content {

// The program the content build runs to speak.
inline constexpr const char* kSpeechProgram = "espeak-ng";

// Whether the speech program runs; false with the reason ("espeak-ng is not installed ...").
bool SpeechAvailable(std::string& why);

// The text spoken, fitted into `frames` samples: spoken faster when it would not fit, silence
// after it up to the length. Empty (with the reason) when the program fails.
std::vector<float> SpeakText(const std::string& text, size_t frames, std::string& why);

}  // namespace content
