#include "support/SoundFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace tessivane::test {

namespace {

void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) throw std::runtime_error("cannot write a sound file");
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (fclose(file) != 0 || !written) throw std::runtime_error("cannot write a sound file");
}

void WriteWav(const std::wstring& path, int ms) {
  constexpr uint32_t kRate = 22050;
  const uint32_t samples = kRate * static_cast<uint32_t>(ms) / 1000;
  std::string out = "RIFF";
  Put32(out, 36 + samples * 2);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kRate);
  Put32(out, kRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out += "data";
  Put32(out, samples * 2);
  for (uint32_t i = 0; i < samples; ++i) {
    const double s = 2000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / kRate);
    Put16(out, static_cast<uint16_t>(static_cast<int16_t>(s)));
  }
  WriteBytes(path, out);
}

void WriteMp3(const std::wstring& path, int ms) {
  // 417 bytes a frame, 1152 samples (26.1 ms); all-zero side information
  // and data decode to silence.
  const int frames = ms * 44100 / 1152 / 1000 + 1;
  std::string out;
  for (int f = 0; f < frames; ++f) {
    std::string frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0xC4);  // mono, no emphasis
    out += frame;
  }
  WriteBytes(path, out);
}

void WriteMidi(const std::wstring& path) {
  const std::string track = {'\x00', '\x90', '\x3C', '\x40',          // note on, middle C
                             '\x81', '\x70', '\x80', '\x3C', '\x00',  // 240 ticks later: note off
                             '\x00', '\xFF', '\x2F', '\x00'};         // end of track
  // Big-endian header: length 6, format 0, one track, 240 ticks a beat.
  std::string out = "MThd";
  out += std::string("\x00\x00\x00\x06\x00\x00\x00\x01\x00\xF0", 10);
  out += "MTrk";
  out += std::string("\x00\x00\x00", 3) + static_cast<char>(track.size());
  out += track;
  WriteBytes(path, out);
}

}  // namespace tessivane::test
