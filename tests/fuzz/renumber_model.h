#pragma once

#include <string>
#include <string_view>

// The renumbering rules stated as plainly as possible, whole-string, to check the streaming
// transform against: CRs vanish, the first Ctrl-Z ends the text, LF splits it into lines.
inline std::string RenumberModel(std::string_view input) {
    std::string text;
    for (const char c : input.substr(0, input.find('\x1a'))) {
        if (c != '\r')
            text += c;
    }
    std::string output;
    int area = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;

        std::string head = line.substr(0, 5);
        for (char& c : head) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        }
        if (line.size() > 5 && head == "[AREA") {
            std::string number = std::to_string(++area);
            while (number.size() < 3)
                number = "0" + number;
            line = "[Area." + number + "]";
        } else if (line.size() > 5 && head == "LAYER") {
            line = "Layer=" + std::to_string(area);
        }
        output += line + "\r\n";
    }
    return output;
}
