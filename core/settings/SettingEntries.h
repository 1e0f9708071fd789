#pragma once

#include <string>
#include <utility>
#include <vector>

namespace korval {

// Values that go to the store together, under one section: each key with its
// text (UTF-8), in the order they are written.
using SettingEntries = std::vector<std::pair<std::string, std::string>>;

} // namespace korval
