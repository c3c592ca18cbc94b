// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/circle_search_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "app/calculation.h"
#include "calc/result_records.h"
#include "model/encoding.h"
#include "model/project_file.h"
#include "support/comma_decimal_locale.h"
#include "support/example_project.h"
#include "support/memory_message_sink.h"
#include "support/project_builder.h"
#include "support/sanitizers.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

struct SearchRun {
    SearchSummary summary;
    std::string stream;
    std::vector<std::string> lines;
};

SearchRun search(const Project& project, int decimals = 3, int threads = 1) {
    auto valid = validCircleSearch(project.circleSearch);
    EXPECT_TRUE(valid.ok());
    Result<Section> prepared = prepareSection(project);
    EXPECT_TRUE(prepared.ok()) << prepared.error().text;
    std::ostringstream out;
    SearchOptions options;
    options.decimals = decimals;
    options.threads = threads;
    SearchRun run;
    run.summary = runCircleSearch(*prepared, *valid, options, out, nullptr);
    run.stream = out.str();
    std::istringstream in(run.stream);
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_TRUE(line.ends_with('\r'));
        line.pop_back();
        run.lines.push_back(line);
    }
    return run;
}

test::ProjectBuilder slope() {
    test::ProjectBuilder builder;
    builder.block(20, {{10, 10, 1}}).block(40, {{10, 20, 1}}).block(80, {{20, 20, 1}});
    builder.layer(1, 18, 20, 10);
    return builder;
}

TEST(CircleSearchRun, SingleCircleRecordSequence) {
    test::ProjectBuilder builder = slope();
    builder.singleCircle(25, 35, 27);
    SearchRun run = search(builder.project());
    ASSERT_TRUE(run.summary.critical.has_value());
    const CircleResult& c = *run.summary.critical;
    const std::vector<std::string> expected = {
        "$$CSV",
        "018,Rx,Ry,R,MD,(MC)  +,(Mt-Me)  =,MR,FS",
        firstCircleRecord(25, 35, 27, c.md, c.mc, c.mtMe, c.mr, c.fs, 3),
        minimumRecord(25, 35, 27, c.fs, 3),
        std::string(separatorRecord()),
        "$$ANS",
        minimumRecord(25, 35, 27, c.fs, 3),
        endPointsRecord(c.p1x, c.p1y, c.p2x, c.p2y),
        "$$END"};
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(run.lines[2].substr(run.lines[2].size() - 10, 2), ", ");
}

TEST(CircleSearchRun, DecimalsOneAndSevenAreClamped) {
    test::ProjectBuilder builder = slope();
    builder.singleCircle(25, 35, 27);
    EXPECT_EQ(search(builder.project(), 1).stream, search(builder.project(), 2).stream);
    EXPECT_EQ(search(builder.project(), 7).stream, search(builder.project(), 4).stream);
    EXPECT_NE(search(builder.project(), 2).stream, search(builder.project(), 4).stream);
}

TEST(CircleSearchRun, CentreWhoseRadiiAreAllFilteredWritesA073) {
    test::ProjectBuilder builder = slope();
    builder.search(5, 12, 5, 12, 1, 1, 12, 12, 1);  // the only radius is 0
    SearchRun run = search(builder.project());
    EXPECT_EQ(run.lines[2], "073,    5.00,   12.00,    ---");
    EXPECT_EQ(toDisplayText(run.lines[4]), "901,解はありません。データが不適当。");
    EXPECT_FALSE(run.summary.critical.has_value());
}

TEST(CircleSearchRun, NegativeAndTinyRadiiAreFiltered) {
    test::ProjectBuilder builder = slope();
    builder.search(25, 12, 25, 12, 1, 1, 14, 9, 1);  // radii −2 … 3
    SearchRun run = search(builder.project());
    EXPECT_EQ(run.summary.radiiTried, 6);
    EXPECT_EQ(run.summary.circlesEvaluated, 3);
}

