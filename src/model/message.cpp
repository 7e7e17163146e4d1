#include "model/message.h"

#include <cstring>
#include <ostream>

namespace torvane {

Message Message::plain(std::string text) {
    Message m;
    m.source_ = std::move(text);
    return m;
}

std::string Message::render(const Translate& translate) const {
    if (context_ == nullptr) {
        return source_;
    }
    std::string pattern = translate ? translate(context_, source_) : source_;
    if (args_.empty()) {
        return pattern;
    }
    std::vector<std::string> values;
    values.reserve(args_.size());
    for (const Message& a : args_) {
        values.push_back(a.render(translate));
    }
    return fillPlaceholders(pattern, values);
}

bool Message::operator==(const Message& other) const {
    const bool sameContext = context_ == nullptr || other.context_ == nullptr
                                 ? context_ == other.context_
                                 : std::strcmp(context_, other.context_) == 0;
    return sameContext && source_ == other.source_ && args_ == other.args_;
}

Message joined(const std::vector<Message>& items, Text glue) {
    if (items.empty()) {
        return {};
    }
    Message all = items.front();
    for (std::size_t i = 1; i < items.size(); ++i) {
        all = Message(glue, std::move(all), items[i]);
    }
    return all;
}

std::string fillPlaceholders(std::string_view pattern, const std::vector<std::string>& values) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto n = static_cast<std::size_t>(next - '0');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n <= values.size()) {
            out += values[n - 1];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const Message& message) {
    return out << message.english();
}

} // namespace torvane
