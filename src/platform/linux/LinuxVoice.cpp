#include "platform/linux/LinuxVoice.h"

#include "platform/Platform.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "platform/linux/QtAudioInput.h"
#include "platform/linux/QtAudioPlayer.h"
#include "platform/linux/QtSoundLibrary.h"
#include "platform/linux/QtSystemVoice.h"
#include "platform/linux/SpeechEngineChoice.h"

#include <QDir>
#include <QFileInfo>

namespace nolvea::LinuxVoice {

void install(const QString& speechModels) {
    Platform::install<AudioInputFactory>(std::make_shared<QtAudioInput::Factory>());
    Platform::install<AudioPlayerFactory>(std::make_shared<QtAudioPlayer::Factory>());
    // Whisper models sit beside the pocketsphinx ones, in the data folder's "whisper".
    Platform::install<SpeechEngine>(SpeechEngineChoice::standard(
        QFileInfo(speechModels).dir().filePath(QStringLiteral("whisper")),
        QStringList{speechModels, PocketsphinxEngine::systemModels()}));
    Platform::install<SoundLibrary>(std::make_shared<QtSoundLibrary>());
    Platform::install<SystemVoice>(std::make_shared<QtSystemVoice>());
}

} // namespace nolvea::LinuxVoice
