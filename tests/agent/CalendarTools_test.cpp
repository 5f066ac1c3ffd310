#include "agent/AgentDate.h"
#include "agent/CalendarStore.h"
#include "agent/ToolError.h"
#include "agent/tools/CalendarTools.h"
#include "support/Async.h"
#include "support/Printers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

JSONValue args(const char* json) {
    return *JSONValue::parse(QByteArray(json));
}

QString run(const AgentTool& tool, const JSONValue& arguments) {
    return test::await(tool.run(arguments));
}

QString toolError(const AgentTool& tool, const JSONValue& arguments) {
    try {
        run(tool, arguments);
    } catch (const ToolError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

// A vdir as sync tools leave it: a local calendar and an account with two calendars.
class CalendarFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = CalendarStore::defaultRoot();
        QDir(m_root).removeRecursively();
        QDir().mkpath(m_root);
    }
    void TearDown() override { QDir(m_root).removeRecursively(); }

    void write(const QString& relative, const QByteArray& content) {
        const QString path = m_root + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    // Every file below the root with a digest of its bytes.
    std::map<QString, QByteArray> snapshot() const {
        std::map<QString, QByteArray> files;
        QDirIterator it(m_root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            files[path] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        }
        return files;
    }

    QString m_root;
};

// Written by another program: CRLF, folded lines, a time zone block, a weekly rule with an
// exception, escaped text.
const QByteArray kRecurring =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Sync//EN\r\n"
    "BEGIN:VTIMEZONE\r\nTZID:America/Sao_Paulo\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
    "TZOFFSETFROM:-0300\r\nTZOFFSETTO:-0300\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
    "BEGIN:VEVENT\r\nUID:weekly-1\r\nSUMMARY:Reunião de equipe\\, semanal com um título bem "
    "compri\r\n"
    " do que o programa dobrou\r\n"
    "DTSTART;TZID=America/Sao_Paulo:20261005T100000\r\nDTEND;TZID=America/"
    "Sao_Paulo:20261005T1100\r\n 00\r\n"
    "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;COUNT=5\r\nEXDATE;TZID=America/Sao_Paulo:20261012T100000\r\n"
    "LOCATION:Sala 3\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

const QByteArray kAllDay = "BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:x\nSUMMARY:Feriado\n"
                           "DTSTART;VALUE=DATE:20261012\nDTEND;VALUE=DATE:20261013\nEND:VEVENT\n"
                           "END:VCALENDAR\n";

const QByteArray kUtc = "BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:y\nDTSTART:20261007T150000Z\n"
                        "DURATION:PT30M\nLOCATION:\nEND:VEVENT\nEND:VCALENDAR\n";

QDateTime saoPaulo(int day, int hour) {
    return QDateTime(QDate(2026, 10, day), QTime(hour, 0), QTimeZone("America/Sao_Paulo"));
}

QString when(const QDateTime& at, bool allDay) {
    return AgentDate::describe(at.toLocalTime(), allDay);
}

} // namespace

TEST_F(CalendarFolder, ListsEventsOfEverySourceWithRepeatsAndWholeDays) {
    write("Trabalho/Projetos/weekly.ics", kRecurring);
    write("Trabalho/Equipe/displayname", "Equipe B\n");
    write("Trabalho/Equipe/utc.ics", kUtc);
    write("Pessoal/feriado.ics", kAllDay);

    const QString result = run(CalendarTools::listEvents(),
                               args(R"({"start":"2026-10-05T00:00:00-03:00","end":"2026-10-15"})"));
    const QString title = QStringLiteral(
        "Reunião de equipe, semanal com um título bem comprido que o programa dobrou");
    const QStringList expected = {
        QStringLiteral("Calendários consultados: Local (Pessoal); Trabalho (Equipe B, Projetos)."),
        QStringLiteral("- %1: %2 @ Sala 3 [Trabalho · Projetos]")
            .arg(title, when(saoPaulo(5, 10), false)),
        QStringLiteral("- %1: %2 @ Sala 3 [Trabalho · Projetos]")
            .arg(title, when(saoPaulo(7, 10), false)),
        QStringLiteral("- (sem título): %1 [Trabalho · Equipe B]")
            .arg(when(QDateTime(QDate(2026, 10, 7), QTime(15, 0), QTimeZone::utc()), false)),
        QStringLiteral("- Feriado: %1 [ · Pessoal]")
            .arg(when(QDate(2026, 10, 12).startOfDay(), true)),
        // The 12th is excluded; the rule's fifth occurrence falls on the 19th, outside.
        QStringLiteral("- %1: %2 @ Sala 3 [Trabalho · Projetos]")
            .arg(title, when(saoPaulo(14, 10), false)),
    };
    EXPECT_EQ(result, expected.join(u'\n'));
}

