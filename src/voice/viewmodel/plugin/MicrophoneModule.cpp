// The module's one entry point: MicrophoneLoader resolves it by name after loading the module.
#include "voice/viewmodel/plugin/MicrophoneRecorder.h"

extern "C" Q_DECL_EXPORT halvex::AudioRecorderBackend* halvexMakeMicrophone() { return new halvex::MicrophoneRecorder; }
