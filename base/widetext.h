#pragma once

#include <string>
#include <string_view>

// Windows paths are UTF-16; messages are UTF-8. These convert between the two.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
