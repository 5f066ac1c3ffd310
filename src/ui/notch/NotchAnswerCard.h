#pragma once

#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class GlassButton;
class MarkdownText;
class NotchController;
class NotchField;
class NotchSymbolSwap;

// The agent's answer on the island: the conversation line, the styled answer (scrolling when
// long), a field for a typed follow-up, and buttons to hear it again or stop it, copy it,
// start a new conversation and close it.
class NotchAnswerCard : public QWidget {
    Q_OBJECT

public:
    NotchAnswerCard(AppState& state, NotchController& notch, QWidget* parent = nullptr);

    MarkdownText* answer() const { return m_answer; }
    bool scrolls() const { return m_scrolls; }
    bool copied() const { return m_copied; }
    NotchField* reply() const { return m_reply; }
    QLabel* problem() const { return m_problem; }
    QLabel* conversation() const { return m_conversation; }
    GlassButton* speechButton() const { return m_speech; }
    GlassButton* copyButton() const { return m_copy; }
    GlassButton* newConversationButton() const { return m_newConversation; }
    GlassButton* closeButton() const { return m_close; }
    // How the speech and copy buttons' symbols give way to the next ones.
    NotchSymbolSwap* speechSymbol() const { return m_speechSymbol; }
    NotchSymbolSwap* copySymbol() const { return m_copySymbol; }

private:
    void refresh();
    void copy();
    void submitReply();

    AppState& m_state;
    NotchController& m_notch;
    QLabel* m_conversation;
    QLabel* m_request;
    MarkdownText* m_answer;
    bool m_scrolls = false;
    NotchField* m_reply;
    QLabel* m_problem;
    GlassButton* m_speech;
    GlassButton* m_copy;
    GlassButton* m_newConversation;
    GlassButton* m_close;
    NotchSymbolSwap* m_speechSymbol;
    NotchSymbolSwap* m_copySymbol;
    bool m_copied = false;
};

} // namespace nolvea
