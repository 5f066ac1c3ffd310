#include "ui/settings/AboutModel.h"

namespace nolvea::AboutModel {

QString versionLine(const QString& version, qint64 build) {
    return QStringLiteral("Versão ") + version + QStringLiteral(" (") + QString::number(build) +
           QStringLiteral(") · feito para o seu Mac");
}

std::vector<InfoLine> infoLines(TranscriptionModel::Engine transcription, AIProvider provider,
                                const QString& model, const QString& dataFolder,
                                const QString& home) {
    QString folder = dataFolder;
    if (!home.isEmpty() && (folder == home || folder.startsWith(home + u'/')))
        folder = u'~' + folder.mid(home.size());
    return {
        {TranscriptionModel::aboutLine(transcription), QStringLiteral("waveform")},
        {QStringLiteral("IA: ") + provider.label() + QStringLiteral(" · ") + model,
         QStringLiteral("cpu")},
        {QStringLiteral("Interface: Qt"), QStringLiteral("macwindow")},
        {QStringLiteral("Dados: ") + folder, QStringLiteral("externaldrive")},
    };
}

} // namespace nolvea::AboutModel
