#include "voice/Pcm.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace service::voice {

namespace {

constexpr int kFrame = kSampleRate / 50;           // 20 ms
constexpr int kStartFrames = 3;                    // loud frames in a row that start speech
constexpr int kEndFrames = 35;                     // quiet frames that end it (0.7 s)
constexpr int kMinSpeechFrames = 12;               // shorter bursts are noise
constexpr int kLeadInFrames = 10;                  // quiet kept before speech
constexpr size_t kMaxUtterance = kSampleRate * 20; // a longer utterance is cut here
constexpr double kLoud = 400.0;                    // RMS of a speech frame, of 32767

uint32_t le32(const std::string& b, size_t at)
{
    return uint32_t((unsigned char)b[at]) | uint32_t((unsigned char)b[at + 1]) << 8
        | uint32_t((unsigned char)b[at + 2]) << 16 | uint32_t((unsigned char)b[at + 3]) << 24;
}
uint16_t le16(const std::string& b, size_t at)
{
    return uint16_t((unsigned char)b[at] | (unsigned char)b[at + 1] << 8);
}

// One sample as -1..1; `format` 1 is integer PCM, 3 is IEEE float.
float sampleAt(const std::string& b, size_t at, int format, int bits)
{
    if (format == 3) {
        if (bits == 32) {
            float f;
            const uint32_t v = le32(b, at);
            std::memcpy(&f, &v, 4);
            return std::isfinite(f) ? std::clamp(f, -1.0f, 1.0f) : 0.0f;
        }
        uint64_t v = uint64_t(le32(b, at)) | uint64_t(le32(b, at + 4)) << 32;
        double d;
        std::memcpy(&d, &v, 8);
        return std::isfinite(d) ? float(std::clamp(d, -1.0, 1.0)) : 0.0f;
    }
    switch (bits) {
    case 8:
        return (float((unsigned char)b[at]) - 128.0f) / 128.0f;
    case 16:
        return float(int16_t(le16(b, at))) / 32768.0f;
    case 24: {
        int32_t v = int32_t(uint32_t((unsigned char)b[at]) << 8 | uint32_t((unsigned char)b[at + 1]) << 16
                            | uint32_t((unsigned char)b[at + 2]) << 24);
        return float(v >> 8) / 8388608.0f;
    }
    default:
        return float(int32_t(le32(b, at))) / 2147483648.0f;
    }
}

void append(std::string& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

double rms(const int16_t* s, int n)
{
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / n);
}

} // namespace

bool looksLikeWav(const std::string& bytes)
{
    return bytes.size() >= 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0;
}

