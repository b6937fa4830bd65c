#include "app_fixture.h"

#include "app/journal_window.h"
#include "app/login_window.h"
#include "app/startup.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void AppFixture::SetUp()
{
    db = std::make_unique<TestDatabase>();
    seed = std::make_unique<Seed>(*db);
    fakes = std::make_unique<FakeSeams>();
    prepareDatabase();
    ASSERT_TRUE(createApplicationWindows(db->programArguments())) << messageTexts().join(QLatin1Char('\n')).toStdString();
}

void AppFixture::TearDown()
{
    destroyApplicationWindows();
    fakes.reset();
    seed.reset();
    db.reset();
}

void AppFixture::logIn(const QString& code, std::function<void()> whileShown)
{
    fakes->modalActions.push_back([whileShown](QDialog& dialog) {
        dialog.show();
        if (whileShown)
            whileShown();
        dialog.hide();
        return int(QDialog::Rejected);
    });
    Form23->Edit1->setText(code);
    Form23->Button1->click();
}

QStringList columnTexts(const QAbstractItemModel& model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

QStringList AppFixture::messageTexts() const { return fakes->messages.texts(); }
