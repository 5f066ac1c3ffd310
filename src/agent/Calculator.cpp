#include "agent/Calculator.h"

#include "support/Graphemes.h"

#include <QLocale>
#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace nolvea::Calculator {

namespace {

QString normalize(const QString& text) {
    QString s = text.toLower();
    s.replace(u'×', u'*');
    s.replace(u'x', u'*');
    s.replace(u'÷', u'/');
    s.replace(u'\u2212', u'-');
    s.replace(QStringLiteral("de"), QStringLiteral("*"));
    // Every grouping point goes, "1.000.000" included: the lookbehind lets matches touch.
    static const QRegularExpression thousands(QStringLiteral(R"((?<=\d)\.(?=\d{3}(?!\d)))"));
    s.remove(thousands);
    static const QRegularExpression decimalComma(QStringLiteral(R"((\d),(\d))"));
    s.replace(decimalComma, QStringLiteral("\\1.\\2"));
    return s;
}

constexpr int kMaxDepth = 300;
// How much of the rest a depth error quotes.
constexpr qsizetype kQuotedCharacters = 40;

QString quoted(const QString& rest) {
    return u'"' + rest + u'"';
}

class Parser {
public:
    explicit Parser(QString text)
        : m_text(std::move(text)) {}

    double parse() {
        const double value = expression();
        if (peek()) {
            throw CalcError::invalid(
                QStringLiteral("Expressão inválida perto de %1.").arg(quoted(m_text.mid(m_pos))));
        }
        return value;
    }

private:
    // The next character after whitespace, which is skipped; nothing at the end.
    std::optional<QChar> peek() {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
        if (m_pos >= m_text.size()) return std::nullopt;
        return m_text.at(m_pos);
    }

    bool accept(QChar c) {
        if (peek() != c) return false;
        ++m_pos;
        return true;
    }

    double expression() {
        double value = term();
        for (;;) {
            if (accept(u'+'))
                value += term();
            else if (accept(u'-'))
                value -= term();
            else
                return value;
        }
    }

    double term() {
        double value = power();
        for (;;) {
            if (accept(u'*')) {
                value *= power();
            } else if (accept(u'/')) {
                const double divisor = power();
                if (divisor == 0) throw CalcError::invalid(QStringLiteral("Divisão por zero."));
                value /= divisor;
            } else {
                return value;
            }
        }
    }

    double power() {
        const double base = unary();
        if (!accept(u'^')) return base;
        const Level level = deeper();
        return std::pow(base, power());
    }

    double unary() {
        const Level level = deeper();
        if (accept(u'-')) return -unary();
        accept(u'+');
        return postfix();
    }

    // One level of nesting (a parenthesis, a sign, a power) for as long as it lives; deeper
    // text than a person writes would exhaust the stack.
    struct Level {
        int& depth;
        ~Level() { --depth; }
    };
    Level deeper() {
        if (++m_depth > kMaxDepth) {
            --m_depth;
            const QString tail = m_text.mid(m_pos);
            QString rest = Graphemes::first(tail, kQuotedCharacters);
            if (rest.size() < tail.size()) rest += QStringLiteral("…");
            throw CalcError::invalid(
                QStringLiteral("Expressão inválida perto de %1.").arg(quoted(rest)));
        }
        return Level{m_depth};
    }

    double postfix() {
        const double value = primary();
        if (accept(u'%')) return value / 100;
        return value;
    }

    double primary() {
        if (!peek()) throw CalcError::invalid(QStringLiteral("Expressão incompleta."));
        if (accept(u'(')) {
            const double value = expression();
            if (!accept(u')')) throw CalcError::invalid(QStringLiteral("Faltou fechar parêntese."));
            return value;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isNumber() || m_text.at(m_pos) == u'.'))
            ++m_pos;
        const QString run = m_text.mid(start, m_pos - start);
        if (const auto value = convert(run)) return *value;
        throw CalcError::invalid(
            QStringLiteral("Esperava um número em %1.").arg(quoted(m_text.mid(m_pos))));
    }

    // Plain ASCII digits with at most one point; other numerals do not convert.
    static std::optional<double> convert(const QString& run) {
        if (run.isEmpty()) return std::nullopt;
        for (QChar c : run)
            if (c != u'.' && (c < u'0' || c > u'9')) return std::nullopt;
        // from_chars ignores the process locale, which may use a decimal comma.
        QByteArray ascii = run.toLatin1();
        if (ascii.startsWith('.')) ascii.prepend('0');
        double value = 0;
        const char* end = ascii.constData() + ascii.size();
        const auto [ptr, ec] = std::from_chars(ascii.constData(), end, value);
        if (ptr != end) return std::nullopt;
        if (ec == std::errc::result_out_of_range) return HUGE_VAL; // caught as not finite
        if (ec != std::errc()) return std::nullopt;
        return value;
    }

    QString m_text;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

} // namespace

double evaluate(const QString& text) {
    const double value = Parser(normalize(text)).parse();
    if (!std::isfinite(value)) throw CalcError::invalid(QStringLiteral("Resultado indefinido."));
    return value;
}

QString format(double value) {
    if (!std::isfinite(value)) return QString::number(value);
    if (value == 0) value = 0; // no "-0"
    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    QString s = locale.toString(value, 'f', 6);
    const QChar point = locale.decimalPoint().at(0);
    if (s.contains(point)) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(point)) s.chop(1);
    }
    if (s == QStringLiteral("-0")) s = QStringLiteral("0");
    return s;
}

} // namespace nolvea::Calculator
