#pragma once
// Speech audio as the recogniser takes it: 16 kHz mono signed 16-bit samples. Reads WAV files
// of any common sample format, writes them back, and cuts a live stream into utterances.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace service::voice {

inline constexpr int kSampleRate = 16000;
using Samples = std::vector<int16_t>;

// True when the bytes start like a RIFF/WAVE file.
bool looksLikeWav(const std::string& bytes);
// The file's audio downmixed to mono and resampled to 16 kHz; nothing when it is not PCM or
// float WAV we can read.
std::optional<Samples> decodeWav(const std::string& bytes);
// Little-endian signed 16-bit bytes as samples (an odd last byte is dropped).
Samples fromS16le(const std::string& bytes);
Samples resample(const std::vector<float>& mono, int fromRate);
std::string wavFile(const Samples& pcm, int rate = kSampleRate);
double seconds(const Samples& pcm);

// Energy-based voice activity: feeds a live stream in any chunk size and hands back each
// utterance once it is followed by enough quiet.
class UtteranceCutter {
public:
    // Each complete utterance in the order they ended.
    std::vector<Samples> feed(const Samples& chunk);
    // What is left as an utterance, when it holds speech; the cutter starts over.
    std::optional<Samples> flush();

private:
    void frame(const int16_t* samples, std::vector<Samples>& done);

    Samples m_partial;   // samples of the frame being filled
    Samples m_utterance; // speech so far, with a little lead-in
    Samples m_leadIn;    // the last quiet frames before speech starts
    int m_speechFrames = 0;
    int m_quietFrames = 0;
    bool m_inSpeech = false;
};

} // namespace service::voice
