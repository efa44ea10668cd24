// The microphone's module is loaded on the first question asked of it, never before; without the
// module the microphone reads as missing and a stop still finishes.
#include "voice/viewmodel/MicrophoneLoader.h"

#include <QLibrary>

#include <gtest/gtest.h>

using namespace halvex;

TEST(MicrophoneLoader, LoadsItsModuleOnFirstUseAndWithoutOneRecordsNothing)
{
    const QString module = QStringLiteral(HALVEX_TEST_MICROPHONE_MODULE);
    MicrophoneLoader microphone({module});
    EXPECT_FALSE(QLibrary(module).isLoaded());
    microphone.microphone(); // allowed or missing, as the machine has a microphone or not
    EXPECT_TRUE(QLibrary(module).isLoaded());

    MicrophoneLoader without({QStringLiteral("/nonexistent/halvex_microphone")});
    EXPECT_EQ(without.microphone(), AudioRecorderBackend::Microphone::missing);
    EXPECT_FALSE(without.start(QStringLiteral("/tmp/never.m4a")));
    bool finished = false;
    without.stop([&] { finished = true; });
    EXPECT_TRUE(finished);
}
