#include "devices/eds_lexer.h"

#include "devices/eds_values.h"

namespace torvane {
namespace {

bool isCommentStart(char c) {
    return c == ';' || c == '#';
}

class Lexer {
public:
    Lexer(DeviceNotes& notes) : notes_(notes) {}

    void line(std::string_view text, int number) {
        text = trimmed(text);
        if (text.empty() || isCommentStart(text.front())) {
            return;
        }
        if (text.front() == '[') {
            section(text.substr(1), number);
            return;
        }
        const std::size_t eq = text.find('=');
        const std::string_view name =
            eq == std::string_view::npos ? "" : trimmed(text.substr(0, eq));
        if (current_ == kNone) {
            notes_.add(number, DeviceText::TextOutsideSection, {shortened(text)});
            return;
        }
        if (name.empty()) {
            notes_.add(number, DeviceText::NotAKey, {shortened(text)});
            return;
        }
        EdsSection& s = sections_[current_];
        std::string lower = lowerAscii(name);
        if (const auto it = s.keyIndex.find(lower); it != s.keyIndex.end()) {
            notes_.add(
                number, DeviceText::DuplicateKey,
                {shortened(s.name), shortened(name), std::to_string(s.keys[it->second].line)});
            return;
        }
        s.keyIndex.emplace(std::move(lower), s.keys.size());
        s.keys.push_back({std::string(name), std::string(trimmed(text.substr(eq + 1))), number});
    }

    std::vector<EdsSection> take() { return std::move(sections_); }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void section(std::string_view rest, int number) {
        const std::size_t close = rest.find(']');
        std::string_view name = trimmed(rest.substr(0, close));
        if (close == std::string_view::npos) {
            notes_.add(number, DeviceText::UnclosedSection, {shortened(name)});
        } else if (const std::string_view after = trimmed(rest.substr(close + 1));
                   !after.empty() && !isCommentStart(after.front())) {
            notes_.add(number, DeviceText::TextAfterSection, {shortened(name), shortened(after)});
        }
        std::string lower = lowerAscii(name);
        if (const auto it = byName_.find(lower); it != byName_.end()) {
            current_ = it->second;
            notes_.add(number, DeviceText::DuplicateSection,
                       {shortened(name), std::to_string(sections_[current_].line)});
            return;
        }
        current_ = sections_.size();
        byName_.emplace(lower, current_);
        EdsSection s;
        s.name = std::string(name);
        s.lower = std::move(lower);
        s.line = number;
        sections_.push_back(std::move(s));
    }

    DeviceNotes& notes_;
    std::vector<EdsSection> sections_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::size_t current_ = kNone;
};

} // namespace

const EdsKey* EdsSection::find(const std::string& lowerName) const {
    const auto it = keyIndex.find(lowerName);
    return it == keyIndex.end() ? nullptr : &keys[it->second];
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

void forEachLine(std::string_view text, const std::function<void(std::string_view, int)>& line) {
    int number = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\n' && text[i] != '\r') {
            continue;
        }
        line(text.substr(start, i - start), number);
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
        ++number;
    }
}

std::vector<EdsSection> lexEds(std::string_view utf8, DeviceNotes& notes) {
    Lexer lexer(notes);
    forEachLine(utf8, [&](std::string_view text, int number) { lexer.line(text, number); });
    return lexer.take();
}

} // namespace torvane
