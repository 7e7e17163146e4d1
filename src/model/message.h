#pragma once

// A message as data: a marked text (its context and English source with numbered placeholders
// %1 to %9) and the arguments that fill the placeholders. An argument is a plain text (a path, a
// number, a configuration text decoded to UTF-8), shown as it is in every language, or another
// message, translated with this one. The command line shows message.english(); the desktop
// program renders it with its catalogue.

#include "model/translatable.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace torvane {

class Message {
public:
    Message() = default;
    // A marked text without arguments.
    Message(Text text) // NOLINT(google-explicit-constructor): a marked text is a message
        : context_(text.context), source_(text.source != nullptr ? text.source : "") {}
    // A marked text and the arguments of its placeholders, in order: messages, marked texts,
    // plain texts and integers.
    template <typename First, typename... Rest>
    Message(Text text, First&& first, Rest&&... rest) : Message(text) {
        args_.reserve(1 + sizeof...(Rest));
        args_.push_back(argument(std::forward<First>(first)));
        (args_.push_back(argument(std::forward<Rest>(rest))), ...);
    }

    // A marked text and the arguments of its placeholders, given as a list.
    Message(Text text, std::vector<Message> arguments) : Message(text) {
        args_ = std::move(arguments);
    }

    // A text shown as it is in every language; never searched for placeholders.
    static Message plain(std::string text);

    bool empty() const { return context_ == nullptr && source_.empty(); }
    // Null for a plain text.
    const char* context() const { return context_; }
    const std::string& source() const { return source_; }
    const std::vector<Message>& arguments() const { return args_; }

    // The translation of a marked source (UTF-8); the source itself when there is none.
    using Translate = std::function<std::string(const char* context, const std::string& source)>;
    // The text with each marked source translated, then its placeholders filled with the
    // arguments rendered the same way. An argument is put in as it is, never searched for
    // placeholders again; a placeholder without an argument stays as it is.
    std::string render(const Translate& translate) const;
    // The text in English.
    std::string english() const { return render(nullptr); }

    bool operator==(const Message& other) const;

private:
    static Message argument(Message m) { return m; }
    static Message argument(Text t) { return {t}; }
    static Message argument(std::string_view text) { return plain(std::string(text)); }
    // A number in decimal (not a bool or a character, which are no numbers).
    template <typename N,
              typename = std::enable_if_t<std::is_integral_v<N> && !std::is_same_v<N, bool> &&
                                          !std::is_same_v<N, char>>>
    static Message argument(N n) {
        return plain(std::to_string(n));
    }

    const char* context_ = nullptr;
    std::string source_;
    std::vector<Message> args_;
};

// `items` joined by `glue` ("%1, %2"), left to right; empty for no items.
Message joined(const std::vector<Message>& items, Text glue);

// `pattern` with each %1 to %9 replaced by the value of that number; a placeholder without a
// value and a '%' before anything else stay as they are.
std::string fillPlaceholders(std::string_view pattern, const std::vector<std::string>& values);

// The English text, for test output and logs.
std::ostream& operator<<(std::ostream& out, const Message& message);

} // namespace torvane
