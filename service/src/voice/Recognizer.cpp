#include "voice/Recognizer.h"

#include <cstdio>
#include <filesystem>
#include <mutex>

#ifdef HALVEX_HAVE_POCKETSPHINX
#include <pocketsphinx.h>
#endif

namespace service::voice {

#ifdef HALVEX_HAVE_POCKETSPHINX

namespace {

constexpr const char* kModel = "/usr/share/pocketsphinx/model/en-us";

class Decoder {
public:
    Decoder()
    {
        const std::string hmm = std::string(kModel) + "/en-us";
        const std::string lm = std::string(kModel) + "/en-us.lm.bin";
        const std::string dict = std::string(kModel) + "/cmudict-en-us.dict";
        std::error_code ec;
        if (!std::filesystem::exists(hmm, ec) || !std::filesystem::exists(lm, ec)
            || !std::filesystem::exists(dict, ec)) {
            std::fprintf(stderr, "speech recognition off: no model in %s\n", kModel);
            return;
        }
        m_config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-lm", lm.c_str(), "-dict", dict.c_str(),
                               "-logfn", "/dev/null", nullptr);
        if (m_config)
            m_decoder = ps_init(m_config);
    }
    ~Decoder()
    {
        if (m_decoder)
            ps_free(m_decoder);
        if (m_config)
            cmd_ln_free_r(m_config);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    std::optional<std::string> decode(const Samples& pcm)
    {
        if (!m_decoder)
            return std::nullopt;
        if (pcm.empty())
            return std::string();
        // The whole utterance at once: its own mean normalises it, whatever came before.
        if (ps_start_utt(m_decoder) < 0)
            return std::nullopt;
        ps_process_raw(m_decoder, pcm.data(), pcm.size(), FALSE, TRUE);
        ps_end_utt(m_decoder);
        int32 score = 0;
        const char* hyp = ps_get_hyp(m_decoder, &score);
        return std::string(hyp ? hyp : "");
    }

private:
    cmd_ln_t* m_config = nullptr;
    ps_decoder_t* m_decoder = nullptr;
};

} // namespace

std::optional<std::string> recognise(const Samples& pcm)
{
    static std::mutex lock;
    static std::unique_ptr<Decoder> decoder;
    std::lock_guard guard(lock);
    if (!decoder)
        decoder = std::make_unique<Decoder>();
    return decoder->decode(pcm);
}

#else

std::optional<std::string> recognise(const Samples&) { return std::nullopt; }

#endif

} // namespace service::voice
