#include "platform/linux/AtspiAccessibilityReader.h"
#include "platform/linux/LinuxPermissionProbe.h"
#include "support/Async.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

TEST(LinuxPermissionProbe, ReadsTheSessionAsItIs) {
    LinuxPermissionProbe probe;
    EXPECT_TRUE(probe.isGranted(PermissionKind::inputMonitoring));
    EXPECT_TRUE(probe.requestInputMonitoring());
    {
        ScopedEnv noDisplay("DISPLAY", QByteArray());
        EXPECT_FALSE(probe.isGranted(PermissionKind::inputMonitoring));
    }
    if (qEnvironmentVariableIsSet("PULSE_SERVER")) {
        EXPECT_TRUE(
            probe.isGranted(PermissionKind::microphone)); // the session's virtual microphone
    }
}

TEST(LinuxPermissionProbe, AccessibilityIsTheBusSwitch) {
    if (!AtspiAccessibilityReader::busRuns()) GTEST_SKIP() << "no accessibility bus";
    LinuxPermissionProbe probe;
    ASSERT_TRUE(AtspiAccessibilityReader::setEnabled(false));
    EXPECT_FALSE(probe.isGranted(PermissionKind::accessibility));
    EXPECT_TRUE(probe.requestAccessibility());
    EXPECT_TRUE(probe.isGranted(PermissionKind::accessibility));
    AtspiAccessibilityReader::setEnabled(false);
}

TEST(LinuxPermissionProbe, OpensTheDesktopsOwnPageOrNothing) {
    // A settings program on PATH that notes how it was called.
    const QString bin = test::home() + "/bin";
    QDir().mkpath(bin);
    const QString noted = test::home() + "/called";
    for (const char* name : {"gnome-control-center", "systemsettings"}) {
        QFile script(bin + "/" + name);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$0 $*\" >> %1\n").arg(noted).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ScopedEnv path("PATH", bin.toUtf8() + ":" + qgetenv("PATH"));
    LinuxPermissionProbe probe;
    struct Case {
        QByteArray desktop;
        PermissionKind kind;
        bool opens;
        QString call;
    };
    const QList<Case> cases{
        {"GNOME", PermissionKind::microphone, true, "gnome-control-center sound"},
        {"ubuntu:GNOME", PermissionKind::accessibility, true,
         "gnome-control-center universal-access"},
        {"KDE", PermissionKind::microphone, true, "systemsettings kcm_pulseaudio"},
        {"KDE", PermissionKind::accessibility, true, "systemsettings kcm_access"},
        {"GNOME", PermissionKind::inputMonitoring, false, ""},
        {"XFCE", PermissionKind::microphone, false, ""},
        {QByteArray(), PermissionKind::accessibility, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop.toStdString());
        QFile::remove(noted);
        ScopedEnv desktop("XDG_CURRENT_DESKTOP", c.desktop);
        EXPECT_EQ(probe.openSettings(c.kind), c.opens);
        if (!c.opens) continue;
        QFile file(noted);
        ASSERT_TRUE(test::spinUntil([&] { return file.exists() && file.size() > 0; }));
        file.open(QIODevice::ReadOnly);
        EXPECT_TRUE(QString::fromUtf8(file.readAll()).trimmed().endsWith(c.call));
    }
}

} // namespace
