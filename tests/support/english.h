#pragma once

// Tests compare the core's messages with their English text, as the command line prints it.

#include "model/message.h"

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

inline bool operator==(const Message& message, std::string_view english) {
    return message.english() == english;
}

inline std::vector<std::string> english(const std::vector<Message>& messages) {
    std::vector<std::string> texts;
    texts.reserve(messages.size());
    for (const Message& m : messages) {
        texts.push_back(m.english());
    }
    return texts;
}

} // namespace torvane
