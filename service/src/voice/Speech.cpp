#include "voice/Speech.h"

#include "core/ChildProcess.h"
#include "voice/Pcm.h"

namespace service::voice {

std::optional<std::string> speak(const std::string& text)
{
    static const auto program = findProgram("espeak-ng");
    if (!program || text.empty())
        return std::nullopt;
    const RunResult run
        = runProgram({*program, "--stdout", "-v", "en-us", "--stdin"}, text, std::chrono::seconds(20), 16 << 20);
    if (!run.started || run.timedOut || run.truncated || run.exitCode != 0)
        return std::nullopt;
    // espeak-ng streams its WAV with unknown sizes; written again, every player reads it.
    const auto pcm = decodeWav(run.output);
    return pcm ? std::optional(wavFile(*pcm)) : std::nullopt;
}

} // namespace service::voice
