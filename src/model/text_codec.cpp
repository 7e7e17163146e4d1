#include "model/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#if __has_include(<iconv.h>)
#include <iconv.h>
#define TORVANE_HAVE_ICONV 1
#endif

namespace torvane {
namespace {

constexpr char kCodePage[] = "GB18030";
constexpr char kUtf8[] = "UTF-8";
constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

bool sameName(const char* a, std::string_view b) {
    const std::string_view av(a);
    return av.size() == b.size() && std::equal(av.begin(), av.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Length of the UTF-8 sequence at the start of `s` judged by its lead and continuation bytes
// alone; 1 for a stray byte, so a malformed sequence is skipped a byte at a time.
std::size_t utf8Length(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    const std::size_t n = lead >= 0xF0 && lead < 0xF8   ? 4
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                                                        : 1;
    if (n > s.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < n; ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return n;
}

// Stands before a byte that did not decode; iconv's UTF-8 never holds it.
constexpr char kUndecodedMark = '\xFF';

enum class OnBad { Fail, ReplaceByte, MarkByte, ReplaceUtf8Char };

#ifdef TORVANE_HAVE_ICONV
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    // iconv_open reports failure as (iconv_t)-1.
    bool ok() const { return reinterpret_cast<std::intptr_t>(cd_) != -1; }

    // Converts `in`; what the converter refuses is handled by `onBad` with `replacement`.
    // False only for OnBad::Fail meeting such input.
    bool run(std::string_view in, OnBad onBad, std::string_view replacement, std::string& out) {
        std::string copy(in);
        char* inPtr = copy.data();
        std::size_t inLeft = copy.size();
        char buf[256];
        while (inLeft > 0) {
            char* outPtr = buf;
            std::size_t outLeft = sizeof buf;
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buf, static_cast<std::size_t>(outPtr - buf));
            if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) {
                continue;
            }
            if (onBad == OnBad::Fail) {
                return false;
            }
            const std::size_t skip =
                onBad == OnBad::ReplaceUtf8Char ? utf8Length(std::string_view(inPtr, inLeft)) : 1;
            out += replacement;
            if (onBad == OnBad::MarkByte) {
                out += *inPtr;
            }
            inPtr += skip;
            inLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return true;
    }

private:
    iconv_t cd_;
};
#endif

// GB18030 to UTF-8; nullopt only for OnBad::Fail meeting a byte that does not decode.
std::optional<std::string> toUtf8(std::string_view bytes, OnBad onBad) {
    if (isAscii(bytes)) {
        return std::string(bytes);
    }
    const std::string_view replacement =
        onBad == OnBad::MarkByte ? std::string_view(&kUndecodedMark, 1) : kReplacementUtf8;
    std::string out;
#ifdef TORVANE_HAVE_ICONV
    Converter cd(kUtf8, kCodePage);
    if (cd.ok()) {
        if (!cd.run(bytes, onBad, replacement, out)) {
            return std::nullopt;
        }
        return out;
    }
#endif
    // Without a converter only ASCII decodes.
    if (onBad == OnBad::Fail) {
        return std::nullopt;
    }
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
        } else {
            out += replacement;
            if (onBad == OnBad::MarkByte) {
                out += c;
            }
        }
    }
    return out;
}

// The code point of the well-formed UTF-8 sequence of `n` bytes at the start of `s`.
char32_t codePoint(std::string_view s, std::size_t n) {
    static constexpr unsigned char kLeadBits[] = {0, 0xFF, 0x1F, 0x0F, 0x07};
    char32_t cp = static_cast<unsigned char>(s[0]) & kLeadBits[n];
    for (std::size_t i = 1; i < n; ++i) {
        cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    }
    return cp;
}

void appendEscape(std::string& out, unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[(value >> 4) & 0x0F];
    out += kDigits[value & 0x0F];
}

// printableText; with `marked`, kUndecodedMark and the byte behind it are one undecoded byte.
std::string printable(std::string_view text, bool marked, Backslash backslash) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (marked && c == kUndecodedMark && i + 1 < text.size()) {
            appendEscape(out, static_cast<unsigned char>(text[i + 1]));
            i += 2;
            continue;
        }
        const std::size_t n = utf8Length(text.substr(i));
        const char32_t cp = codePoint(text.substr(i), n);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\\' && backslash == Backslash::Escape) {
            out += "\\\\";
        } else if ((n == 1 && (cp < 0x20 || cp >= 0x7F)) || (n == 2 && cp >= 0x80 && cp <= 0x9F)) {
            // A lone byte of 0x80 and above is no UTF-8; on a terminal of an 8-bit code page
            // the C1 range would act as control characters too.
            appendEscape(out, static_cast<unsigned>(cp));
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

// UTF-8 to `codeset`, '?' for each character it cannot hold.
std::string fromUtf8(std::string_view utf8, const char* codeset) {
    if (isAscii(utf8)) {
        return std::string(utf8);
    }
    std::string out;
#ifdef TORVANE_HAVE_ICONV
    Converter cd(codeset, kUtf8);
    if (cd.ok()) {
        cd.run(utf8, OnBad::ReplaceUtf8Char, "?", out);
        return out;
    }
#else
    (void)codeset;
#endif
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = utf8Length(utf8.substr(i));
        out += static_cast<unsigned char>(utf8[i]) < 0x80 ? utf8[i] : '?';
        i += n;
    }
    return out;
}

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 when there is none: no
// overlong form, no surrogate, nothing above U+10FFFF.
std::size_t wellFormedUtf8Length(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t n = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (n > s.size() || b(1) < low || b(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return n;
}

} // namespace

std::string configTextToUtf8(std::string_view bytes) {
    return *toUtf8(bytes, OnBad::ReplaceByte);
}

std::optional<std::string> decodeConfigText(std::string_view bytes) {
    return toUtf8(bytes, OnBad::Fail);
}

std::string printableText(std::string_view utf8, Backslash backslash) {
    return printable(utf8, false, backslash);
}

std::string printableConfigText(std::string_view bytes) {
    return printable(*toUtf8(bytes, OnBad::MarkByte), true, Backslash::Escape);
}

std::string configTextFromUtf8(std::string_view utf8) {
    return fromUtf8(utf8, kCodePage);
}

std::string configTextForTerminal(std::string_view bytes, const char* codeset) {
    std::string utf8 = printableConfigText(bytes);
    if (codeset == nullptr || sameName(codeset, kUtf8) || sameName(codeset, "UTF8")) {
        return utf8;
    }
    return fromUtf8(utf8, codeset);
}

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = wellFormedUtf8Length(bytes.substr(i));
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    if (isAscii(bytes)) {
        return std::string(bytes);
    }
    std::string out;
#ifdef TORVANE_HAVE_ICONV
    Converter cd(kUtf8, "WINDOWS-1252");
    if (cd.ok()) {
        cd.run(bytes, OnBad::ReplaceByte, kReplacementUtf8, out);
        return out;
    }
#endif
    // Without a converter: ISO 8859-1, which Windows-1252 extends, and U+FFFD for the rest.
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else if (u < 0xA0) {
            out += kReplacementUtf8;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

} // namespace torvane
