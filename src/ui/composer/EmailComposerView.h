#pragma once

#include "core/EmailRecipient.h"

#include <QPointer>
#include <QWidget>
#include <qcoro/qcorotask.h>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace nolvea {

class AppState;
class ElidedLabel;
class GlassButton;
class OriginalEmailView;
class RecipientField;
class RevealBox;
class WidgetTransition;
class VoiceController;

// The card in which the person reviews the e-mail the agent wants to send: sending account,
// To and Cc chips, subject, body and the message answered. It edits the state's e-mail draft
// in place while the confirmation waits, and answers it: send, open in the mail client, or
// cancel. Escape cancels, Ctrl+Return sends; Return in a field never sends.
class EmailComposerView : public QWidget {
    Q_OBJECT

public:
    using Lookup =
        std::function<QCoro::Task<std::vector<EmailRecipient>>(std::vector<EmailRecipient>)>;
    struct Options {
        std::function<VoiceController&()> controller;
        Lookup lookup{};                      // the contacts look-up; the real one when empty
        std::function<bool()> keysAccepted{}; // whether keys may decide now; always when empty
        QString alternateLabel{};             // the open-in-client button's title
    };

    EmailComposerView(AppState& state, Options options, QWidget* parent = nullptr);

    QLabel* title() const { return m_title; }
    QLabel* request() const { return m_request; }
    QComboBox* senderPicker() const { return m_senderPicker; }
    QLabel* senderText() const { return m_senderText; }
    RecipientField* toField() const { return m_to; }
    RecipientField* ccField() const { return m_cc; }
    QWidget* ccRow() const { return m_ccRow; }
    // The card's five pieces in order (header, original, fields, body, footer), each rising in
    // through its entrance as the card first shows.
    const QList<QWidget*>& pieces() const { return m_pieces; }
    const QList<WidgetTransition*>& entrances() const { return m_entrances; }
    WidgetTransition& ccMotion() const { return *m_ccMotion; }
    WidgetTransition& warningMotion() const { return *m_warningMotion; }
    GlassButton* ccButton() const { return m_ccButton; }
    QLineEdit* subject() const { return m_subject; }
    QPlainTextEdit* body() const { return m_body; }
    OriginalEmailView* original() const;
    ElidedLabel* warning() const { return m_warning; }
    GlassButton* openButton() const { return m_open; }
    GlassButton* cancelButton() const { return m_cancel; }
    GlassButton* sendButton() const { return m_send; }

    // Turns the finished text of the To field into a recipient, and looks its address up
    // when it has none.
    void addRecipient();
    // Gives the keyboard to the first field to complete.
    void takeFocus();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void refresh();
    void refreshAccounts();
    void addCopyRecipient();
    void send();
    void cancel();
    void openInClient();
    bool keysAccepted() const;

    AppState& m_state;
    Options m_options;
    bool m_askedForCc = false;
    bool m_appeared = false;
    QList<QWidget*> m_pieces;
    QList<WidgetTransition*> m_entrances;
    QLabel* m_title;
    QLabel* m_request;
    QWidget* m_originalSlot;
    QPointer<OriginalEmailView> m_original;
    QComboBox* m_senderPicker;
    QLabel* m_senderText;
    RecipientField* m_to;
    GlassButton* m_ccButton;
    QWidget* m_ccRow;
    RevealBox* m_ccBox;
    WidgetTransition* m_ccMotion;
    RecipientField* m_cc;
    QLineEdit* m_subject;
    QPlainTextEdit* m_body;
    QLabel* m_warningIcon;
    ElidedLabel* m_warning;
    WidgetTransition* m_warningMotion;
    GlassButton* m_open;
    GlassButton* m_cancel;
    GlassButton* m_send;
};

} // namespace nolvea
