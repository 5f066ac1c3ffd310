// The dictation self-test of the real program: recorded speech through the engine chosen for
// the locale, then the clean-up by a model on the loopback address.

#include "ModelSelfTest.h"
#include "core/AppPaths.h"
#include "support/RecordedSpeech.h"
#include "support/TestEnvironment.h"
#include "support/TinyWhisperModel.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace nolvea;
using test::runNolvea;

namespace {

// A RIFF/WAVE file of 16-bit PCM.
QByteArray wav(const QByteArray& pcm, int rate, int channels) {
    QByteArray out("RIFF");
    const auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    u32(quint32(36 + pcm.size()));
    out.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(quint16(channels));
    u32(quint32(rate));
    u32(quint32(rate * channels * 2));
    u16(quint16(channels * 2));
    u16(16);
    out.append("data");
    u32(quint32(pcm.size()));
    return out + pcm;
}

// The goforward recording at 32 kHz stereo: every frame twice, on both channels.
QByteArray stereo32k(const QByteArray& mono16k) {
    QByteArray out;
    for (qsizetype i = 0; i + 1 < mono16k.size(); i += 2)
        for (int k = 0; k < 4; ++k)
            out.append(mono16k.constData() + i, 2);
    return out;
}

class DictationSelfTest : public test::ModelSelfTest {
protected:
    void SetUp() override {
        ModelSelfTest::SetUp();
        // Debian's pocketsphinx model is English.
        test::configureSetting("localeID", "en-US");
    }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return path;
    }

    QTemporaryDir folder;
};

const QRegularExpression kTranscript("^TRANSCRIÇÃO \\(\\d+\\.\\d\\ds\\): (.*)$");
const QRegularExpression kCleaned("^LIMPO \\(\\d+\\.\\d\\ds\\): (.*)$");

TEST_F(DictationSelfTest, RecordedSpeechIsTranscribedAndCleaned) {
    const QByteArray raw = test::RecordedSpeech::goForwardRaw();
    const QList<QPair<QString, QString>> files{
        {"raw 16 kHz mono", test::RecordedSpeech::goForwardPath()},
        {"WAV 16 kHz mono", write("fala.wav", wav(raw, 16000, 1))},
        {"WAV 32 kHz stereo", write("fala32.wav", wav(stereo32k(raw), 32000, 2))},
        // As a streaming writer leaves it: the data chunk claims more than the file holds.
        {"WAV cut short", write("cortado.wav",
                                [&] {
                                    QByteArray bytes = wav(raw, 16000, 1);
                                    qToLittleEndian<quint32>(0x7fffffff, bytes.data() + 40);
                                    return bytes;
                                }())},
    };
    for (const auto& [what, path] : files) {
        SCOPED_TRACE(what.toStdString());
        model.reply("Go forward ten meters.");
        const int before = model.calls();
        const test::DevRun run = runNolvea({"--selftest-dictation", path});
        EXPECT_EQ(run.status, 0) << run.errors.toStdString();
        ASSERT_EQ(run.lines.size(), 3) << run.output().toStdString();
        EXPECT_EQ(run.lines[0], "MOTOR: pocketsphinx");
        EXPECT_EQ(kTranscript.match(run.lines[1]).captured(1), "go forward ten meters")
            << run.lines[1].toStdString();
        EXPECT_EQ(kCleaned.match(run.lines[2]).captured(1), "Go forward ten meters.")
            << run.lines[2].toStdString();
        // The clean-up saw the transcript, written into a chat application.
        ASSERT_EQ(model.calls(), before + 1);
        const QString asked = model.messages(before).back()["content"]->asString().value_or("");
        EXPECT_TRUE(asked.contains("go forward ten meters")) << asked.toStdString();
        EXPECT_TRUE(asked.contains("Slack")) << asked.toStdString();
    }
}

