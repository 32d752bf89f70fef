#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// The one error type of the program: a message for the user, UTF-8 encoded. Only the window's
// message dispatch catches it.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text for a system error number: 2, 3, 4 and 5 by name, any other as "I/O error N".
std::string IoErrorMessage(std::uint32_t systemError);

[[noreturn]] void RaiseIoError(std::uint32_t systemError);
