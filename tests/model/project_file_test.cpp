// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/project_file.h"

#include <gtest/gtest.h>

#include <functional>

#include <random>
#include <sstream>

#include "support/memory_message_sink.h"

namespace dorvo {
namespace {

struct Loaded {
    Project project;
    std::string results;
    test::MemoryMessageSink messages;
};

std::unique_ptr<Loaded> load(std::string_view bytes) {
    auto loaded = std::make_unique<Loaded>();
    std::istringstream in{std::string(bytes)};
    std::ostringstream results;
    EXPECT_TRUE(readProjectLines(loaded->project, in, results, "test.slw", loaded->messages));
    loaded->results = results.str();
    return loaded;
}

std::string save(const Project& project, const std::string& results = {}) {
    std::ostringstream out;
    std::istringstream resultsIn(results);
    EXPECT_TRUE(writeProject(project, out, results.empty() ? nullptr : &resultsIn));
    return out.str();
}

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) (text += line) += "\r\n";
    return text;
}

// A complete project as writeProject writes it: Shift-JIS headings, all five tables and a
// results section.
std::string sampleFile() {
    std::string text = crlf({"$$_DORVO301", "$$Z"});
    for (int line = 1; line <= kSettingsLines; ++line) {
        if (line == 21) {
            text += "\x89\x7e\x8c\xca\x82\xb7\x82\xd7\x82\xe8\r\n";  // 円弧すべり
        } else if (line == 3) {
            text += "400\r\n";
        } else if (line == 8) {
            text += "40.5\r\n";
        } else {
            text += line == 18 ? "1\r\n" : "\r\n";
        }
    }
    text += crlf({"$$B", "10,0,0,1,5,5,2", "20.5,0,0,1,5,8,2", "$$S", "1,18,18,30,10,0,0x00ff00,",
                  "2,19,19,25,5,0.5,0x0000ff,x", "$$F", "12,30", ",", ",", "15,-4", ",", "$$R"});
    for (int line = 1; line <= kCircleSearchLines; ++line) text += std::to_string(line) + "\r\n";
    text += crlf({"$$CSV", "018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS",
                  "055,FS min.,( Rx:    1.00,Ry:    2.00,R:    3.00 ),=   1.250",
                  "802, ,\x83\x66\x81\x5b\x83\x5e layer", "$$END"});
    return text;
}

TEST(ProjectFile, HeaderOnlyLoadsAsAnEmptyProject) {
    auto loaded = load("$$_DORVO301\r\n");
    EXPECT_EQ(loaded->project.settings.line(18), "1");
    EXPECT_EQ(blockCount(loaded->project), 0);
    EXPECT_EQ(loaded->results, "");
}

TEST(ProjectFile, SavedFileLoadsAndSavesBackByteForByte) {
    const std::string file = sampleFile();
    auto loaded = load(file);
    EXPECT_EQ(loaded->project.block(2).x, "20.5");
    EXPECT_EQ(loaded->project.block(2).lines, "0,0,1,5,8,2");
    EXPECT_EQ(loaded->project.layer(2).spare, "x");
    EXPECT_EQ(loaded->project.load(4).force, "-4");
    EXPECT_EQ(readFigureWindow(loaded->project.settings).scaleX, 400);
    EXPECT_DOUBLE_EQ(readFigureWindow(loaded->project.settings).figureTopY, 40.5);
    EXPECT_EQ(save(loaded->project, loaded->results), file);
    EXPECT_TRUE(loaded->messages.messages.empty());
}

TEST(ProjectFile, SectionLayoutOfASavedProject) {
    Project project;
    for (int row = 1; row <= 3; ++row) project.block(row).x = std::to_string(row * 10);
    project.layer(1).layerNo = "1";
    project.layer(2).layerNo = "2";
    project.layer(4).layerNo = "4";  // after an absent row: no lookup reaches it
    std::string text = save(project);
    EXPECT_NE(text.find("$$B\r\n10,\r\n20,\r\n30,\r\n$$S\r\n1,,,,,,,\r\n2,,,,,,,\r\n$$F\r\n"
                        ",\r\n,\r\n,\r\n,\r\n,\r\n$$R\r\n"),
              std::string::npos);
}