std::optional<Samples> decodeWav(const std::string& bytes)
{
    if (!looksLikeWav(bytes))
        return std::nullopt;
    int format = 0, channels = 0, rate = 0, bits = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        // Streamed files leave the sizes unknown; the data then runs to the end.
        const size_t size = std::min<size_t>(le32(bytes, at + 4), bytes.size() - at - 8);
        const size_t body = at + 8;
        if (id == "fmt " && size >= 16) {
            format = le16(bytes, body);
            channels = le16(bytes, body + 2);
            rate = int(le32(bytes, body + 4));
            bits = le16(bytes, body + 14);
            if (format == 0xFFFE && size >= 26)
                format = le16(bytes, body + 24); // the sub-format of an extensible header
        } else if (id == "data") {
            const bool known = (format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
                || (format == 3 && (bits == 32 || bits == 64));
            if (!known || channels < 1 || channels > 16 || rate < 4000 || rate > 384000)
                return std::nullopt;
            const size_t frameBytes = size_t(bits / 8) * size_t(channels);
            const size_t frames = size / frameBytes;
            std::vector<float> mono(frames);
            for (size_t f = 0; f < frames; ++f) {
                float sum = 0;
                for (int c = 0; c < channels; ++c)
                    sum += sampleAt(bytes, body + f * frameBytes + size_t(c) * size_t(bits / 8), format, bits);
                mono[f] = sum / float(channels);
            }
            return resample(mono, rate);
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

Samples fromS16le(const std::string& bytes)
{
    Samples out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(le16(bytes, 2 * i));
    return out;
}

Samples resample(const std::vector<float>& mono, int fromRate)
{
    auto toSample = [](float v) { return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); };
    if (fromRate == kSampleRate) {
        Samples out(mono.size());
        std::transform(mono.begin(), mono.end(), out.begin(), toSample);
        return out;
    }
    const double step = double(fromRate) / kSampleRate;
    // Going down, each output sample averages the input it covers, which keeps what lies above
    // the new Nyquist frequency from folding back into speech.
    const int width = step > 1 ? int(std::ceil(step)) : 1;
    const size_t count = size_t(double(mono.size()) / step);
    Samples out(count);
    for (size_t i = 0; i < count; ++i) {
        const double pos = double(i) * step;
        const size_t base = size_t(pos);
        float v;
        if (width > 1) {
            float sum = 0;
            int n = 0;
            for (size_t k = base; k < base + size_t(width) && k < mono.size(); ++k, ++n)
                sum += mono[k];
            v = n ? sum / float(n) : 0.0f;
        } else {
            const float a = mono[std::min(base, mono.size() - 1)];
            const float b = mono[std::min(base + 1, mono.size() - 1)];
            v = a + float(pos - double(base)) * (b - a);
        }
        out[i] = toSample(v);
    }
    return out;
}

std::string wavFile(const Samples& pcm, int rate)
{
    const uint32_t dataBytes = uint32_t(pcm.size() * 2);
    std::string out = "RIFF";
    append(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    append(out, 16, 4);
    append(out, 1, 2);
    append(out, 1, 2);
    append(out, uint32_t(rate), 4);
    append(out, uint32_t(rate * 2), 4);
    append(out, 2, 2);
    append(out, 16, 2);
    out += "data";
    append(out, dataBytes, 4);
    for (int16_t s : pcm)
        append(out, uint16_t(s), 2);
    return out;
}

double seconds(const Samples& pcm) { return double(pcm.size()) / kSampleRate; }

std::vector<Samples> UtteranceCutter::feed(const Samples& chunk)
{
    std::vector<Samples> done;
    for (int16_t s : chunk) {
        m_partial.push_back(s);
        if (m_partial.size() == size_t(kFrame)) {
            frame(m_partial.data(), done);
            m_partial.clear();
        }
    }
    return done;
}

void UtteranceCutter::frame(const int16_t* samples, std::vector<Samples>& done)
{
    const bool loud = rms(samples, kFrame) >= kLoud;
    if (!m_inSpeech) {
        m_leadIn.insert(m_leadIn.end(), samples, samples + kFrame);
        m_speechFrames = loud ? m_speechFrames + 1 : 0;
        if (m_speechFrames >= kStartFrames) {
            m_inSpeech = true;
            m_quietFrames = 0;
            m_utterance = std::move(m_leadIn);
            m_leadIn.clear();
        } else if (m_leadIn.size() > size_t(kFrame * kLeadInFrames))
            m_leadIn.erase(m_leadIn.begin(), m_leadIn.begin() + kFrame);
        return;
    }
    m_utterance.insert(m_utterance.end(), samples, samples + kFrame);
    m_speechFrames += loud ? 1 : 0;
    m_quietFrames = loud ? 0 : m_quietFrames + 1;
    if (m_quietFrames >= kEndFrames || m_utterance.size() >= kMaxUtterance) {
        if (m_speechFrames >= kMinSpeechFrames)
            done.push_back(std::move(m_utterance));
        m_utterance.clear();
        m_inSpeech = false;
        m_speechFrames = 0;
    }
}

std::optional<Samples> UtteranceCutter::flush()
{
    std::optional<Samples> out;
    if (m_inSpeech && m_speechFrames >= kMinSpeechFrames)
        out = std::move(m_utterance);
    *this = UtteranceCutter();
    return out;
}

} // namespace service::voice
