#include "RuntimeError.h"

namespace korval {

RuntimeError::RuntimeError(int number, QString text)
    : number_(number), text_(std::move(text)), what_(message().toStdString())
{
}

RuntimeError RuntimeError::typeMismatch() { return {TypeMismatch, QStringLiteral("Type mismatch")}; }
RuntimeError RuntimeError::overflow() { return {Overflow, QStringLiteral("Overflow")}; }
RuntimeError RuntimeError::divisionByZero() { return {DivisionByZero, QStringLiteral("Division by zero")}; }
RuntimeError RuntimeError::subscriptOutOfRange()
{
    return {SubscriptOutOfRange, QStringLiteral("Subscript out of range")};
}
RuntimeError RuntimeError::invalidPropertyValue()
{
    return {InvalidPropertyValue, QStringLiteral("Invalid property value")};
}
RuntimeError RuntimeError::fileAccess(const QString& detail)
{
    return {PathFileAccessError, QStringLiteral("Path/File access error: ") + detail};
}

QString RuntimeError::message() const
{
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(number_).arg(text_);
}

} // namespace korval
