// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/encoding.h"

#include <gtest/gtest.h>

namespace dorvo {
namespace {

TEST(Encoding, ShiftJisRoundTripsThroughUtf8) {
    const std::string stored = "\x89\x7e\x8c\xca\x82\xb7\x82\xd7\x82\xe8 \x87\x40";  // 円弧すべり ①
    std::string display = toDisplayText(stored);
    EXPECT_EQ(display, "円弧すべり ①");
    EXPECT_EQ(toStoredText(display), stored);
}

TEST(Encoding, HalfWidthKatakanaAndTildeVariantsOfCodePage932) {
    EXPECT_EQ(toDisplayText("\xb7\xac\xdd\xbe\xd9"), "ｷｬﾝｾﾙ");
    EXPECT_EQ(toStoredText("～"), "\x81\x60");
}

TEST(Encoding, InvalidStoredBytesShowAsReplacementCharacters) {
    EXPECT_EQ(toDisplayText("a\x82"), "a\xEF\xBF\xBD");
    EXPECT_EQ(toDisplayText("\xa0z"), "\xEF\xBF\xBDz");
}

TEST(Encoding, TextWithoutAShiftJisFormIsRefused) {
    EXPECT_EQ(toStoredText("😀"), std::nullopt);
    EXPECT_EQ(toStoredText("a\xff"), std::nullopt);  // not UTF-8 at all
    EXPECT_NE(notEncodableMessage("😀").find("😀"), std::string::npos);
}

}  // namespace
}  // namespace dorvo
