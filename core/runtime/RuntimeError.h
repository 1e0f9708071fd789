#pragma once

#include <exception>
#include <string>

namespace korval {

// The one error type of the program: a run-time error with the platform's
// error number and text. Conversions, the store and the cells raise it; an
// event handler either handles it (the options dialog's OK) or lets the
// handler guard report it and end the program.
class RuntimeError : public std::exception {
public:
    enum Number : int {
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        DivisionByZero = 11,
        TypeMismatch = 13,
        InternalError = 51,
        PathFileAccessError = 75,
        InvalidPropertyValue = 380,
    };

    // text is UTF-8, as every text inside the rules.
    RuntimeError(int number, std::string text);

    static RuntimeError typeMismatch();
    static RuntimeError overflow();
    static RuntimeError divisionByZero();
    static RuntimeError subscriptOutOfRange();
    static RuntimeError invalidPropertyValue();
    // An allocation that failed, or one past a limit the program sets itself.
    static RuntimeError outOfMemory();
    // A settings store that cannot be written; detail says which and why.
    static RuntimeError fileAccess(const std::string& detail);

    int number() const { return number_; }
    const std::string& text() const { return text_; }
    // "Run-time error '13':\n\nType mismatch", the form of the platform's message.
    std::string message() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    std::string text_;
    std::string what_;
};

} // namespace korval
