#include "RuntimeError.h"

namespace korval {

RuntimeError::RuntimeError(int number, std::string text)
    : number_(number), text_(std::move(text)), what_(message())
{
}

RuntimeError RuntimeError::typeMismatch() { return {TypeMismatch, "Type mismatch"}; }
RuntimeError RuntimeError::overflow() { return {Overflow, "Overflow"}; }
RuntimeError RuntimeError::divisionByZero() { return {DivisionByZero, "Division by zero"}; }
RuntimeError RuntimeError::subscriptOutOfRange() { return {SubscriptOutOfRange, "Subscript out of range"}; }
RuntimeError RuntimeError::invalidPropertyValue() { return {InvalidPropertyValue, "Invalid property value"}; }
RuntimeError RuntimeError::outOfMemory() { return {OutOfMemory, "Out of memory"}; }
RuntimeError RuntimeError::fileAccess(const std::string& detail)
{
    return {PathFileAccessError, "Path/File access error: " + detail};
}

std::string RuntimeError::message() const
{
    return "Run-time error '" + std::to_string(number_) + "':\n\n" + text_;
}

} // namespace korval