TEST_F(CalendarFolder, RangesAndEmptyFolders) {
    QDir(m_root).removeRecursively(); // made again on access
    EXPECT_EQ(
        run(CalendarTools::listEvents(), args(R"({"start":"2026-10-01","end":"2026-10-02"})")),
        QStringLiteral("Calendários consultados: nenhum.\nNenhum evento nesse período."));

    // A repeating rule without an end must not hold the tool up, and only the range counts.
    write("Casa/daily.ics", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:Remédio\n"
                            "DTSTART:20200101T080000\nDTEND:20200101T081500\nRRULE:FREQ=DAILY\n"
                            "END:VEVENT\nEND:VCALENDAR\n");
    const QString day = run(CalendarTools::listEvents(),
                            args(R"({"start":"2026-10-01T00:00:00","end":"2026-10-02T00:00:00"})"));
    EXPECT_EQ(day.count(QStringLiteral("- Remédio")), 1) << qPrintable(day);

    QString many;
    for (int i = 0; i < 41; ++i)
        many += QStringLiteral("BEGIN:VEVENT\nSUMMARY:E%1\nDTSTART:20261001T%2\nEND:VEVENT\n")
                    .arg(i)
                    .arg(QStringLiteral("%1").arg(i % 24, 2, 10, QLatin1Char('0')) +
                         QStringLiteral("0000"));
    write("Casa/many.ics", "BEGIN:VCALENDAR\n" + many.toUtf8() + "END:VCALENDAR\n");
    const QString listed =
        run(CalendarTools::listEvents(),
            args(R"({"start":"2026-10-01T00:00:00","end":"2026-10-01T23:59:00"})"));
    EXPECT_EQ(listed.split(u'\n').size(), 1 + 40);
}

TEST_F(CalendarFolder, CreatesEventsInNewFilesOnly) {
    write("Trabalho/Projetos/weekly.ics", kRecurring);
    const auto before = snapshot();

    EXPECT_EQ(
        run(CalendarTools::createEvent(),
            args(R"({"title":"Dentista","start":"2026-11-03T14:00:00-03:00","location":"Centro",)"
                 R"("all_day":"true","notes":"levar exames"})")),
        QStringLiteral("Evento criado"));
    EXPECT_EQ(
        run(CalendarTools::createEvent(),
            args(R"({"title":"Viagem","start":"2026-11-04","end":"2026-11-05","all_day":true})")),
        QStringLiteral("Evento criado"));

    const auto after = snapshot();
    for (const auto& [path, digest] : before)
        EXPECT_EQ(after.at(path), digest) << qPrintable(path);
    EXPECT_EQ(after.size(), before.size() + 2);

    const QString listed = run(CalendarTools::listEvents(),
                               args(R"({"start":"2026-11-03T00:00:00-03:00","end":"2026-11-07"})"));
    const QDateTime dentist(QDate(2026, 11, 3), QTime(14, 0), QTimeZone("America/Sao_Paulo"));
    EXPECT_TRUE(listed.contains(
        QStringLiteral("- Dentista: %1 @ Centro [Trabalho · Projetos]").arg(when(dentist, false))))
        << qPrintable(listed);
    // Two whole days: the 4th and the 5th.
    EXPECT_EQ(listed.count(QStringLiteral("- Viagem: ")), 1);
    const auto twoDays = CalendarStore().events(QDate(2026, 11, 5).startOfDay().addSecs(3600),
                                                QDate(2026, 11, 5).startOfDay().addSecs(7200));
    ASSERT_EQ(twoDays.size(), 1);
    EXPECT_TRUE(twoDays[0].allDay);

    // Without an end the event lasts one hour.
    const auto dentistEvents = CalendarStore().events(dentist, dentist.addSecs(60));
    ASSERT_EQ(dentistEvents.size(), 1);
    EXPECT_EQ(dentistEvents[0].start.secsTo(dentistEvents[0].end), 3600);
}

