#pragma once

#include "platform/FileSearch.h"

namespace nolvea {

// A breadth-first walk of the folder, shallow matches first, names sorted within a folder.
// Contents are searched in text files of at most `maxContentBytes`.
class HomeFileSearch final : public FileSearch {
public:
    static constexpr qint64 maxContentBytes = 1024 * 1024;

    Result search(const Query& query) override;
};

} // namespace nolvea
