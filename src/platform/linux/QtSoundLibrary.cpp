#include "platform/linux/QtSoundLibrary.h"

#include "BuildInfo.h"
#include "platform/linux/QtAudioPlayer.h"
#include "platform/linux/WavData.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace nolvea {

namespace {

class QtSound final : public SystemSound {
public:
    explicit QtSound(QByteArray wav)
        : m_wav(std::move(wav)) {}
    void play() override { m_player.play(m_wav, nullptr); }
    void stop() override { m_player.stop(); }
    bool isPlaying() const override { return m_player.isPlaying(); }
    void setVolume(float volume) override { m_player.setVolume(volume); }

private:
    QByteArray m_wav;
    QtAudioPlayer m_player;
};

QString defaultFolder() {
    const QString beside =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/nolvea/sounds");
    if (QFileInfo(beside).isDir()) return QFileInfo(beside).canonicalFilePath();
    return QString::fromUtf8(buildinfo::kSourceDir) + QStringLiteral("/share/nolvea/sounds");
}

} // namespace

QtSoundLibrary::QtSoundLibrary(QString folder)
    : m_folder(folder.isEmpty() ? defaultFolder() : std::move(folder)) {}

std::shared_ptr<SystemSound> QtSoundLibrary::load(const QString& name) {
    const QString path = m_folder + QLatin1Char('/') + name + QStringLiteral(".wav");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    QByteArray wav = file.readAll();
    if (!WavData::parse(wav)) return nullptr;
    return std::make_shared<QtSound>(std::move(wav));
}

} // namespace nolvea
