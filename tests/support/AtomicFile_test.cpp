#include "support/AtomicFile.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace nolvea;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Every name in `folder`, hidden ones too.
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

TEST(AtomicFile, ReplacesTheWholeFileWithTheAskedAccess) {
    const QString folder = test::home() + QStringLiteral("/novo/fundo");
    const QString path = folder + QStringLiteral("/dados.json");
    const mode_t umask = ::umask(0);
    ::umask(umask);
    ASSERT_EQ(AtomicFile::write(path, "primeiro, mais longo"), std::nullopt);
    EXPECT_EQ(readAll(path), "primeiro, mais longo");
    EXPECT_EQ(modeOf(path), mode_t(0666 & ~umask));

    ASSERT_EQ(AtomicFile::write(path, "segundo", AtomicFile::Access::Private), std::nullopt);
    EXPECT_EQ(readAll(path), "segundo");
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_EQ(namesIn(folder), QStringList{QStringLiteral("dados.json")});
}

// A failed write names the file, leaves what was there and no temporary file beside it.
TEST(AtomicFile, AFailureLeavesTheTargetAndNoTemporaryFile) {
    const QString folder = test::home() + QStringLiteral("/pasta");
    const QString inFolder = folder + QStringLiteral("/ocupado");
    ASSERT_TRUE(QDir().mkpath(inFolder + QStringLiteral("/dentro")));
    const QString plainFile = folder + QStringLiteral("/arquivo");
    ASSERT_EQ(AtomicFile::write(plainFile, "intacto"), std::nullopt);

    const struct {
        QString path;
        int error;
    } cases[] = {
        {inFolder, EISDIR},                              // a folder stands at the path
        {plainFile + QStringLiteral("/filho"), ENOTDIR}, // the parent is a file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const auto failed = AtomicFile::write(c.path, "novo", AtomicFile::Access::Private);
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->path(), c.path);
        EXPECT_EQ(failed->systemError(), c.error);
        EXPECT_EQ(failed->message(),
                  QStringLiteral("Não foi possível gravar o arquivo ") + c.path + u'.');
        EXPECT_FALSE(failed->reason().isEmpty());
    }
    EXPECT_TRUE(QFileInfo(inFolder + QStringLiteral("/dentro")).isDir());
    EXPECT_EQ(readAll(plainFile), "intacto");
    EXPECT_EQ(namesIn(folder), (QStringList{QStringLiteral("arquivo"), QStringLiteral("ocupado")}));
}

} // namespace
