#pragma once

#include "core/AIProvider.h"
#include "ui/settings/TranscriptionModel.h"

#include <QString>

#include <vector>

namespace nolvea::AboutModel {

// "Versão 1.2 (1234) · feito para o seu Mac": the build as a plain decimal number.
QString versionLine(const QString& version, qint64 build);

struct InfoLine {
    QString text;
    QString symbol;
};
// The four lines of the card describing how Nolvea runs here; `dataFolder` is shown with the
// home folder as "~".
std::vector<InfoLine> infoLines(TranscriptionModel::Engine transcription, AIProvider provider,
                                const QString& model, const QString& dataFolder,
                                const QString& home);

} // namespace nolvea::AboutModel