TEST_F(CalendarFolder, RemindersWithAndWithoutDueDates) {
    EXPECT_EQ(run(CalendarTools::listReminders(), JSONValue::object({})),
              QStringLiteral("Nenhum lembrete pendente."));
    write("Tarefas/done.ics", "BEGIN:VCALENDAR\nBEGIN:VTODO\nSUMMARY:Feito\nSTATUS:COMPLETED\n"
                              "CREATED:20260101T000000Z\nEND:VTODO\nEND:VCALENDAR\n");
    write("Tarefas/old.ics",
          "BEGIN:VCALENDAR\nBEGIN:VTODO\nSUMMARY:Pagar conta\n"
          "CREATED:20260101T000000Z\nDUE;VALUE=DATE:20261020\nEND:VTODO\nEND:VCALENDAR\n");
    EXPECT_EQ(run(CalendarTools::createReminder(),
                  args(R"({"title":"Ligar para o dentista","due":"2026-10-21T09:30:00-03:00"})")),
              QStringLiteral("Lembrete criado"));
    EXPECT_EQ(run(CalendarTools::createReminder(),
                  args(R"({"title":"Comprar pão","due":"amanhã cedo"})")),
              QStringLiteral("Lembrete criado"));

    const QDateTime due(QDate(2026, 10, 21), QTime(9, 30), QTimeZone("America/Sao_Paulo"));
    // Oldest first; the two made in the same second may come in either order.
    QStringList lines = run(CalendarTools::listReminders(), JSONValue::object({})).split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(
        lines.takeFirst(),
        QStringLiteral("- Pagar conta (%1)").arg(when(QDate(2026, 10, 20).startOfDay(), false)));
    lines.sort();
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("- Comprar pão"),
                           QStringLiteral("- Ligar para o dentista (%1)").arg(when(due, false))}));

    // The reminder with a readable date carries an alarm; the other has neither.
    QStringList contents;
    QDirIterator it(m_root + QStringLiteral("/Tarefas"), {QStringLiteral("*.ics")});
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        contents.append(QString::fromUtf8(f.readAll()));
    }
    for (const QString& c : contents) {
        if (c.contains(QStringLiteral("SUMMARY:Ligar"))) {
            EXPECT_TRUE(c.contains(QStringLiteral("BEGIN:VALARM")));
            EXPECT_TRUE(c.contains(QStringLiteral("TRIGGER;VALUE=DATE-TIME:20261021T123000Z")));
        }
        if (c.contains(QStringLiteral("SUMMARY:Comprar"))) {
            EXPECT_FALSE(c.contains(QStringLiteral("DUE")) || c.contains(QStringLiteral("VALARM")));
        }
    }

    for (int i = 0; i < 30; ++i)
        ASSERT_FALSE(
            CalendarStore().add(CalendarStore::NewReminder{QStringLiteral("R%1").arg(i), {}, {}}));
    EXPECT_EQ(run(CalendarTools::listReminders(), JSONValue::object({})).split(u'\n').size(), 30);
}

