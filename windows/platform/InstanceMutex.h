#pragma once

namespace korval::windows {

// One saver or dialog at a time in the user's session: a named mutex, taken
// when the program starts a mode that shows a window and held until the
// process ends (the system gives it back then, however the process ends).
// A start by the system's idle timer while the saver runs finds it taken.
class InstanceMutex {
public:
    InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    // True when another process of the program held the mutex first.
    bool anotherInstance() const { return anotherInstance_; }

private:
    void* handle_ = nullptr; // never closed: it goes with the process
    bool anotherInstance_ = false;
};

} // namespace korval::windows
