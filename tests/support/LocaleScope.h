#pragma once

#include <QLocale>
#include <QString>

namespace korval::testing {

// Sets the user's regional number format for one scope and restores the
// previous one when the scope ends, even when an assertion leaves it early.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : previous_(QLocale())
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~LocaleScope() { QLocale::setDefault(previous_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale previous_;
};

} // namespace korval::testing
