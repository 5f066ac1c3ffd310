#pragma once

#include "ui/animation/SpringValue.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace nolvea {

class FrameDriver;
class KeyCap;
class WidgetTransition;

// The one-line field of the island on its faint capsule: an optional glyph in front, and at
// the end a key cap while empty or a round send button once anything is typed. The text makes
// room for them, and takes it back, with the quick spring.
class NotchField : public QWidget {
    Q_OBJECT

public:
    struct Look {
        QString glyph{};  // a symbol before the text, none when empty
        QString keyCap{}; // shown while the field is empty, none when empty
        double pixels = 13;
        double fill = 0.08;
        int sendSide = 22;
    };

    explicit NotchField(Look look, QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_edit; }
    QToolButton* sendButton() const { return m_send; }
    KeyCap* keyCap() const { return m_keyCap; }
    // The room kept at the end for the key cap or the send button, as it is now.
    double room() const { return m_room.value(); }
    void setPlaceholder(const QString& text);
    void setKeyCap(const QString& label);

Q_SIGNALS:
    void submitted();
    void escaped();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override { place(); }
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void textChanged();
    KeyCap* makeKeyCap(const QString& label);
    void makeKeyCapMotion();
    double roomTarget() const;
    bool step(double dt);
    void place();

    Look m_look;
    QLineEdit* m_edit;
    QToolButton* m_send;
    KeyCap* m_keyCap = nullptr;
    WidgetTransition* m_sendMotion;
    WidgetTransition* m_keyCapMotion = nullptr;
    bool m_empty = true;
    int m_gap;
    FrameDriver* m_driver;
    SpringValue m_room;
};

} // namespace nolvea