TEST(CircleSearchRun, LimitPointsFilterRadii) {
    test::ProjectBuilder builder = slope();
    builder.search(25, 35, 25, 35, 1, 1, 13, 5, 1);  // radii 22 … 30
    builder.limitPoint(10, 25, 10);                  // must reach Y = 10: R ≥ 25
    builder.limitPoint(14, 25, 7);                   // must not pass Y = 7: R ≤ 28
    SearchRun run = search(builder.project());
    EXPECT_EQ(run.summary.circlesEvaluated, 4);
}

TEST(CircleSearchRun, EqualMinimaKeepTheFirstCentreInSearchOrder) {
    // Flat ground under shaking: circles that differ only by a shift along X have the same Fs,
    // to the last bit when every abscissa stays within one binary order of magnitude.
    test::ProjectBuilder builder;
    builder.block(256, {{8, 8, 1}}).layer(1, 16, 10, 8).kh(0.25);
    builder.search(80, 16, 112, 16, 32, 1, 6, 6, 1);
    Section section = prepareSection(builder.project()).value();
    struct : RecordWriter {
        void writeRecord(std::string_view) override {}
    } ignore;
    EvaluationScratch scratch;
    const double left = evaluateCircle(section, 80, 16, 10, ignore, scratch).result.fs;
    ASSERT_EQ(evaluateCircle(section, 112, 16, 10, ignore, scratch).result.fs, left);

    SearchRun run = search(builder.project());
    ASSERT_TRUE(run.summary.critical.has_value());
    EXPECT_EQ(run.summary.critical->fs, left);
    EXPECT_EQ(run.summary.critical->rx, 80.0);
    EXPECT_EQ(run.lines[2].substr(0, 12), "028,   80.00");
}

TEST(CircleSearchRun, FsBetween9999And9999Point99IsNotWrittenButCanBeTheBest) {
    test::ProjectBuilder builder = slope();
    builder.singleCircle(25, 35, 27);
    SearchRun plain = search(builder.project());
    const CircleResult& c = *plain.summary.critical;
    // A load that brings MD down to MR / 9999.5.
    const double wanted = c.mr / 9999.5;
    const double x = 30.0;
    builder.load(x, (wanted - c.md) / (x - 25.0));
    SearchRun run = search(builder.project());
    EXPECT_EQ(run.summary.circlesWritten, 0);
    EXPECT_TRUE(run.lines[2].starts_with("073,"));
    EXPECT_TRUE(run.lines[4].starts_with("901,"));
}

TEST(CircleSearchRun, MissingLayerIsReportedOncePerRowWithTheLastNumber) {
    test::ProjectBuilder builder;
    builder.block(20, {{6, 6, 4}, {10, 10, 1}}).block(40, {{6, 6, 5}, {10, 10, 1}});
    builder.layer(1, 18, 30, 5);
    builder.search(10, 14, 30, 15, 10, 1, 5, 2, 1);  // two rows of three centres
    SearchRun run = search(builder.project());
    std::vector<std::string> layerRecords;
    for (const std::string& line : run.lines) {
        if (line.starts_with("802")) layerRecords.push_back(toDisplayText(line));
    }
    ASSERT_EQ(layerRecords.size(), 2u);
    EXPECT_EQ(layerRecords[0], "802, ,データが見つかりませんでした 層No.5");
    std::size_t first802 = 0;
    while (!run.lines[first802].starts_with("802")) ++first802;
    EXPECT_TRUE(run.lines[first802 - 1].starts_with("055") ||
                run.lines[first802 - 1].starts_with("073"));
}

