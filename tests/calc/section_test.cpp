// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/section.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/project_builder.h"

namespace dorvo {
namespace {

test::ProjectBuilder twoBlocks() {
    test::ProjectBuilder builder;
    builder.block(20, {{10, 10, 1}}).block(40, {{10, 20, 1}});
    builder.layer(1, 18, 30, 5).load(30, 10).kh(0.1).yc(5);
    return builder;
}

TEST(PrepareSection, ValuesThatWouldOverflowTheArithmeticAreRefusedLikeInfinity) {
    const std::vector<std::pair<std::function<std::string&(Project&)>, std::string>> places = {
        {[](Project& p) -> std::string& { return p.block(2).x; }, "ブロック2の座標が不適当です"},
        {[](Project& p) -> std::string& { return p.block(1).lines; },
         "ブロック1の座標が不適当です"},
        {[](Project& p) -> std::string& { return p.layer(1).gamma2; },
         "層データの数値が不適当です (層No.1)"},
        {[](Project& p) -> std::string& { return p.layer(1).phi; },
         "層データの数値が不適当です (層No.1)"},
        {[](Project& p) -> std::string& { return p.load(1).force; }, "集中荷重の数値が不適当です"},
        {[](Project& p) -> std::string& { return p.settings.line(settings_line::kYc); },
         "地震時水平震度 Kh または基準面 Yc が不適当です"},
    };
    for (const auto& [cellOf, message] : places) {
        for (const char* value : {"1e999", "1e308", "-1e308", "1.00001e7"}) {
            test::ProjectBuilder builder = twoBlocks();
            std::string& cell = cellOf(builder.project());
            cell = cell.find(',') == std::string::npos ? value : std::string(value) + ",10,1";
            Result<Section> prepared = prepareSection(builder.project());
            EXPECT_FALSE(prepared.ok()) << value << " for " << message;
            EXPECT_EQ(prepared.error().text, message) << value;
        }
    }
}

TEST(PrepareSection, ValuesUpToTheBoundAreAccepted) {
    test::ProjectBuilder builder = twoBlocks();
    builder.project().block(2).x = "1e7";
    builder.project().load(1).force = "-1e7";
    builder.project().layer(1).phi = "90";  // a large tangent, still finite
    Result<Section> prepared = prepareSection(builder.project());
    ASSERT_TRUE(prepared.ok()) << prepared.error().text;
    EXPECT_EQ(prepared->blocks[1].xr, 1e7);
}

}  // namespace
}  // namespace dorvo
