#pragma once

#include "core/AIConnection.h"
#include "core/AIProvider.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace nolvea::AIStepModel {

// Where the model runs, in the order of the tiles.
enum class Family { local, account, cloud };

struct FamilyLook {
    QString symbol;
    QString title;
    QString subtitle;
};

const std::vector<Family>& families();
FamilyLook look(Family family);
const std::vector<AIProvider>& providers(Family family);
Family familyOf(AIProvider provider);
// The short name on the provider chips.
QString chipName(AIProvider provider);

// The local servers that answered the last scan, with their models.
using Detected = std::map<AIProvider::Value, QStringList>;

// The provider a family tile selects; nothing when the family is already the chosen one's.
std::optional<AIProvider> choose(Family family, AIProvider current, const Detected& detected);
// "2 encontrados no Mac"; nothing when none answered.
std::optional<QString> foundBadge(const Detected& detected);

// After a first-run scan: the found local server to switch to, when the chosen provider is
// offline and was not itself found.
std::optional<AIProvider> automaticSwitch(bool completedOnboarding, AIConnection connection,
                                          AIProvider current, const Detected& detected);
// The model to fill in from the server's new list; nothing leaves the model as it is.
std::optional<QString> pickModel(AIProvider provider, const QString& model,
                                 const QStringList& models);

QString statusTitle(AIConnection connection, const QString& statusTitle, const QString& model,
                    const QStringList& models);
QString modelDetail(AIProvider provider, const QStringList& models);
// The line under a successful test: “text” · 1.4 s.
QString testResult(const QString& cleaned, std::optional<double> latency);
// The key link's text, or nothing for a provider without a key page.
std::optional<QString> keyLinkText(AIProvider provider);

} // namespace nolvea::AIStepModel
