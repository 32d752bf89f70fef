#include "base/error.h"

std::string IoErrorMessage(std::uint32_t systemError) {
    switch (systemError) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    default:
        return "I/O error " + std::to_string(systemError);
    }
}

void RaiseIoError(std::uint32_t systemError) {
    throw Error(IoErrorMessage(systemError));
}
