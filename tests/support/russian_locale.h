#pragma once

#include <QLocale>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

// The user's regional settings of a Russian desktop for one test: Qt's default locale and
// the C library's numeric locale (decimal comma in printf), as Qt sets it from the
// environment at start. Both are put back afterwards.
class RussianLocale {
public:
    RussianLocale() : savedNumeric_(std::setlocale(LC_NUMERIC, nullptr))
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
            ADD_FAILURE() << "locale ru_RU.UTF-8 is missing: scripts/install-deps.sh generates it";
        char printed[16];
        std::snprintf(printed, sizeof printed, "%.1f", 1.5);
        EXPECT_STREQ(printed, "1,5") << "printf must write a decimal comma under this locale";
    }
    ~RussianLocale()
    {
        std::setlocale(LC_NUMERIC, savedNumeric_.c_str());
        QLocale::setDefault(QLocale::c());
    }
    RussianLocale(const RussianLocale&) = delete;
    RussianLocale& operator=(const RussianLocale&) = delete;

    static std::string numericLocale() { return std::setlocale(LC_NUMERIC, nullptr); }

private:
    std::string savedNumeric_;
};
