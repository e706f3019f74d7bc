// Small sound files made by the tests: a PCM WAV of a given length, MP3
// frames of silence, a one-note MIDI file.
#pragma once
#include <string>

namespace tessivane::test {

// 16-bit mono PCM at 22050 Hz with a quiet tone, ms milliseconds long.
void WriteWav(const std::wstring& path, int ms);
// MPEG-1 Layer III frames of silence (128 kbit/s, 44.1 kHz), about ms long.
void WriteMp3(const std::wstring& path, int ms);
// A format-0 MIDI file with one note of half a second.
void WriteMidi(const std::wstring& path);
// Any bytes under any name.
void WriteBytes(const std::wstring& path, const std::string& bytes);

}  // namespace tessivane::test
