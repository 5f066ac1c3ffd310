#include "app/DryRunUI.h"

#include "app/Console.h"

namespace nolvea {

void DryRunUI::agentProgress(const QString& text) {
    Console::line(QString::fromUtf8("   … ") + text);
}

QCoro::Task<Confirmation> DryRunUI::agentConfirm(ActionPreview preview) {
    for (const QString& line : confirmationLines(preview))
        Console::line(line);
    co_return Confirmation{Confirmation::Choice::approve};
}

void DryRunUI::agentTool(const QString&) {}

QStringList DryRunUI::confirmationLines(const ActionPreview& preview) {
    const QString edit = preview.editableKey
                             ? QString::fromUtf8(" ✎ ") + *preview.editableKey +
                                   QString::fromUtf8("=\"") + preview.editableValue + u'"'
                             : QString();
    QStringList lines{QString::fromUtf8("   [CONFIRMAR] ") + preview.title +
                      QString::fromUtf8(": ") + preview.details.join(QString::fromUtf8(" | ")) +
                      edit};
    if (const auto& email = preview.email) {
        QStringList to;
        for (const EmailRecipient& r : email->to)
            to << (r.name.isEmpty() ? r.address : r.name);
        lines << QString::fromUtf8("   ✉︎ Para: ") + to.join(QString::fromUtf8(", ")) +
                     QString::fromUtf8(" | Assunto: ") + email->subject;
        QString body = email->body;
        lines << QString::fromUtf8("   ✉︎ Corpo: ") +
                     body.replace(u'\n', QString::fromUtf8(" ⏎ "));
    }
    return lines;
}

} // namespace nolvea
