#pragma once

#include "core/UserDefaults.h"
#include "support/RawEnum.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <concepts>
#include <utility>

namespace nolvea {

// How a preference type is read from and written to the user defaults. Enumerations are
// stored as their raw value texts; a text naming no case reads as the default.
template <typename T> struct PreferenceCodec;

template <> struct PreferenceCodec<bool> {
    static bool read(const UserDefaults& d, const QString& key, bool) { return d.boolValue(key); }
    static QVariant write(bool value) { return value; }
};

template <> struct PreferenceCodec<double> {
    static double read(const UserDefaults& d, const QString& key, double) {
        return d.doubleValue(key);
    }
    static QVariant write(double value) { return value; }
};

template <> struct PreferenceCodec<QString> {
    static QString read(const UserDefaults& d, const QString& key, const QString& fallback) {
        return d.string(key).value_or(fallback);
    }
    static QVariant write(const QString& value) { return value; }
};

template <> struct PreferenceCodec<QStringList> {
    static QStringList read(const UserDefaults& d, const QString& key, const QStringList&) {
        return d.stringList(key);
    }
    static QVariant write(const QStringList& value) { return value; }
};

template <typename E>
requires std::is_enum_v<E>
struct PreferenceCodec<E> {
    static E read(const UserDefaults& d, const QString& key, E fallback) {
        const auto text = d.string(key);
        return text ? fromRawValue<E>(*text).value_or(fallback) : fallback;
    }
    static QVariant write(E value) { return rawValue(value); }
};

// Value classes with their own raw value (the provider catalogue).
template <typename T>
concept RawValueClass = requires(const T& value, const QString& text) {
    { value.rawValue() } -> std::convertible_to<QString>;
    { T::fromRawValue(text) } -> std::same_as<std::optional<T>>;
};

template <RawValueClass T> struct PreferenceCodec<T> {
    static T read(const UserDefaults& d, const QString& key, const T& fallback) {
        return T::fromRawValue(d.string(key).value_or(QString())).value_or(fallback);
    }
    static QVariant write(const T& value) { return value.rawValue(); }
};

// Whether a preference's default is registered with the user defaults (and so answers for
// the missing key there) or only given in code.
enum class Registration { registered, inCode };

// One stored preference: its key and default, written once, and the value read from or
// written through to the user defaults.
template <typename T> class Preference {
public:
    Preference(const char* key, T fallback, Registration registration = Registration::registered)
        : m_key(QString::fromLatin1(key))
        , m_fallback(fallback)
        , m_value(std::move(fallback))
        , m_registration(registration) {}

    const QString& key() const { return m_key; }
    const T& fallback() const { return m_fallback; }
    const T& value() const { return m_value; }
    bool isRegistered() const { return m_registration == Registration::registered; }
    // The default as the user defaults hold it.
    QVariant registeredValue() const { return PreferenceCodec<T>::write(m_fallback); }

    // Reads the stored value, or the default.
    void load(const UserDefaults& defaults) {
        m_value = PreferenceCodec<T>::read(defaults, m_key, m_fallback);
    }
    // Holds and writes the value (also an equal one); true when it differs from the one held.
    bool store(const T& value, UserDefaults& defaults) {
        const bool changed = !(m_value == value);
        m_value = value;
        defaults.set(m_key, PreferenceCodec<T>::write(value));
        return changed;
    }

private:
    QString m_key;
    T m_fallback;
    T m_value;
    Registration m_registration;
};

} // namespace nolvea
