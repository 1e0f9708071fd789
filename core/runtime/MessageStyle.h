#pragma once

namespace korval {

// How a message box looks: the OK button alone, or the OK button with the
// icon of an error that ends the program or refuses the user's input.
enum class MessageStyle {
    Plain,
    Critical,
};

} // namespace korval