TEST_F(DictationSelfTest, AnEmptyRecordingIsFinishedAtOnceAndStillCleaned) {
    for (const QString& path : {write("vazio.raw", {}), write("vazio.wav", wav({}, 16000, 1))}) {
        SCOPED_TRACE(path.toStdString());
        model.reply("");
        const test::DevRun run = runNolvea({"--selftest-dictation", path});
        EXPECT_EQ(run.status, 0) << run.errors.toStdString();
        ASSERT_EQ(run.lines.size(), 3) << run.output().toStdString();
        EXPECT_TRUE(kTranscript.match(run.lines[1]).hasMatch()) << run.lines[1].toStdString();
        EXPECT_EQ(kTranscript.match(run.lines[1]).captured(1), "");
        EXPECT_TRUE(kCleaned.match(run.lines[2]).hasMatch()) << run.lines[2].toStdString();
    }
}

TEST_F(DictationSelfTest, WhatIsNotARecordingIsOneErrorLine) {
    const QStringList paths{
        folder.filePath("nao-existe.wav"),
        write("notas.txt", "go forward ten meters"),
        // A RIFF header that does not hold PCM: not read as raw audio either.
        write("quebrado.raw", QByteArray("RIFF\x04\x00\x00\x00WAVE", 12)),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const test::DevRun run = runNolvea({"--selftest-dictation", path});
        EXPECT_EQ(run.status, 1);
        ASSERT_EQ(run.lines.size(), 1) << run.output().toStdString();
        EXPECT_TRUE(run.lines[0].startsWith("ERRO: ")) << run.lines[0].toStdString();
        EXPECT_TRUE(run.lines[0].contains(path)) << run.lines[0].toStdString();
    }
    EXPECT_EQ(model.calls(), 0);
}

TEST_F(DictationSelfTest, AFailedCleanUpIsAnErrorAfterTheTranscript) {
    model.fail(500, R"({"error":{"message":"sem memória"}})");
    const test::DevRun run =
        runNolvea({"--selftest-dictation", test::RecordedSpeech::goForwardPath()});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 3) << run.output().toStdString();
    EXPECT_TRUE(kTranscript.match(run.lines[1]).hasMatch());
    EXPECT_TRUE(run.lines[2].startsWith("ERRO: ")) << run.lines[2].toStdString();
}

// Portuguese goes to a whisper model in the data folder when there is one; without one, the
// error says where to put it.
TEST_F(DictationSelfTest, PortugueseUsesAWhisperModelOrSaysWhereToPutOne) {
    test::configureSetting("localeID", "pt-BR");
    const QString models = AppPaths::file("whisper");
    QDir(models).removeRecursively();

    const test::DevRun without =
        runNolvea({"--selftest-dictation", test::RecordedSpeech::goForwardPath()});
    EXPECT_EQ(without.status, 1);
    ASSERT_EQ(without.lines.size(), 2) << without.output().toStdString();
    EXPECT_EQ(without.lines[0], "MOTOR: nenhum para pt-BR");
    EXPECT_TRUE(without.lines[1].startsWith("ERRO: O idioma pt-BR não é suportado"))
        << without.lines[1].toStdString();
    EXPECT_TRUE(without.lines[1].contains(models)) << without.lines[1].toStdString();
    EXPECT_EQ(model.calls(), 0);

    ASSERT_TRUE(test::TinyWhisperModel().write(models + "/ggml-pequeno.bin"));
    model.reply("Texto limpo.");
    const test::DevRun with =
        runNolvea({"--selftest-dictation", test::RecordedSpeech::goForwardPath()});
    EXPECT_EQ(with.status, 0) << with.errors.toStdString();
    ASSERT_EQ(with.lines.size(), 3) << with.output().toStdString();
    EXPECT_EQ(with.lines[0], "MOTOR: whisper (ggml-pequeno.bin)");
    // Random weights: some words, never the sentence.
    EXPECT_FALSE(kTranscript.match(with.lines[1]).captured(1).isEmpty())
        << with.lines[1].toStdString();
    EXPECT_EQ(kCleaned.match(with.lines[2]).captured(1), "Texto limpo.");
    QDir(models).removeRecursively();
}

} // namespace
