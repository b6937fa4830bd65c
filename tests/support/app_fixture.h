#pragma once

#include "fake_seams.h"
#include "qt_printers.h"
#include "seed.h"
#include "test_database.h"

#include <gtest/gtest.h>
#include <memory>

class QAbstractItemModel;
class QWidget;

// The texts of one column of a grid's model, top to bottom, as the user reads them.
QStringList columnTexts(const QAbstractItemModel& model, int column = 0);

// Types the text into the widget key by key, as the user would; unlike QTest::keyClicks
// it also types letters beyond ASCII (Cyrillic).
void typeText(QWidget* widget, const QString& text);

// A test of the whole program: its own database, the seams replaced, and every window
// created by the real start-up against that database.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Prepares the test's database before the program starts on it.
    virtual void prepareDatabase() {}

    // Types the code into the login window and presses "Вход"; the journal window is
    // shown (through the modal seam) and `whileShown` acts on it.
    void logIn(const QString& code, std::function<void()> whileShown = {});

    // The messages shown so far, as "caption: text".
    QStringList messageTexts() const;

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Seed> seed;
    std::unique_ptr<FakeSeams> fakes;
};
