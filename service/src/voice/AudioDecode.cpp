#include "voice/AudioDecode.h"

#include "core/ChildProcess.h"
#include "core/Crypto.h"

#include <filesystem>
#include <fstream>

namespace service::voice {

namespace {

constexpr size_t kMaxPcmBytes = size_t(kMaxAudioSeconds) * kSampleRate * 2;

bool startsWith(const std::string& b, size_t at, const std::string& magic)
{
    return b.size() >= at + magic.size() && b.compare(at, magic.size(), magic) == 0;
}

// Containers and streams of compressed audio, recognised by their first bytes.
bool looksLikeCompressedAudio(const std::string& b)
{
    if (startsWith(b, 4, "ftyp") || startsWith(b, 0, "OggS") || startsWith(b, 0, "\x1A\x45\xDF\xA3")
        || startsWith(b, 0, "ID3") || startsWith(b, 0, "fLaC") || startsWith(b, 0, "ADIF") || startsWith(b, 0, "#!AMR")
        || startsWith(b, 0, "caff")
        || (startsWith(b, 0, "FORM") && (startsWith(b, 8, "AIFF") || startsWith(b, 8, "AIFC"))))
        return true;
    // An MPEG audio frame or an ADTS (raw AAC) header: both start with eleven set sync bits.
    return b.size() >= 4 && (unsigned char)b[0] == 0xFF && ((unsigned char)b[1] & 0xE0) == 0xE0;
}

AudioRefusal tooLong()
{
    return {413, "The recording is longer than " + std::to_string(kMaxAudioSeconds) + " seconds"};
}

std::variant<Samples, AudioRefusal> decodeCompressed(const std::string& bytes, const std::string& scratchDir)
{
    const auto gst = findProgram("gst-launch-1.0");
    if (!gst)
        return AudioRefusal{415, "Compressed audio cannot be decoded on this machine; send a WAV recording"};
    std::error_code ec;
    std::filesystem::create_directories(scratchDir, ec);
    const std::string path = scratchDir + "/upload-" + randomHex(8);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out)
            return AudioRefusal{500, "The recording could not be stored for decoding"};
    }
    const RunResult run
        = runProgram({*gst, "-q", "filesrc", "location=\"" + path + "\"", "!", "decodebin", "!", "audioconvert", "!",
                      "audioresample", "!", "audio/x-raw,format=S16LE,channels=1,rate=16000", "!", "fdsink", "fd=1"},
                     {}, std::chrono::seconds(60), kMaxPcmBytes + 4096);
    std::filesystem::remove(path, ec);
    if (run.truncated)
        return tooLong();
    if (!run.started || run.timedOut || run.exitCode != 0)
        return AudioRefusal{400, "The upload is not audio that can be decoded"};
    return fromS16le(run.output);
}

} // namespace

std::variant<Samples, AudioRefusal> decodeAudio(const std::string& bytes, const std::string& scratchDir)
{
    if (bytes.empty())
        return AudioRefusal{400, "The upload is empty"};
    if (bytes.size() > kMaxUploadBytes)
        return AudioRefusal{413, "The recording is larger than 25 MB"};
    std::variant<Samples, AudioRefusal> decoded;
    if (looksLikeWav(bytes)) {
        auto pcm = decodeWav(bytes);
        if (!pcm)
            return AudioRefusal{400, "The WAV file holds no audio that can be read"};
        decoded = std::move(*pcm);
    } else if (looksLikeCompressedAudio(bytes)) {
        decoded = decodeCompressed(bytes, scratchDir);
    } else {
        return AudioRefusal{400, "The upload is not audio (send WAV, M4A, AAC, Ogg, WebM, MP3 or FLAC)"};
    }
    if (const auto* pcm = std::get_if<Samples>(&decoded); pcm && seconds(*pcm) > kMaxAudioSeconds)
        return tooLong();
    return decoded;
}

} // namespace service::voice
