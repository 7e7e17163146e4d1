#include "platform/text_codec.h"

#include "model/text_codec.h"

namespace torvane::platform {

QString fromConfigText(std::string_view bytes) {
    return QString::fromStdString(configTextToUtf8(bytes));
}

std::string toConfigText(const QString& text) {
    return configTextFromUtf8(text.toStdString());
}

std::string toConfigText(const QString& text, const std::string& original) {
    if (text == fromConfigText(original)) {
        return original;
    }
    return toConfigText(text);
}

} // namespace torvane::platform
