#pragma once

#include <optional>
#include <string>

// What the window asks of the person in front of it: the folder dialog, the message boxes and
// the waiting messages. The program uses the system's; tests answer for the person.
class Desktop {
public:
    virtual ~Desktop() = default;
    // The modal "Select Directory" dialog opened at `start`: the chosen folder after OK, no value
    // after Cancel.
    virtual std::optional<std::wstring> SelectDirectory(const std::wstring& start) = 0;
    // A modal box titled "Error" with the error icon and one OK; afterwards the waiting messages
    // are handled.
    virtual void ShowErrorMessage(const std::wstring& text) = 0;
    // The application's error box, for an error that escaped a handler: `text` is shown as is.
    virtual void ShowApplicationError(const std::wstring& text) = 0;
    // Lets the window handle the messages already waiting, such as repaints.
    virtual void ProcessMessages() = 0;
};
