#pragma once

#include "core/AppSettings.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/SettingsSwitch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace nolvea::Bindings {

// Each control shows the setting now, writes it at once on every change by the person, and
// follows it when something else changes it.

inline SettingsSwitch* toggle(AppSettings& s, bool (AppSettings::*get)() const,
                              void (AppSettings::*set)(bool), void (AppSettings::*changed)()) {
    auto* t = new SettingsSwitch;
    t->setChecked((s.*get)());
    QObject::connect(t, &SettingsSwitch::toggled, &s, [&s, set](bool v) { (s.*set)(v); });
    QObject::connect(&s, changed, t, [t, &s, get] {
        const QSignalBlocker block(t);
        t->setChecked((s.*get)());
    });
    return t;
}

// A pop-up over `values` shown with `labels`.
template <typename T>
QComboBox* picker(AppSettings& s, const std::vector<T>& values, const QStringList& labels,
                  int width, T (AppSettings::*get)() const, void (AppSettings::*set)(T),
                  void (AppSettings::*changed)()) {
    auto* box = new QComboBox;
    box->setFixedWidth(width);
    box->addItems(labels);
    auto show = [box, &s, get, values] {
        const QSignalBlocker block(box);
        const auto it = std::find(values.begin(), values.end(), (s.*get)());
        box->setCurrentIndex(it == values.end() ? -1 : int(it - values.begin()));
    };
    show();
    QObject::connect(box, &QComboBox::activated, &s, [&s, set, values](int i) {
        if (i >= 0 && i < int(values.size())) (s.*set)(values[size_t(i)]);
    });
    QObject::connect(&s, changed, box, show);
    return box;
}

template <typename T>
SegmentedPicker* segmented(AppSettings& s, const std::vector<T>& values, const QStringList& labels,
                           int width, T (AppSettings::*get)() const, void (AppSettings::*set)(T),
                           void (AppSettings::*changed)()) {
    auto* seg = new SegmentedPicker(labels, width);
    auto show = [seg, &s, get, values] {
        const auto it = std::find(values.begin(), values.end(), (s.*get)());
        seg->setCurrentIndex(it == values.end() ? -1 : int(it - values.begin()));
    };
    show();
    QObject::connect(seg, &SegmentedPicker::activated, &s, [&s, set, values](int i) {
        if (i >= 0 && i < int(values.size())) (s.*set)(values[size_t(i)]);
    });
    QObject::connect(&s, changed, seg, show);
    return seg;
}

inline QLineEdit* field(AppSettings& s, QString (AppSettings::*get)() const,
                        void (AppSettings::*set)(const QString&), void (AppSettings::*changed)(),
                        const QString& placeholder, int width) {
    auto* edit = new QLineEdit;
    edit->setFixedWidth(width);
    edit->setPlaceholderText(placeholder);
    edit->setText((s.*get)());
    QObject::connect(edit, &QLineEdit::textEdited, &s,
                     [&s, set](const QString& v) { (s.*set)(v); });
    QObject::connect(&s, changed, edit, [edit, &s, get] {
        if (edit->text() != (s.*get)()) edit->setText((s.*get)());
    });
    return edit;
}

} // namespace nolvea::Bindings
