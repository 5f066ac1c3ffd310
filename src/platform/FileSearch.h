#pragma once

#include <QDeadlineTimer>
#include <QStringList>

namespace nolvea {

// Finds files and folders by name or content below a folder.
class FileSearch {
public:
    struct Query {
        QString root;            // the folder searched, normally the home folder
        QString text;            // words that must all match, case-insensitively
        bool nameOnly = false;   // match names only, not contents
        int limit = 15;          // stop after this many matches
        QDeadlineTimer deadline; // stop walking when it expires
    };
    struct Result {
        QStringList paths;     // absolute, in the order found
        bool timedOut = false; // the deadline stopped the search early
    };

    virtual ~FileSearch() = default;
    // Blocks until done: call it off the main thread. Hidden items and "Library" folders are
    // never entered nor returned.
    virtual Result search(const Query& query) = 0;
};

} // namespace nolvea