TEST(CircleSearchRun, StreamIsTheSameForAnyThreadCount) {
    Project example = test::exampleProject();
    SearchRun one = search(example, 3, 1);
    EXPECT_EQ(search(example, 3, 2).stream, one.stream);
    EXPECT_EQ(search(example, 3, 3).stream, one.stream);

    // A grid with several tasks per row and many rows.
    test::ProjectBuilder builder = slope();
    builder.search(10, 22, 39.9, 25, 0.1, 1, 9, 2, 0.35);
    SearchRun large = search(builder.project(), 4, 1);
    EXPECT_GT(large.summary.circlesWritten, 10000);
    EXPECT_EQ(search(builder.project(), 4, 2).stream, large.stream);
    EXPECT_EQ(search(builder.project(), 4, 3).stream, large.stream);
}

/// Centres of 5,501 radii each, which the run splits into several tasks per centre. The
/// limit point keeps the smallest 2,750 radii from being evaluated, so the first task of each
/// centre writes no circle and a later one writes the centre's 028 record.
test::ProjectBuilder centresOfManyRadii() {
    test::ProjectBuilder builder = slope();
    builder.search(20, 35, 30, 36, 5, 1, 12, 2, 10.0 / 5500);
    builder.limitPoint(10, 25, 35 - 28);  // R ≥ 28 from the centres of column two
    return builder;
}

TEST(CircleSearchRun, CentresOfManyRadiiGiveTheSameStreamForAnyThreadCount) {
    test::ProjectBuilder builder = centresOfManyRadii();
    SearchRun one = search(builder.project(), 3, 1);
    ASSERT_GT(one.summary.circlesWritten, 6 * 2000);
    EXPECT_EQ(search(builder.project(), 3, 2).stream, one.stream);
    EXPECT_EQ(search(builder.project(), 3, 3).stream, one.stream);
}

TEST(CircleSearchRun, CentreSplitIntoRunsOfRadiiKeepsOne028ItsOtherCirclesAndItsMinimum) {
    test::ProjectBuilder builder = centresOfManyRadii();
    SearchRun run = search(builder.project(), 3, 2);

    // Every radius tried exactly once, across the boundaries between tasks.
    std::int64_t radiiPerCentre = 0;
    const double step = 10.0 / 5500;
    for (double r = 35 - 12.0; r <= 35 - 2.0 + kEpsilon; r += step) ++radiiPerCentre;
    EXPECT_EQ(radiiPerCentre, 5501);
    EXPECT_EQ(run.summary.radiiTried, 6 * radiiPerCentre);

    std::int64_t circleRecords = 0;
    int centres = 0;
    std::vector<std::string> centre;
    for (const std::string& line : run.lines) {
        if (line.starts_with("801")) break;  // the overall minimum follows
        if (line.starts_with("028") || line.starts_with("038")) {
            ++circleRecords;
            centre.push_back(line);
            continue;
        }
        if (!line.starts_with("055")) continue;
        ++centres;
        ASSERT_FALSE(centre.empty()) << line;
        EXPECT_TRUE(centre.front().starts_with("028,")) << centre.front();
        for (std::size_t i = 1; i < centre.size(); ++i) {
            ASSERT_TRUE(centre[i].starts_with("038,")) << i << ": " << centre[i];
        }
        const std::string rxRy = centre.front().substr(4, 17);
        EXPECT_NE(line.find(rxRy.substr(0, 8) + ",Ry:" + rxRy.substr(9)), std::string::npos)
            << line << " after " << centre.front();
        double lowest = 1e9;
        for (const std::string& record : centre) {
            lowest = std::min(lowest, std::stod(record.substr(record.rfind(',') + 1)));
        }
        EXPECT_DOUBLE_EQ(std::stod(line.substr(line.rfind('=') + 1)), lowest) << line;
        centre.clear();
    }
    EXPECT_EQ(centres, 6);
    EXPECT_EQ(circleRecords, run.summary.circlesWritten);
}

/// Counts the bytes written and asks the run to stop once there are this many.
class StopAfterBytes : public std::streambuf {
  public:
    StopAfterBytes(std::streamsize bytes, std::stop_source& source)
        : left_(bytes), source_(source) {}

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        left_ -= n;
        if (left_ <= 0) source_.request_stop();
        return n;
    }
    int overflow(int c) override { return xsputn(nullptr, 1) == 1 ? c : traits_type::eof(); }

  private:
    std::streamsize left_;
    std::stop_source& source_;
};