TEST_F(CalendarFolder, Errors) {
    struct Case {
        AgentTool tool;
        const char* arguments;
        QString message;
    };
    const Case cases[] = {
        {CalendarTools::createReminder(), R"({"title":"  "})",
         QStringLiteral("Faltou o campo \"title\".")},
        {CalendarTools::createEvent(), R"({"title":"X"})",
         QStringLiteral("Faltou o campo \"start\".")},
        {CalendarTools::createEvent(), R"({"title":"X","start":"sexta"})",
         QStringLiteral("Data de início inválida.")},
        {CalendarTools::createEvent(), R"({"start":"2026-10-01"})",
         QStringLiteral("Faltou o campo \"title\".")},
        {CalendarTools::listEvents(), R"({"start":"2026-10-01"})",
         QStringLiteral("Faltou o campo \"end\".")},
        {CalendarTools::listEvents(), R"({"start":"2026-10-01","end":"2026-13-45"})",
         QStringLiteral("Datas inválidas.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(toolError(c.tool, args(c.arguments)), c.message);
    }
    EXPECT_TRUE(snapshot().empty()); // nothing saved

    // No access (the folder cannot exist) is reported before the arguments are read.
    QDir(m_root).removeRecursively();
    QFile blocker(m_root);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(toolError(CalendarTools::listEvents(), JSONValue::object({})),
              QStringLiteral("Sem acesso ao Calendário."));
    EXPECT_EQ(toolError(CalendarTools::createReminder(), JSONValue::object({})),
              QStringLiteral("Sem acesso aos Lembretes."));
    QFile::remove(m_root);
}

TEST(CalendarPreviews, ShowWhatWillBeSaved) {
    const auto start = *AgentDate::parse(QStringLiteral("2026-10-05T10:00:00-03:00"));
    const auto p = CalendarTools::createEvent().preview(args(
        R"({"title":"Almoço","start":"2026-10-05T10:00:00-03:00","end":"2026-10-05T11:30:00-03:00","location":"Centro","notes":"n"})"));
    EXPECT_EQ(p.title, QStringLiteral("Criar evento"));
    EXPECT_EQ(p.details,
              QStringList({QStringLiteral("Almoço"),
                           AgentDate::describe(start, false) + QStringLiteral(" – ") +
                               start.addSecs(5400).toLocalTime().toString(QStringLiteral("HH:mm")),
                           QStringLiteral("📍 Centro")}));
    const auto allDay = CalendarTools::createEvent().preview(
        args(R"({"title":"Folga","start":"2026-10-05","end":"2026-10-06","all_day":true})"));
    EXPECT_EQ(
        allDay.details,
        QStringList({QStringLiteral("Folga"),
                     AgentDate::describe(*AgentDate::parse(QStringLiteral("2026-10-05")), true)}));
    const auto reminder =
        CalendarTools::createReminder().preview(args(R"({"due":"x","notes":"pão"})"));
    EXPECT_EQ(reminder.details, QStringList({QString(), QStringLiteral("pão")}));
    EXPECT_EQ(CalendarTools::listReminders().parameters.compactString(),
              QStringLiteral(R"({"properties":{},"required":[],"type":"object"})"));
}

// The one card formatter of the two tools that save something, as the confirmation shows it.
TEST(CalendarPreviews, CardsInTheLocalTimeZone) {
    const auto local = [](int hour, int minute) {
        return QDateTime(QDate(2026, 10, 5), QTime(hour, minute)).toString(Qt::ISODate);
    };
    const QDateTime start(QDate(2026, 10, 5), QTime(10, 0));
    const QString when = AgentDate::describe(start, false);
    const QString wholeDay = AgentDate::describe(start, true);
    struct Case {
        const char* what;
        QString arguments;
        QStringList details;
    };
    const Case events[] = {
        {"start, end and place",
         QString(R"({"title":"Almoço","start":"%1","end":"%2","location":"Centro"})")
             .arg(local(10, 0), local(11, 30)),
         {"Almoço", when + " – 11:30", "📍 Centro"}},
        {"all day hides the end",
         QString(R"({"title":"Folga","start":"%1","end":"%2","all_day":true})")
             .arg(local(10, 0), local(11, 30)),
         {"Folga", wholeDay}},
        {"all day as text is not all day",
         QString(R"({"title":"Folga","start":"%1","end":"%2","all_day":"true"})")
             .arg(local(10, 0), local(11, 30)),
         {"Folga", when + " – 11:30"}},
        {"unreadable end",
         QString(R"({"title":"X","start":"%1","end":"logo"})").arg(local(10, 0)),
         {"X", when}},
        {"unreadable start keeps the place",
         R"({"title":"X","start":"sexta","end":"sábado","location":"Sala 2"})",
         {"X", "📍 Sala 2"}},
        {"nothing but a title", R"({"title":"X"})", {"X"}},
    };
    for (const Case& c : events) {
        SCOPED_TRACE(c.what);
        const ActionPreview card = CalendarTools::eventCard(args(c.arguments.toUtf8().constData()));
        EXPECT_EQ(card.symbol, "calendar.badge.plus");
        EXPECT_EQ(card.title, "Criar evento");
        EXPECT_EQ(card.details, c.details);
    }

    const ActionPreview reminder = CalendarTools::reminderCard(
        args(QString(R"({"title":"Ligar","due":"%1","notes":"pão"})").arg(local(10, 0)).toUtf8()));
    EXPECT_EQ(reminder.title, "Criar lembrete");
    EXPECT_EQ(reminder.details, QStringList({"Ligar", when, "pão"}));
    // The catalogue shows the same cards.
    EXPECT_EQ(CalendarTools::createEvent().preview(args(R"({"title":"X"})")).details,
              QStringList{"X"});
}