TEST(ProjectFile, BlockRowsAfterAnEmptyXAreSavedBecauseTheCalculationUsesThem) {
    Project project;
    project.block(1).x = "10";
    project.block(1).lines = "0,0,1,5,5,1";
    project.block(3).lines = "kept,as,typed";  // an absent row: a block without lines
    project.block(4).x = "40";
    project.block(4).lines = "0,0,1,6,6,1";
    project.block(6).lines = "after the last X: unused";
    ensureDefaults(project);
    const std::string text = save(project);
    EXPECT_NE(text.find("$$B\r\n10,0,0,1,5,5,1\r\n,\r\n,kept,as,typed\r\n40,0,0,1,6,6,1\r\n$$S"),
              std::string::npos)
        << text;

    auto loaded = load(text);
    EXPECT_EQ(calculationBlockRows(loaded->project), 4);
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(loaded->project.block(row).x, project.block(row).x) << row;
        EXPECT_EQ(loaded->project.block(row).lines, project.block(row).lines) << row;
    }
    EXPECT_EQ(save(loaded->project), text);
}

TEST(ProjectFile, WriterRefusesAnUnstorableCellInABlockRowAfterAGap) {
    Project project;
    project.block(1).x = "10";
    project.block(2).lines = "0,0,\"1\"";
    project.block(3).x = "30";
    std::ostringstream out;
    Status written = writeProject(project, out, nullptr);
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.error().text.starts_with("ブロック 2 の線")) << written.error().text;
}

TEST(ProjectFile, CellsAlreadyEndingWithCrLfAreNotGivenAnother) {
    Project project;
    project.settings.line(1) = "0\r\n";
    project.circleSearch.line(1) = "5\r\n";
    std::string text = save(project);
    EXPECT_NE(text.find("$$Z\r\n0\r\n\r\n"), std::string::npos);
    EXPECT_NE(text.find("$$R\r\n5\r\n\r\n"), std::string::npos);
}

TEST(ProjectFile, ExtraRowsBeyondATableAreIgnoredAndReportedOnceAtTheirFirstLine) {
    std::string text = "$$Z\r\n";
    for (int line = 1; line <= 75; ++line) text += "s" + std::to_string(line) + "\r\n";
    text += "$$B\r\n";
    for (int row = 1; row <= 45; ++row) text += std::to_string(row) + ",0,0,1\r\n";
    auto loaded = load(text);
    EXPECT_EQ(loaded->project.settings.line(70), "s70");
    EXPECT_EQ(blockCount(loaded->project), 40);
    EXPECT_EQ(loaded->project.block(40).x, "40");
    ASSERT_EQ(loaded->messages.messages.size(), 2u);
    EXPECT_EQ(withPlace(loaded->messages.messages[0]),
              "test.slw:72: 設定は 70 行までです。71 行目からは読み込みません");
    EXPECT_EQ(withPlace(loaded->messages.messages[1]),
              "test.slw:118: ブロックは 40 行までです。41 行目からは読み込みません");
}

TEST(ProjectFile, EveryKindOfLineTheTablesCannotHoldIsReportedWithItsPlace) {
    std::string text = crlf({"$$_DORVO301", "$$S"});
    for (int row = 1; row <= 22; ++row) text += std::to_string(row) + ",18,18,30,10,0,0x0,\r\n";
    text += crlf({"$$S", "1,18,18,30,10,0,0x0,spare,ninth", "2,18,18,30,10,0,0x0,,ninth"});
    text += crlf({"$$F", "1,1", "2,2", "3,3", "4,4", "5,5", "6,6", "$$R"});
    for (int line = 1; line <= 16; ++line) text += "1\r\n";
    text += crlf({"$$Q", "lost", "$$?"});
    auto loaded = load(text);
    std::vector<std::string> reports;
    for (const Message& message : loaded->messages.messages) reports.push_back(withPlace(message));
    const std::vector<std::string> expected = {
        "test.slw:23: 層データは 20 行までです。21 行目からは読み込みません",
        "test.slw:26: 層データの値は 8 個までです。9 個目からは読み込みません",
        "test.slw:34: 集中荷重は 5 行までです。6 行目からは読み込みません",
        "test.slw:51: 円弧データは 15 行までです。16 行目からは読み込みません",
        "test.slw:52: 不明なセクションです。次のセクションまで読み込みません"};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(loaded->project.layer(1).spare, "spare");
}

