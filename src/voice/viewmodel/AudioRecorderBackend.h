#pragma once
// The platform recorder behind dictation: the microphone through Qt Multimedia in the app, a
// test source in tests.
#include <QString>

#include <functional>

namespace halvex {

class AudioRecorderBackend {
public:
    enum class Microphone { allowed, refused, missing };

    virtual ~AudioRecorderBackend() = default;
    // Whether the microphone may be used; asked before every recording.
    virtual Microphone microphone() = 0;
    // Starts recording AAC audio at 44,100 Hz into `file`; false when it could not start.
    virtual bool start(const QString& file) = 0;
    // Ends the recording; `finished` runs once the file is complete (at once if nothing records).
    virtual void stop(std::function<void()> finished) = 0;
};

} // namespace halvex
