#pragma once

#include "core/HotkeyChoice.h"
#include "ui/animation/SpringValue.h"

#include <QAbstractButton>
#include <QFont>
#include <QString>

#include <optional>

namespace nolvea {

class FrameDriver;

// One key of the drawn bottom row of a keyboard; only the three push-to-talk keys take clicks.
class KeyboardKey : public QAbstractButton {
    Q_OBJECT

public:
    KeyboardKey(QString symbol, QString name, int width, std::optional<HotkeyChoice> choice,
                QWidget* parent = nullptr);

    std::optional<HotkeyChoice> choice() const { return m_choice; }
    void setState(bool chosen, bool lit);
    bool isChosen() const { return m_chosen; }
    bool isLit() const { return m_lit; }
    QSize sizeHint() const override;

    // The name's face: semibold 10.5 px, made smaller where the desktop's face is too wide for
    // the key, so that the name is never cut.
    static QFont nameFont(const QString& name, double width);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_symbol;
    QString m_name;
    int m_width;
    std::optional<HotkeyChoice> m_choice;
    bool m_chosen = false;
    bool m_lit = false;
    // Choosing moves with the morph spring, pressing with the snappy one.
    SpringValue m_chosenIn{0};
    SpringValue m_litIn{0};
    FrameDriver* m_driver;
};

} // namespace nolvea