/// Runs the first 30 MB of records of a centre of ten million radii on two threads, in a
/// process limited to 512 MB of address space, and exits with 0 when it got there.
[[noreturn]] void runTheFirstPartOfTenMillionRadiiIn512Megabytes() {
    const rlim_t bytes = rlim_t{512} << 20;
    const rlimit limit{bytes, bytes};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(3);
    // A deep section, so that every radius gives a circle with a record.
    test::ProjectBuilder builder;
    builder.block(300, {{200, 200, 1}}).block(500, {{200, 300, 1}}).block(1000, {{300, 300, 1}});
    builder.layer(1, 18, 20, 10);
    builder.search(500, 400, 500, 400, 1, 1, 290, 190, 0.00001);
    auto valid = validCircleSearch(builder.project().circleSearch);
    if (!valid || valid->radiiPerCentre() < 10'000'000) std::_Exit(4);
    std::stop_source source;
    StopAfterBytes buffer(30 << 20, source);
    std::ostream out(&buffer);
    SearchOptions options;
    options.threads = 2;
    options.stop = source.get_token();
    SearchSummary summary =
        runCircleSearch(prepareSection(builder.project()).value(), *valid, options, out, nullptr);
    std::_Exit(!summary.completed && summary.circlesWritten > 300'000 ? 0 : 5);
}

TEST(CircleSearchRunDeathTest, CentreOfTenMillionRadiiRunsWithinHalfAGigabyteOfAddressSpace) {
    if (test::kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer reserves terabytes";
    if (test::kThreadSanitizer) GTEST_SKIP() << "ThreadSanitizer reserves terabytes";
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, not a fork of this one
    EXPECT_EXIT(runTheFirstPartOfTenMillionRadiiIn512Megabytes(), ::testing::ExitedWithCode(0), "");
}

TEST(CircleSearchRun, ExampleRecordsEqualTheGoldenStreamByteForByte) {
    const std::string golden = test::readBytes(DORVO_TEST_DATA_DIR "/embankment-records.golden");
    ASSERT_FALSE(golden.empty());
    Project example = test::exampleProject();
    EXPECT_EQ(search(example, 3, 1).stream, golden);
    EXPECT_EQ(search(example, 3, 2).stream, golden);
}

TEST(CircleSearchRun, RecordsKeepTheirDecimalPointUnderACommaDecimalLocale) {
    const std::string golden = test::readBytes(DORVO_TEST_DATA_DIR "/embankment-records.golden");
    Project example = test::exampleProject();
    CommaDecimalLocale locale;
    ASSERT_TRUE(locale.active());
    EXPECT_EQ(search(example, 3, 2).stream, golden);
}

/// Requests a stop at the first report of progress and counts the reports.
class StopAtFirstReport : public SearchProgress {
  public:
    explicit StopAtFirstReport(std::stop_source& source) : source_(source) {}
    void report(int position, std::string_view status) override {
        ++reports;
        lastPosition = position;
        lastStatus = status;
        if (status != "START") source_.request_stop();
    }
    int reports = 0;
    int lastPosition = -1;
    std::string lastStatus;

  private:
    std::stop_source& source_;
};

TEST(CircleSearchRun, MillionCentreGridReportsProgressAndStopsSoonWhenCancelled) {
    test::ProjectBuilder builder = slope();
    builder.search(0, 21, 99.9, 120.9, 0.1, 0.1, 12, 12, 1);
    auto valid = validCircleSearch(builder.project().circleSearch);
    ASSERT_TRUE(valid.ok());
    Section section = prepareSection(builder.project()).value();
    for (int threads : {1, 2}) {
        std::stop_source source;
        StopAtFirstReport progress(source);
        SearchOptions options;
        options.threads = threads;
        options.stop = source.get_token();
        std::ostringstream out;
        SearchSummary summary = runCircleSearch(section, *valid, options, out, &progress);
        EXPECT_FALSE(summary.completed);
        EXPECT_LT(summary.radiiTried, 200000);
        EXPECT_GE(progress.reports, 2);
        EXPECT_TRUE(progress.lastStatus.starts_with("R(")) << progress.lastStatus;
        EXPECT_EQ(out.str().find("$$END"), std::string::npos);
    }
}

/// A stream buffer that takes `capacity` bytes and refuses every byte after them, as a disk
/// that fills up does.
class FillingDisk : public std::streambuf {
  public:
    explicit FillingDisk(std::streamsize capacity) : left_(capacity) {}
    std::streamsize refused = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        const std::streamsize taken = std::min(n, left_);
        left_ -= taken;
        refused += n - taken;
        return taken;
    }
    int overflow(int c) override {
        if (left_ == 0) {
            ++refused;
            return traits_type::eof();
        }
        --left_;
        return c;
    }

  private:
    std::streamsize left_;
};

TEST(CircleSearchRun, FullDiskStopsTheRunAtTheFirstRefusedWrite) {
    test::ProjectBuilder builder = slope();
    builder.search(10, 22, 39.9, 121.9, 0.1, 0.1, 9, 2, 0.5);  // 300 × 1000 centres × 15 radii
    auto valid = validCircleSearch(builder.project().circleSearch);
    ASSERT_TRUE(valid.ok());
    const std::int64_t total = valid->columns() * valid->rows() * valid->radiiPerCentre();
    Section section = prepareSection(builder.project()).value();
    for (int threads : {1, 3}) {
        FillingDisk disk(100'000);
        std::ostream out(&disk);
        SearchOptions options;
        options.threads = threads;
        SearchSummary summary = runCircleSearch(section, *valid, options, out, nullptr);
        EXPECT_TRUE(summary.writeFailed);
        EXPECT_FALSE(summary.completed);
        EXPECT_LT(summary.radiiTried, total / 100) << threads << " threads";
        EXPECT_LT(disk.refused, 1'000'000);
    }
}

TEST(Calculation, CancelledRunLeavesTheOldResultsAndCriticalCircle) {
    test::TempFolder folder;
    const auto resultsFile = folder.path() / "Tmp1.tmp";
    test::writeBytes(resultsFile, "$$CSV\r\nold\r\n");
    test::ProjectBuilder builder = slope();
    builder.search(0, 21, 99.9, 120.9, 0.1, 0.1, 12, 12, 1);
    builder.project().critical.radius = 7.0;
    std::stop_source source;
    StopAtFirstReport progress(source);
    SearchOptions options;
    options.stop = source.get_token();
    test::MemoryMessageSink messages;
    const auto calculation =
        messages.valueOf(calculateInto(resultsFile, builder.project(), options, &progress));
    ASSERT_TRUE(calculation);
    EXPECT_EQ(calculation->outcome, CalculationOutcome::Cancelled);
    EXPECT_EQ(test::readBytes(resultsFile), "$$CSV\r\nold\r\n");
    EXPECT_EQ(builder.project().critical.radius, 7.0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(Calculation, CompletedRunReplacesTheResultsAndStoresTheCriticalCircle) {
    test::TempFolder folder;
    const auto resultsFile = folder.path() / "Tmp1.tmp";
    Project example = test::exampleProject();
    test::MemoryMessageSink messages;
    const auto calculation = messages.valueOf(calculateInto(resultsFile, example, {}, nullptr));
    ASSERT_TRUE(calculation);
    ASSERT_EQ(calculation->outcome, CalculationOutcome::Completed);
    EXPECT_GT(example.critical.radius, 0.0);
    EXPECT_EQ(example.critical.centreX, calculation->summary.critical->rx);
    std::string stream = test::readBytes(resultsFile);
    EXPECT_TRUE(stream.starts_with("$$CSV\r\n018,"));
    EXPECT_TRUE(stream.ends_with("\r\n$$END\r\n"));
}

TEST(Calculation, InvalidInputIsReportedWithoutTouchingTheResults) {
    test::TempFolder folder;
    const auto resultsFile = folder.path() / "Tmp1.tmp";
    test::ProjectBuilder builder = slope();
    builder.search(0, 21, 10, 22, 0, 1, 12, 12, 1);
    test::MemoryMessageSink messages;
    EXPECT_FALSE(checkCalculationInput(builder.project()));
    EXPECT_FALSE(messages.take(calculateInto(resultsFile, builder.project(), {}, nullptr)));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "中心点のデータが不適当です");
    EXPECT_FALSE(std::filesystem::exists(resultsFile));

    builder.search(0, 21, 10, 22, 1, 1, 12, 12, 1);
    builder.project().layer(1).phi = "1e999";
    messages.messages.clear();
    messages.take(calculateInto(resultsFile, builder.project(), {}, nullptr));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "層データの数値が不適当です (層No.1)");
}

TEST(Calculation, ResultsFileThatCannotBeWrittenIsReported) {
    test::TempFolder folder;
    test::ProjectBuilder builder = slope();
    builder.singleCircle(25, 35, 27);
    test::MemoryMessageSink messages;
    const auto resultsFile = folder.path() / "missing" / "Tmp1.tmp";
    const auto input = checkCalculationInput(builder.project());
    ASSERT_TRUE(input);
    EXPECT_FALSE(messages.take(calculateInto(resultsFile, builder.project(), *input, {}, nullptr)));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].id, MessageId::CannotCreateWorkFile);
}

