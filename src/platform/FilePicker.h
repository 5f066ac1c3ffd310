#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// The desktop's dialog for choosing one existing file.
class FilePicker {
public:
    struct Request {
        QString title;
        QString message;      // a line that says what to choose
        QStringList suffixes; // the file name endings allowed, without the dot ("json")
        QString folder;       // where it opens; the dialog's choice when empty
    };

    virtual ~FilePicker() = default;

    // The chosen file's path; nothing when the person cancels.
    virtual std::optional<QString> pickFile(const Request& request) = 0;
};

} // namespace nolvea
