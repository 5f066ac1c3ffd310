#pragma once

#include <QString>

namespace nolvea {

// A folder only this user can enter (0700), under an unpredictable name in $XDG_RUNTIME_DIR
// (or the user's cache folder), removed with everything in it when the object goes away.
class PrivateTempDir {
public:
    explicit PrivateTempDir(const QString& purpose = QStringLiteral("tmp"));
    ~PrivateTempDir();
    PrivateTempDir(const PrivateTempDir&) = delete;
    PrivateTempDir& operator=(const PrivateTempDir&) = delete;
    PrivateTempDir(PrivateTempDir&& other) noexcept;
    PrivateTempDir& operator=(PrivateTempDir&& other) noexcept;

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString filePath(const QString& name) const;
    // Gives the folder up: it stays on disk and this object becomes empty.
    QString release();

    // The folder new private folders are made in.
    static QString base();

private:
    QString m_path;
};

} // namespace nolvea
