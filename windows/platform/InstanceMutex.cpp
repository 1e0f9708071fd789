#include "InstanceMutex.h"

#include "Win32.h"

namespace korval::windows {

namespace {

// "Local\": the user's session, where the saver and its dialog run.
constexpr const wchar_t* kName = L"Local\\KORVAL-screen-saver-instance";

} // namespace

// A mutex that cannot be made at all (no memory, a name taken by another kind
// of object) stops nothing: the program runs as if it were alone.
InstanceMutex::InstanceMutex()
{
    handle_ = CreateMutexW(nullptr, TRUE, kName);
    anotherInstance_ = handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace korval::windows
