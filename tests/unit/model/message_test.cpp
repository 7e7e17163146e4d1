#include "model/message.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

constexpr Text kRange = {"Test", "%1 is out of range; allowed %2 to %3"};
constexpr Text kFile = {"Test", "cannot read %1: %2"};
constexpr Text kReason = {"Test", "not a regular file"};

// A catalogue that marks every translated piece, so the test sees which parts were translated.
std::string bracketed(const char* /*context*/, const std::string& source) {
    return "[" + source + "]";
}

TEST(Message, FillsNumberedPlaceholdersOnceWithWhatIsPutIn) {
    const struct {
        Message message;
        std::string english;
        std::string translated;
    } cases[] = {
        // Arguments are never read as placeholders, nor are '%' signs in them.
        {Message(kRange, "%1", "%2%", "100%"), "%1 is out of range; allowed %2% to 100%",
         "[%1 is out of range; allowed %2% to 100%]"},
        // A nested message is translated with the one around it; a plain text never is.
        {Message(kFile, "/tmp/%1.chg", kReason), "cannot read /tmp/%1.chg: not a regular file",
         "[cannot read /tmp/%1.chg: [not a regular file]]"},
        {Message::plain("%1 stays"), "%1 stays", "%1 stays"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.message.english(), c.english);
        EXPECT_EQ(c.message.render(bracketed), c.translated);
    }
    EXPECT_EQ(fillPlaceholders("%0 %10 %", {"x"}), "%0 x0 %");
}

} // namespace
} // namespace torvane
