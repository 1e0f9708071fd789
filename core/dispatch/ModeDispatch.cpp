#include "ModeDispatch.h"

#include "core/runtime/Text.h"
#include "core/runtime/Utf8.h"

#include <charconv>
#include <string>

namespace korval {

std::string_view withoutPadding(std::string_view argument)
{
    return withoutSpaces(argument);
}

Mode selectMode(std::string_view argumentString)
{
    std::string key = lowerAscii(utf8::leftmost(withoutPadding(argumentString), 2));
    if (key.size() == 2 && key.front() == '-')
        key.front() = '/';

    if (key == "/p")
        return Mode::Preview;
    if (key == "/c")
        return Mode::Configure;
    if (key == "/s")
        return Mode::Saver;
    if (key == "/a")
        return Mode::PasswordChange;
    if (key.empty())
        return Mode::Configure;
    return Mode::Unknown;
}

std::optional<std::uint64_t> hostWindowOf(std::string_view argumentString)
{
    const std::string_view argument = withoutPadding(argumentString);
    if (argument.size() < 3)
        return std::nullopt;
    std::string_view rest = argument.substr(2);
    if (rest.front() == ':')
        rest.remove_prefix(1);
    rest = withoutSpaces(rest);
    if (rest.empty() || rest.front() < '0' || rest.front() > '9')
        return std::nullopt;
    std::uint64_t window = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), window);
    if (error != std::errc() || end != rest.data() + rest.size())
        return std::nullopt;
    return window;
}

} // namespace korval
