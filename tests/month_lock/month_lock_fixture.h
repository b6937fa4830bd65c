#pragma once

#include "app/startup.h"
#include "journal_fixture.h"
#include "list_test_support.h"

// What the database says to a write in the closed December 2026, closed today by the test's user.
inline QString decemberRefusal(TestDatabase& db)
{
    return QStringLiteral("Месяц декабрь 2026 закрыт (закрыл sys, %1). Исправления вносятся в открытом месяце.")
        .arg(db.scalar(QStringLiteral("select to_char(now(), 'DD.MM.YYYY')")));
}

// The texts of the error boxes shown so far.
inline QStringList errorTexts(const FakeSeams& fakes)
{
    QStringList texts;
    for (const ShownMessage& message : fakes.messages.shown)
        if (message.kind == ShownMessage::Kind::Error)
            texts << message.text;
    return texts;
}

// What the pay tables hold, to tell that a refused write changed nothing.
inline QString payData(TestDatabase& db)
{
    return db.scalar(QStringLiteral(
        "select md5(coalesce((select string_agg(s::text, ';' order by id) from accounts_dep.smena s), '')"
        " || coalesce((select string_agg(h::text, ';' order by id) from accounts_dep.h_tabel h), '')"
        " || coalesce((select string_agg(f::text, ';' order by id) from accounts_dep.fatigue f), ''))"));
}

// One write a user makes through a window.
struct WriteCase {
    const char* name;
    std::function<void()> act;
};

// Each write, made after the month was closed, is refused with the closed December's
// message and leaves the pay tables as they were.
inline void expectEachRefused(FakeSeams& fakes, TestDatabase& db, const std::vector<WriteCase>& cases)
{
    const QString before = payData(db);
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes.messages.shown.clear();
        c.act();
        EXPECT_EQ(errorTexts(fakes), QStringList{decemberRefusal(db)});
        EXPECT_EQ(payData(db), before);
    }
}

// The whole program on a database where the administrator's script is installed, on a
// Thursday of December 2026, with one worker, item and operation.
class MonthLockFixture : public JournalFixture {
protected:
    void prepareDatabase() override { db->installMonthLock(); }

    // The program ended and started again on the same database, for the next login.
    void startAgain()
    {
        destroyApplicationWindows();
        ASSERT_TRUE(createApplicationWindows(db->programArguments()));
    }

    void closeMonth(int year = 2026, int month = 12)
    {
        db->exec(QStringLiteral("select accounts_dep.close_month(%1, %2)").arg(year).arg(month));
    }

    QString refusal() { return decemberRefusal(*db); }
    QString serverToday() { return db->scalar(QStringLiteral("select to_char(now(), 'DD.MM.YYYY')")); }

    QString payData() { return ::payData(*db); }

    QStringList errorTexts() const { return ::errorTexts(*fakes); }
};
