#pragma once

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <vector>

namespace nolvea {

// The calendar accounts the desktop already knows (their sources and calendars), used to
// find the person's Google accounts. A desktop without such a store installs none.
class CalendarAccounts {
public:
    // Same values as the platform's calendar authorization states.
    enum class Authorization {
        notDetermined = 0,
        restricted = 1,
        denied = 2,
        fullAccess = 3,
        writeOnly = 4,
    };

    struct Source {
        enum class Type {
            local = 0,
            exchange = 1,
            calDAV = 2,
            mobileMe = 3,
            subscribed = 4,
            birthdays = 5
        };
        Type type = Type::local;
        QString title;
        QStringList calendarTitles; // the titles of its event calendars
    };

    virtual ~CalendarAccounts() = default;

    virtual Authorization authorization() = 0;
    // Asks the person for full access to events; true when granted.
    virtual QCoro::Task<bool> requestFullAccess() = 0;
    // The sources, in the store's order, refreshed first when needed.
    virtual std::vector<Source> sources() = 0;
    // Runs `changed` on the main thread whenever the store changes; for the object's life.
    virtual void watch(std::function<void()> changed) = 0;
    // Opens the desktop's page for calendar privacy; nothing when there is none.
    virtual void openPrivacySettings() = 0;
};

} // namespace nolvea