TEST(ProjectFile, TextBetweenTheHeaderAndTheFirstSectionIsReportedOnceAndBlankLinesNot) {
    auto loaded = load(crlf({"$$_DORVO301", "", "note", "more", "$$Z", "0"}));
    EXPECT_EQ(loaded->project.settings.line(1), "0");
    ASSERT_EQ(loaded->messages.messages.size(), 1u);
    EXPECT_EQ(withPlace(loaded->messages.messages[0]),
              "test.slw:3: 先頭行と最初のセクションの間の行は読み込みません");
    // A short first line names no section: what follows it is lost the same way.
    loaded = load(crlf({"$$", "x", "$$Z", "0"}));
    ASSERT_EQ(loaded->messages.messages.size(), 1u);
    EXPECT_EQ(loaded->messages.messages[0].where, "test.slw:2");
    EXPECT_TRUE(load(crlf({"$$_DORVO301", "  ", "$$Z", "0"}))->messages.messages.empty());
}

TEST(ProjectFile, DollarsInAHeadingStartAnUnknownSection) {
    auto loaded = load("$$Z\r\n0\r\n1$$9\r\nafter\r\n$$B\r\n5,1,1,1\r\n");
    EXPECT_EQ(loaded->project.settings.line(1), "0");
    EXPECT_EQ(loaded->project.settings.line(2), "");
    EXPECT_EQ(loaded->project.settings.line(3), "");
    EXPECT_EQ(loaded->project.block(1).x, "5");
    ASSERT_EQ(loaded->messages.messages.size(), 1u);
    EXPECT_EQ(loaded->messages.messages[0].where, "test.slw:3");
}

TEST(ProjectFile, ShortSectionLineChangesNothing) {
    auto loaded = load("$$Z\r\na\r\n$$\r\nb\r\n");
    EXPECT_EQ(loaded->project.settings.line(1), "a");
    EXPECT_EQ(loaded->project.settings.line(2), "b");
}

TEST(ProjectFile, BlockRowWithoutCommaHasEmptyLines) {
    auto loaded = load("$$B\r\n12.5\r\n");
    EXPECT_EQ(loaded->project.block(1).x, "12.5");
    EXPECT_EQ(loaded->project.block(1).lines, "");
}

TEST(ProjectFile, FileWhoseFirstLineIsNoSectionLineIsNotAProjectFile) {
    for (const std::string& bytes :
         {std::string(), std::string("7,2,2,2\r\n$$S\r\n1,18\r\n"),
          std::string("\r\n$$_DORVO301\r\n"), std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)}) {
        std::istringstream in(bytes);
        std::ostringstream results;
        Project project;
        project.block(1).x = "5";
        test::MemoryMessageSink messages;
        Status read = readProjectLines(project, in, results, "p.slw", messages);
        ASSERT_FALSE(read.ok()) << bytes;
        EXPECT_EQ(read.error().text, "プロジェクトファイルではありません\n( p.slw )");
        EXPECT_EQ(blockCount(project), 0);
        EXPECT_EQ(project.settings.line(18), "1");  // as after New, so it saves and loads back
        EXPECT_EQ(results.str(), "");
    }
    EXPECT_TRUE(load("$$\r\n").get());  // any section line will do, even a bare "$$"
}

TEST(ProjectFile, LinesLongerThan497BytesAreReadWhole) {
    std::string lines;
    for (int i = 0; i < 20; ++i) lines += "12345.678901234,12345.678901234,1,";
    lines.pop_back();
    ASSERT_GT(lines.size(), 600u);
    auto loaded = load("$$B\r\n100," + lines + "\r\n200,0,0,1\r\n");
    EXPECT_EQ(blockCount(loaded->project), 2);
    EXPECT_EQ(loaded->project.block(1).lines, lines);
    EXPECT_EQ(loaded->project.block(2).x, "200");
}

TEST(ProjectFile, LayerLineBeyondTheCsvLimitReportsTooManyCsv) {
    std::string line = "1," + std::string(3000, '9');
    auto loaded = load("$$S\r\n" + line + "\r\n");
    ASSERT_FALSE(loaded->messages.messages.empty());
    EXPECT_EQ(loaded->messages.messages.front().text, "too many csv");
    EXPECT_EQ(loaded->messages.messages.front().where, "test.slw:2");
    EXPECT_EQ(loaded->project.layer(1).layerNo, "1");
}

TEST(ProjectFile, BlockLinesLongerThanTheSplitterReadsAreReportedAtLoad) {
    auto loaded = load("$$B\r\n10," + std::string(2601, '1') + "\r\n");
    ASSERT_EQ(loaded->messages.messages.size(), 1u);
    EXPECT_EQ(withPlace(loaded->messages.messages[0]), "test.slw:2: too many csv");
}