/// Keeps how far through its rows a search last reported it was.
class LastRowReported : public SearchProgress {
  public:
    void report(int position, std::string_view status) override {
        if (status != "START") percent = position;
    }
    int percent = 0;
};

TEST(Calculation, FullDiskStopsTheRunAndIsReportedAsAFailedWrite) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    test::ProjectBuilder builder = slope();
    builder.search(10, 22, 39.9, 121.9, 0.1, 0.1, 9, 2, 0.5);
    builder.project().critical.radius = 7.0;
    test::MemoryMessageSink messages;
    LastRowReported progress;
    EXPECT_FALSE(messages.take(calculateInto("/dev/full", builder.project(), {}, &progress)));
    EXPECT_LT(progress.percent, 10);  // of 1000 rows, a full run of which reports up to 100
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, cannotWriteMessage("/dev/full").text);
    EXPECT_EQ(builder.project().critical.radius, 7.0);
}

TEST(CircleSearchRun, AwkwardSectionsNeverPutNanInARecord) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 150; ++round) {
        test::ProjectBuilder builder;
        double x = 0.0;
        const int blocks = 1 + round % 4;
        for (int b = 0; b < blocks; ++b) {
            x += round % 7 == 0 ? 0.0 : 2.0 + 20.0 * unit(random);  // some blocks of width 0
            const double low = 10.0 * unit(random);
            builder.block(x, {{low, 10.0 * unit(random), 2},  // lines may cross each other
                              {5.0 + 15.0 * unit(random), 5.0 + 15.0 * unit(random), 1}});
        }
        builder.layer(1, 18, round % 5 == 0 ? 90.0 : 35.0 * unit(random), 10 * unit(random));
        builder.layer(2, 19, 20, 5).loadLayer(round % 3).kh(0.2 * unit(random));
        builder.load(x * unit(random), 50);
        builder.search(0, 5, x, 30, x / 6 + 0.5, 5, 20, -2, 0.7);
        SearchRun run = search(builder.project());
        for (const std::string& line : run.lines) {
            ASSERT_EQ(line.find("nan"), std::string::npos) << line;
            ASSERT_EQ(line.find("inf"), std::string::npos) << line;
        }
        EXPECT_TRUE(run.lines.back() == "$$END");
    }
}

}  // namespace
}  // namespace dorvo
