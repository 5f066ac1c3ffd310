// The file dialog on a real X display: what it shows, a choice and a cancel.
#include "platform/linux/DialogFilePicker.h"

#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace nolvea {
namespace {

// Runs `act` on the dialog once it is shown.
void whenShown(std::function<void(QFileDialog&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(20);
}

// Chooses as a person does: types the name into the dialog's field and presses Open.
// (QFileDialog::selectFile leaves the field alone once it has the keyboard focus, which the
// dialog may or may not have been given by then.)
void typeAndOpen(QFileDialog& dialog, const QString& name) {
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(field && buttons);
    field->clear();
    QTest::keyClicks(field, name);
    QPushButton* open = buttons->button(QDialogButtonBox::Open);
    ASSERT_TRUE(open && open->isEnabled()) << field->text().toStdString();
    open->click();
}

class PickerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::home() + QStringLiteral("/Downloads");
        QDir().mkpath(folder);
        for (const char* name : {"client_secret_1.json", "notas.txt"}) {
            QFile f(folder + u'/' + QString::fromUtf8(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        request = {QStringLiteral("Escolha o arquivo"),
                   QStringLiteral("O arquivo que o Google baixou"),
                   {QStringLiteral("json")},
                   folder};
    }
    QString folder;
    FilePicker::Request request;
};

TEST_F(PickerFixture, ShowsTheRequestAndReturnsTheChosenFile) {
    QString title, message, filter, directory;
    whenShown([&](QFileDialog& d) {
        title = d.windowTitle();
        if (auto* label = d.findChild<QLabel*>(QStringLiteral("pickerMessage")))
            message = label->text();
        filter = d.selectedNameFilter();
        directory = d.directory().absolutePath();
        typeAndOpen(d, QStringLiteral("client_secret_1.json"));
        if (d.isVisible()) d.reject(); // no hang when the choice did not take
    });
    const auto chosen = DialogFilePicker().pickFile(request);
    EXPECT_EQ(chosen, folder + QStringLiteral("/client_secret_1.json"));
    EXPECT_EQ(title, "Escolha o arquivo");
    EXPECT_EQ(message, "O arquivo que o Google baixou");
    EXPECT_EQ(filter, "JSON (*.json)");
    EXPECT_EQ(directory, folder);
}

TEST_F(PickerFixture, CancellingReturnsNothing) {
    whenShown([](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(DialogFilePicker().pickFile(request));
}

} // namespace
} // namespace nolvea
