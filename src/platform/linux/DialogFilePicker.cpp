#include "platform/linux/DialogFilePicker.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace nolvea {

std::optional<QString> DialogFilePicker::pickFile(const Request& request) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.suffixes.isEmpty()) {
        QStringList patterns;
        for (const QString& s : request.suffixes)
            patterns << QStringLiteral("*.") + s;
        dialog.setNameFilter(request.suffixes.join(u' ').toUpper() + QStringLiteral(" (") +
                             patterns.join(u' ') + u')');
    }
    if (!request.folder.isEmpty()) dialog.setDirectory(request.folder);
    if (!request.message.isEmpty()) {
        auto* label = new QLabel(request.message, &dialog);
        label->setObjectName(QStringLiteral("pickerMessage"));
        label->setWordWrap(true);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first();
}

} // namespace nolvea
