#pragma once

#include "ui/overlay/ControllerAccess.h"

#include <QWidget>

class QLabel;

namespace nolvea {

class GlassButton;
class MarkdownText;
class ReplaceTransition;

// The agent's answer on the pill: the styled reply beside a sparkle badge, how to reply or
// close, and buttons to copy the reply (its markdown source) and to close it.
class AnswerCard : public QWidget {
    Q_OBJECT

public:
    AnswerCard(QString text, ControllerAccess controller, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    bool copied() const { return m_copied; }
    bool scrolls() const;
    MarkdownText* answer() const { return m_answer; }
    GlassButton* copyButton() const { return m_copy; }
    GlassButton* closeButton() const { return m_close; }
    QLabel* hint() const { return m_hint; }
    ReplaceTransition* copyChange() const { return m_copyChange; }

private:
    void copy();
    void updateHint();

    QString m_text;
    ControllerAccess m_controller;
    bool m_copied = false;
    MarkdownText* m_answer;
    QLabel* m_hint;
    GlassButton* m_copy;
    GlassButton* m_close;
    ReplaceTransition* m_copyChange;
};

} // namespace nolvea
