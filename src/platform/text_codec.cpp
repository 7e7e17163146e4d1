#include "platform/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace torvane::platform {

namespace {
constexpr const char* kCodec = "GB18030";

bool isAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}
} // namespace

QString fromConfigText(std::string_view bytes) {
    // Nearly every text is ASCII (numbers, "Enable", "Node-5"); skip the converter for those.
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QStringDecoder decoder(kCodec);
    if (!decoder.isValid()) {
        return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toConfigText(const QString& text) {
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        const QByteArray latin = text.toLatin1();
        return {latin.constData(), static_cast<size_t>(latin.size())};
    }
    QStringEncoder encoder(kCodec);
    if (!encoder.isValid()) {
        const QByteArray local = text.toLocal8Bit();
        return {local.constData(), static_cast<size_t>(local.size())};
    }
    QByteArray bytes = encoder.encode(text);
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

std::string toConfigText(const QString& text, const std::string& original) {
    if (text == fromConfigText(original)) {
        return original;
    }
    return toConfigText(text);
}

} // namespace torvane::platform
