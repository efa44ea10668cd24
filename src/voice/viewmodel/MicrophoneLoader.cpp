#include "voice/viewmodel/MicrophoneLoader.h"

#include <QCoreApplication>
#include <QLibrary>

namespace halvex {

namespace {

QStringList builtInPlaces()
{
    // Where `cmake --install` puts it (relative to the app's bin/), else where the build put it.
    return {QCoreApplication::applicationDirPath()
                + QStringLiteral("/" HALVEX_INSTALLED_MODULES_FROM_BIN "/halvex_microphone"),
            QStringLiteral(HALVEX_MICROPHONE_MODULE_PATH)};
}

} // namespace

MicrophoneLoader::MicrophoneLoader(QStringList modules)
    : m_modules(modules.isEmpty() ? builtInPlaces() : std::move(modules))
{}

MicrophoneLoader::~MicrophoneLoader() = default;

AudioRecorderBackend* MicrophoneLoader::recorder()
{
    if (m_tried)
        return m_recorder.get();
    m_tried = true;
    using Make = AudioRecorderBackend* (*)();
    for (const QString& place : std::as_const(m_modules)) {
        QLibrary module(place);
        // Qt Multimedia keeps threads of its own; the module stays for the life of the process.
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (const auto make = reinterpret_cast<Make>(module.resolve("halvexMakeMicrophone"))) {
            m_recorder.reset(make());
            break;
        }
    }
    return m_recorder.get();
}

AudioRecorderBackend::Microphone MicrophoneLoader::microphone()
{
    AudioRecorderBackend* backend = recorder();
    return backend ? backend->microphone() : Microphone::missing;
}

bool MicrophoneLoader::start(const QString& file)
{
    AudioRecorderBackend* backend = recorder();
    return backend && backend->start(file);
}

void MicrophoneLoader::stop(std::function<void()> finished)
{
    if (m_recorder) {
        m_recorder->stop(std::move(finished));
        return;
    }
    if (finished)
        finished();
}

} // namespace halvex