TEST(ProjectFile, WriterRefusesACellThatWouldNotReadBackAndWritesNothing) {
    const std::vector<std::pair<std::function<void(Project&)>, std::string>> cases = {
        {[](Project& p) { p.settings.line(21) = "断面$$図"; }, "設定 21 行目：「$$」"},
        {[](Project& p) { p.circleSearch.line(3) = "1\n2"; }, "円弧データ 3 行目：改行"},
        {[](Project& p) { p.block(1).x = "1\"2"; }, "ブロック 1 の X：カンマ"},
        {[](Project& p) { p.block(1).lines = "0,0,\"1\""; }, "ブロック 1 の線：引用符"},
        {[](Project& p) { p.layer(1).gamma1 = "18,5"; }, "層データ 1 行目：カンマ"},
        {[](Project& p) { p.block(1).lines = std::string(2600, '1'); }, "ブロック 1：1 行が"},
    };
    for (const auto& [spoil, expected] : cases) {
        Project project;
        project.block(1).x = "10";
        project.block(1).lines = "0,0,1";
        project.layer(1).layerNo = "1";
        spoil(project);
        std::ostringstream out;
        Status written = writeProject(project, out, nullptr);
        ASSERT_FALSE(written.ok()) << expected;
        EXPECT_TRUE(written.error().text.starts_with(expected)) << written.error().text;
        EXPECT_TRUE(out.str().empty());
    }
}

TEST(ProjectFile, ReadFailureIsReportedAsAFailedLoad) {
    std::istringstream in("$$B\r\n5,1,1,1\r\n");
    in.setstate(std::ios::badbit);
    std::ostringstream results;
    Project project;
    test::MemoryMessageSink messages;
    Status read = readProjectLines(project, in, results, "p.slw", messages);
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.error().text.find("p.slw"), std::string::npos);
}

TEST(ProjectFile, LfOnlyAndMissingFinalLineEndsLoadTheSame) {
    auto crlfLoaded = load("$$B\r\n5,1,1,1\r\n$$CSV\r\n$$END\r\n");
    auto lfLoaded = load("$$B\n5,1,1,1\n$$CSV\n$$END");
    EXPECT_EQ(lfLoaded->project.block(1).lines, "1,1,1");
    EXPECT_EQ(lfLoaded->results, "$$CSV\r\n$$END\r\n");
    EXPECT_EQ(crlfLoaded->results, lfLoaded->results);
}

TEST(ProjectFile, OlderResultsMarkerIsAccepted) {
    auto loaded = load("$$B\r\n5,1,1,1\r\n$$RSLT\r\n$$B\r\n9,9,9,9\r\n");
    EXPECT_EQ(blockCount(loaded->project), 1);
    EXPECT_EQ(loaded->results, "$$RSLT\r\n$$B\r\n9,9,9,9\r\n");
}

TEST(ProjectFile, TruncatedDoubleByteCharacterIsKeptAsBytes) {
    const std::string file = "$$Z\r\n\x96\r\n$$R\r\n\x82";
    auto loaded = load(file);
    EXPECT_EQ(loaded->project.settings.line(1), "\x96");
    EXPECT_EQ(loaded->project.circleSearch.line(1), "\x82");
}

TEST(ProjectFile, RandomBytesNeverCrash) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        int length = round * 37 % 4000;
        for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>(byte(random)));
        if (round % 3 == 0) bytes = "$$" + std::string(1, "ZBSFR"[round % 5]) + "\n" + bytes;
        std::istringstream in(bytes);
        std::ostringstream results;
        Project project;
        test::MemoryMessageSink messages;
        Status read = readProjectLines(project, in, results, "random", messages);
        EXPECT_EQ(read.ok(), bytes.substr(0, bytes.find('\n')).find("$$") != std::string::npos);
        EXPECT_LE(blockCount(project), kMaxBlocks);
    }
}

TEST(ProjectFile, HugeAndNonNumericCellsLoadAsText) {
    auto loaded = load("$$Z\r\n0\r\n\r\n1e999\r\nnan\r\n$$S\r\nabc,1\r\n1,nan,1e999\r\n");
    EXPECT_EQ(loaded->project.settings.line(3), "1e999");
    EXPECT_EQ(readFigureWindow(loaded->project.settings).scaleX, 1);
    EXPECT_EQ(loaded->project.settings.line(4), "nan");
    EXPECT_EQ(layerCount(loaded->project), 0);  // row 1's number is text: the table is empty
    EXPECT_EQ(loaded->project.layer(2).gamma1, "nan");
}

}  // namespace
}  // namespace dorvo
