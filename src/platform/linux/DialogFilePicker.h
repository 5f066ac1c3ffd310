#pragma once

#include "platform/FilePicker.h"

namespace nolvea {

// Qt's own file dialog (not the desktop portal's), so that the line saying what to choose
// can sit under the file list on every desktop.
class DialogFilePicker final : public FilePicker {
public:
    std::optional<QString> pickFile(const Request& request) override;
};

} // namespace nolvea
